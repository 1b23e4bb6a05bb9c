#include "afx_wnd.h"

#include <windows.h>
// (the common-control and dialog headers need windows.h first)

#include <commctrl.h>

#include <set>
#include <string>
#include <unordered_map>
#include <vector>

#include "afx_app.h"
#include "afx_menu.h"

namespace {

// The handle maps are never destroyed: the application object, a global,
// empties the temporary one (and so destroys windows) in its destructor during
// static destruction, after locals made static on first use are gone.
std::unordered_map<HWND, CWnd*>& PermanentMap() {
  static auto& map = *new std::unordered_map<HWND, CWnd*>;
  return map;
}

std::unordered_map<HWND, CWnd*>& TemporaryMap() {
  static auto& map = *new std::unordered_map<HWND, CWnd*>;
  return map;
}

MSG currentMessage = {};
CWnd* pendingCreate = nullptr;
// Objects that got their window since their hook was set. Creations nest (a
// frame makes its view in its own WM_CREATE), so this is per object.
std::set<CWnd*> attachedSinceHook;
HHOOK createHook = nullptr;

// An update request that only records whether the item would be enabled.
class CEnableProbe : public CCmdUI {
 public:
  BOOL m_bEnabled = TRUE;
  void Enable(BOOL bOn) override {
    m_bEnabled = bOn;
    m_bEnableChanged = TRUE;
  }
  void SetCheck(int) override {}
  void SetRadio(BOOL) override {}
  void SetText(LPCTSTR) override {}
};

bool IsInputMethodWindow(HWND hWnd) {
  char name[32] = {};
  ::GetClassNameA(hWnd, name, sizeof name);
  return lstrcmpiA(name, "IME") == 0 || lstrcmpiA(name, "MSCTFIME UI") == 0;
}

}  // namespace

IMPLEMENT_DYNCREATE(CWnd, CCmdTarget)
IMPLEMENT_DYNAMIC(CScrollBar, CWnd)

BEGIN_MESSAGE_MAP(CWnd, CCmdTarget)
ON_WM_DRAWITEM()
ON_WM_MEASUREITEM()
END_MESSAGE_MAP()

const MSG* AfxGetCurrentMessage() { return &currentMessage; }

// ---- the window procedure

LRESULT AfxCallWndProc(CWnd* pWnd, HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam) {
  const MSG saved = currentMessage;
  currentMessage.hwnd = hWnd;
  currentMessage.message = message;
  currentMessage.wParam = wParam;
  currentMessage.lParam = lParam;
  LRESULT result = 0;
  try {
    result = pWnd->WindowProc(message, wParam, lParam);
  } catch (CException* e) {
    // An exception must not unwind through the system's frames: report it
    // here and let the message fail.
    const bool memory = e->IsKindOf(RUNTIME_CLASS(CMemoryException));
    e->Delete();
    AfxMessageBox(memory ? "Out of memory." : "A required resource was unavailable.", MB_ICONEXCLAMATION | MB_OK);
    result = message == WM_CREATE ? -1 : 0;
  }
  if (message == WM_NCDESTROY && CWnd::FromHandlePermanent(hWnd) == pWnd) {
    if (pWnd->m_pfnSuper != nullptr) ::SetWindowLongPtrA(hWnd, GWLP_WNDPROC, (LONG_PTR)pWnd->m_pfnSuper);
    pWnd->m_pfnSuper = nullptr;
    pWnd->Detach();
    pWnd->PostNcDestroy();  // may delete pWnd
  }
  currentMessage = saved;
  return result;
}

LRESULT CALLBACK AfxWndProc(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam) {
  CWnd* pWnd = CWnd::FromHandlePermanent(hWnd);
  if (pWnd == nullptr) return ::DefWindowProcA(hWnd, message, wParam, lParam);
  return AfxCallWndProc(pWnd, hWnd, message, wParam, lParam);
}

LRESULT CALLBACK AfxCbtHook(int code, WPARAM wParam, LPARAM lParam) {
  if (code == HCBT_CREATEWND && pendingCreate != nullptr) {
    HWND hWnd = reinterpret_cast<HWND>(wParam);
    if (!IsInputMethodWindow(hWnd)) {
      CWnd* pWnd = pendingCreate;
      pendingCreate = nullptr;
      attachedSinceHook.insert(pWnd);
      pWnd->Attach(hWnd);
      pWnd->m_pfnSuper =
          reinterpret_cast<WNDPROC>(::SetWindowLongPtrA(hWnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(AfxWndProc)));
    }
  }
  return ::CallNextHookEx(createHook, code, wParam, lParam);
}

void AfxHookWindowCreate(CWnd* pWnd) {
  if (createHook == nullptr) createHook = ::SetWindowsHookExA(WH_CBT, AfxCbtHook, nullptr, ::GetCurrentThreadId());
  pendingCreate = pWnd;
  attachedSinceHook.erase(pWnd);
}

BOOL AfxUnhookWindowCreate(CWnd* pWnd) {
  if (pendingCreate == pWnd) pendingCreate = nullptr;
  // Only the pointer's value is used: the object may be gone already.
  return attachedSinceHook.erase(pWnd) != 0;
}

LPCTSTR AfxRegisterWndClass(UINT nClassStyle, HCURSOR hCursor, HBRUSH hbrBackground, HICON hIcon) {
  static std::set<std::string> names;
  char name[96];
  wsprintfA(name, "VeldrixWnd:%x:%x:%x:%x", nClassStyle, reinterpret_cast<UINT_PTR>(hCursor),
            reinterpret_cast<UINT_PTR>(hbrBackground), reinterpret_cast<UINT_PTR>(hIcon));
  auto [at, added] = names.insert(name);
  if (added) {
    WNDCLASSA wc = {};
    wc.style = nClassStyle;
    wc.lpfnWndProc = ::DefWindowProcA;  // the framework subclasses each window as it is made
    wc.hInstance = AfxGetInstanceHandle();
    wc.hIcon = hIcon;
    wc.hCursor = hCursor;
    wc.hbrBackground = hbrBackground;
    wc.lpszClassName = at->c_str();
    if (!::RegisterClassA(&wc) && ::GetLastError() != ERROR_CLASS_ALREADY_EXISTS) AfxThrowResourceException();
  }
  return at->c_str();
}

void AfxDeleteTempMaps() {
  std::unordered_map<HWND, CWnd*> windows;
  windows.swap(TemporaryMap());
  for (auto& [hWnd, pWnd] : windows) {
    pWnd->m_hWnd = nullptr;
    delete pWnd;
  }
  AfxDeleteTempMenuMap();
  AfxDeleteTempGdiMaps();
}

// ---- handle map

CWnd::~CWnd() {
  if (m_hWnd != nullptr && !m_bTemporary && FromHandlePermanent(m_hWnd) == this) {
    if (m_pfnSuper != nullptr) {
      ::DestroyWindow(m_hWnd);  // WM_NCDESTROY detaches this object
    }
    if (m_hWnd != nullptr) Detach();
  }
}

CWnd* CWnd::FromHandlePermanent(HWND hWnd) {
  auto found = PermanentMap().find(hWnd);
  return found == PermanentMap().end() ? nullptr : found->second;
}

CWnd* CWnd::FromHandle(HWND hWnd) {
  if (hWnd == nullptr) return nullptr;
  if (CWnd* pWnd = FromHandlePermanent(hWnd)) return pWnd;
  auto& temporary = TemporaryMap();
  auto found = temporary.find(hWnd);
  if (found != temporary.end()) return found->second;
  CWnd* pWnd = new CWnd;
  pWnd->m_hWnd = hWnd;
  pWnd->m_bTemporary = TRUE;
  temporary[hWnd] = pWnd;
  return pWnd;
}

BOOL CWnd::Attach(HWND hWndNew) {
  if (hWndNew == nullptr || FromHandlePermanent(hWndNew) != nullptr) return FALSE;
  m_hWnd = hWndNew;
  PermanentMap()[hWndNew] = this;
  return TRUE;
}

HWND CWnd::Detach() {
  HWND hWnd = m_hWnd;
  if (hWnd != nullptr && FromHandlePermanent(hWnd) == this) PermanentMap().erase(hWnd);
  m_hWnd = nullptr;
  return hWnd;
}

BOOL CWnd::SubclassWindow(HWND hWnd) {
  if (!Attach(hWnd)) return FALSE;
  m_pfnSuper =
      reinterpret_cast<WNDPROC>(::SetWindowLongPtrA(hWnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(AfxWndProc)));
  return TRUE;
}

BOOL CWnd::SubclassDlgItem(UINT nID, CWnd* pParent) {
  HWND hWndControl = ::GetDlgItem(pParent->m_hWnd, static_cast<int>(nID));
  return hWndControl != nullptr && SubclassWindow(hWndControl);
}

HWND CWnd::UnsubclassWindow() {
  if (m_pfnSuper != nullptr) ::SetWindowLongPtrA(m_hWnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(m_pfnSuper));
  m_pfnSuper = nullptr;
  return Detach();
}

// ---- creation

BOOL CWnd::PreCreateWindow(CREATESTRUCT& cs) {
  if (cs.lpszClass == nullptr) {
    cs.lpszClass =
        AfxRegisterWndClass(CS_DBLCLKS, ::LoadCursorA(nullptr, IDC_ARROW), reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1));
  }
  return TRUE;
}

BOOL CWnd::CreateEx(DWORD dwExStyle, LPCTSTR lpszClassName, LPCTSTR lpszWindowName, DWORD dwStyle, int x, int y,
                    int nWidth, int nHeight, HWND hWndParent, HMENU nIDorHMenu, LPVOID lpParam) {
  CREATESTRUCTA cs = {};
  cs.dwExStyle = dwExStyle;
  cs.lpszClass = lpszClassName;
  cs.lpszName = lpszWindowName;
  cs.style = dwStyle;
  cs.x = x;
  cs.y = y;
  cs.cx = nWidth;
  cs.cy = nHeight;
  cs.hwndParent = hWndParent;
  cs.hMenu = nIDorHMenu;
  cs.hInstance = AfxGetInstanceHandle();
  cs.lpCreateParams = lpParam;
  if (!PreCreateWindow(cs)) {
    PostNcDestroy();
    return FALSE;
  }
  AfxHookWindowCreate(this);
  HWND hWnd = ::CreateWindowExA(cs.dwExStyle, cs.lpszClass, cs.lpszName, cs.style, cs.x, cs.y, cs.cx, cs.cy,
                                cs.hwndParent, cs.hMenu, cs.hInstance, cs.lpCreateParams);
  const BOOL attached = AfxUnhookWindowCreate(this);
  if (!attached) {
    PostNcDestroy();  // no window was ever made: clean up as after one
    return FALSE;
  }
  // A window that failed in WM_CREATE was destroyed, and this object may be
  // gone with it (PostNcDestroy): touch nothing then.
  return hWnd != nullptr;
}

BOOL CWnd::CreateEx(DWORD dwExStyle, LPCTSTR lpszClassName, LPCTSTR lpszWindowName, DWORD dwStyle, const RECT& rect,
                    CWnd* pParentWnd, UINT nID, LPVOID lpParam) {
  return CreateEx(dwExStyle, lpszClassName, lpszWindowName, dwStyle, rect.left, rect.top, rect.right - rect.left,
                  rect.bottom - rect.top, pParentWnd == nullptr ? nullptr : pParentWnd->m_hWnd,
                  reinterpret_cast<HMENU>(static_cast<UINT_PTR>(nID)), lpParam);
}

BOOL CWnd::Create(LPCTSTR lpszClassName, LPCTSTR lpszWindowName, DWORD dwStyle, const RECT& rect, CWnd* pParentWnd,
                  UINT nID, CCreateContext* pContext) {
  return CreateEx(0, lpszClassName, lpszWindowName, dwStyle | WS_CHILD, rect, pParentWnd, nID, pContext);
}

BOOL CWnd::DestroyWindow() {
  if (m_hWnd == nullptr) return FALSE;
  // A routed window detaches (and may delete) this object in WM_NCDESTROY.
  const bool routed = m_pfnSuper != nullptr && FromHandlePermanent(m_hWnd) == this;
  HWND hWnd = m_hWnd;
  const BOOL result = ::DestroyWindow(hWnd);
  if (!routed) Detach();
  return result;
}

// ---- message handling

LRESULT CWnd::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
  LRESULT result = 0;
  if (!OnWndMsg(message, wParam, lParam, &result)) result = DefWindowProc(message, wParam, lParam);
  return result;
}

LRESULT CWnd::DefWindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
  if (m_pfnSuper != nullptr) return ::CallWindowProcA(m_pfnSuper, m_hWnd, message, wParam, lParam);
  return ::DefWindowProcA(m_hWnd, message, wParam, lParam);
}

LRESULT CWnd::Default() { return DefWindowProc(currentMessage.message, currentMessage.wParam, currentMessage.lParam); }

BOOL CWnd::OnWndMsg(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult) {
  if (message == WM_COMMAND) {
    if (!OnCommand(wParam, lParam)) return FALSE;
    *pResult = 1;
    return TRUE;
  }
  if (message == WM_NOTIFY) {
    LRESULT result = 0;
    if (!OnNotify(wParam, lParam, &result)) return FALSE;
    *pResult = result;
    return TRUE;
  }
  UINT key = message;
  UINT ctlColor = 0;
  if (message >= WM_CTLCOLORMSGBOX && message <= WM_CTLCOLORSTATIC) {
    key = AFX_WM_CTLCOLOR;
    ctlColor = message - WM_CTLCOLORMSGBOX;
  }
  const AFX_MSGMAP_ENTRY* entry = AfxFindMessageEntry(GetMessageMap(), key, 0, 0);
  if (entry == nullptr) return FALSE;

  const CPoint point(static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam)));
  LRESULT result = 0;
  switch (entry->nSig) {
    case AfxSig_vv: (this->*entry->pfn)(); break;
    case AfxSig_vw: (this->*AfxHandlerAs<void (CCmdTarget::*)(UINT)>(entry->pfn))(static_cast<UINT>(wParam)); break;
    case AfxSig_lwl:
      result = (this->*AfxHandlerAs<LRESULT (CCmdTarget::*)(WPARAM, LPARAM)>(entry->pfn))(wParam, lParam);
      break;
    case AfxSig_is:
      result = (this->*AfxHandlerAs<int (CCmdTarget::*)(LPCREATESTRUCT)>(entry->pfn))(
          reinterpret_cast<LPCREATESTRUCT>(lParam));
      break;
    case AfxSig_bD:
      result =
          (this->*AfxHandlerAs<BOOL (CCmdTarget::*)(CDC*)>(entry->pfn))(CDC::FromHandle(reinterpret_cast<HDC>(wParam)));
      break;
    case AfxSig_vwii:
      (this->*AfxHandlerAs<void (CCmdTarget::*)(UINT, int, int)>(entry->pfn))(
          static_cast<UINT>(wParam), static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam)));
      break;
    case AfxSig_vW: {
      // WM_CAPTURECHANGED names the window in lParam, the others in wParam.
      HWND other = reinterpret_cast<HWND>(message == WM_CAPTURECHANGED ? lParam : wParam);
      (this->*AfxHandlerAs<void (CCmdTarget::*)(CWnd*)>(entry->pfn))(FromHandle(other));
      break;
    }
    case AfxSig_vwww:
      (this->*AfxHandlerAs<void (CCmdTarget::*)(UINT, UINT, UINT)>(entry->pfn))(static_cast<UINT>(wParam),
                                                                                LOWORD(lParam), HIWORD(lParam));
      break;
    case AfxSig_vwp:
      (this->*AfxHandlerAs<void (CCmdTarget::*)(UINT, CPoint)>(entry->pfn))(static_cast<UINT>(wParam), point);
      break;
    case AfxSig_wp: result = (this->*AfxHandlerAs<UINT (CCmdTarget::*)(CPoint)>(entry->pfn))(point); break;
    case AfxSig_vbNc:
      (this->*AfxHandlerAs<void (CCmdTarget::*)(BOOL, NCCALCSIZE_PARAMS*)>(entry->pfn))(
          static_cast<BOOL>(wParam), reinterpret_cast<NCCALCSIZE_PARAMS*>(lParam));
      break;
    case AfxSig_bb:
      result = (this->*AfxHandlerAs<BOOL (CCmdTarget::*)(BOOL)>(entry->pfn))(static_cast<BOOL>(wParam));
      break;
    case AfxSig_bWww:
      result = (this->*AfxHandlerAs<BOOL (CCmdTarget::*)(CWnd*, UINT, UINT)>(entry->pfn))(
          FromHandle(reinterpret_cast<HWND>(wParam)), LOWORD(lParam), HIWORD(lParam));
      break;
    case AfxSig_hDWw:
      result = reinterpret_cast<LRESULT>((this->*AfxHandlerAs<HBRUSH (CCmdTarget::*)(CDC*, CWnd*, UINT)>(entry->pfn))(
          CDC::FromHandle(reinterpret_cast<HDC>(wParam)), FromHandle(reinterpret_cast<HWND>(lParam)), ctlColor));
      break;
    case AfxSig_b: result = (this->*AfxHandlerAs<BOOL (CCmdTarget::*)()>(entry->pfn))(); break;
    case AfxSig_vMinMax:
      (this->*AfxHandlerAs<void (CCmdTarget::*)(MINMAXINFO*)>(entry->pfn))(reinterpret_cast<MINMAXINFO*>(lParam));
      break;
    case AfxSig_vDraw:
      (this->*AfxHandlerAs<void (CCmdTarget::*)(int, LPDRAWITEMSTRUCT)>(entry->pfn))(
          static_cast<int>(wParam), reinterpret_cast<LPDRAWITEMSTRUCT>(lParam));
      result = TRUE;
      break;
    case AfxSig_vMeasure:
      (this->*AfxHandlerAs<void (CCmdTarget::*)(int, LPMEASUREITEMSTRUCT)>(entry->pfn))(
          static_cast<int>(wParam), reinterpret_cast<LPMEASUREITEMSTRUCT>(lParam));
      result = TRUE;
      break;
    case AfxSig_w: result = (this->*AfxHandlerAs<UINT (CCmdTarget::*)()>(entry->pfn))(); break;
    case AfxSig_vwwS:
      (this->*AfxHandlerAs<void (CCmdTarget::*)(UINT, UINT, CScrollBar*)>(entry->pfn))(
          LOWORD(wParam), static_cast<short>(HIWORD(wParam)),
          static_cast<CScrollBar*>(FromHandle(reinterpret_cast<HWND>(lParam))));
      break;
    case AfxSig_vwwh:
      (this->*AfxHandlerAs<void (CCmdTarget::*)(UINT, UINT, HMENU)>(entry->pfn))(LOWORD(wParam), HIWORD(wParam),
                                                                                 reinterpret_cast<HMENU>(lParam));
      break;
    case AfxSig_vMwb:
      (this->*AfxHandlerAs<void (CCmdTarget::*)(CMenu*, UINT, BOOL)>(entry->pfn))(
          CMenu::FromHandle(reinterpret_cast<HMENU>(wParam)), LOWORD(lParam), HIWORD(lParam));
      break;
    case AfxSig_vbw:
      (this->*AfxHandlerAs<void (CCmdTarget::*)(BOOL, UINT)>(entry->pfn))(static_cast<BOOL>(wParam),
                                                                          static_cast<UINT>(lParam));
      break;
    case AfxSig_vwW:
      (this->*AfxHandlerAs<void (CCmdTarget::*)(UINT, CWnd*, BOOL)>(entry->pfn))(
          LOWORD(wParam), FromHandle(reinterpret_cast<HWND>(lParam)), HIWORD(wParam));
      break;
    default: return FALSE;
  }
  *pResult = result;
  return TRUE;
}

BOOL CWnd::OnCommand(WPARAM wParam, LPARAM lParam) {
  const UINT nID = LOWORD(wParam);
  HWND hWndCtrl = reinterpret_cast<HWND>(lParam);
  int nCode = HIWORD(wParam);
  if (hWndCtrl == nullptr) {
    // A menu command or accelerator: refuse it when its update handler
    // disables it (the accelerator of a greyed item).
    nCode = CN_COMMAND;
    CEnableProbe probe;
    probe.m_nID = nID;
    OnCmdMsg(nID, CN_UPDATE_COMMAND_UI, &probe, nullptr);
    if (!probe.m_bEnabled) return TRUE;
  } else if (nID == 0) {
    return FALSE;
  }
  return OnCmdMsg(nID, nCode, nullptr, nullptr);
}

BOOL CWnd::OnNotify(WPARAM, LPARAM lParam, LRESULT* pResult) {
  NMHDR* header = reinterpret_cast<NMHDR*>(lParam);
  if (header == nullptr) return FALSE;
  AFX_NOTIFY notify = {pResult, header};
  return OnCmdMsg(static_cast<UINT>(header->idFrom), CN_NOTIFY, &notify, nullptr);
}

BOOL CWnd::OnChildNotify(UINT, WPARAM, LPARAM, LRESULT*) { return FALSE; }

BOOL CWnd::ReflectChildNotify(HWND hWndChild, UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult) {
  CWnd* child = FromHandlePermanent(hWndChild);
  return child != nullptr && child != this && child->OnChildNotify(message, wParam, lParam, pResult);
}

void CWnd::OnDrawItem(int, LPDRAWITEMSTRUCT lpDrawItemStruct) {
  LRESULT result = 0;
  if (lpDrawItemStruct->CtlType != ODT_MENU &&
      ReflectChildNotify(lpDrawItemStruct->hwndItem, WM_DRAWITEM, currentMessage.wParam, currentMessage.lParam,
                         &result)) {
    return;
  }
  Default();
}

void CWnd::OnMeasureItem(int nIDCtl, LPMEASUREITEMSTRUCT lpMeasureItemStruct) {
  LRESULT result = 0;
  if (lpMeasureItemStruct->CtlType != ODT_MENU) {
    HWND child = ::GetDlgItem(m_hWnd, nIDCtl);
    if (child != nullptr &&
        ReflectChildNotify(child, WM_MEASUREITEM, currentMessage.wParam, currentMessage.lParam, &result)) {
      return;
    }
  }
  Default();
}

BOOL CWnd::PreTranslateMessage(MSG* pMsg) {
  FilterToolTipMessage(pMsg);
  return FALSE;
}

void CWnd::UpdateDialogControls(CCmdTarget* pTarget, BOOL bDisableIfNoHndler) {
  CCmdUI state;
  for (HWND child = ::GetTopWindow(m_hWnd); child != nullptr; child = ::GetWindow(child, GW_HWNDNEXT)) {
    const int id = ::GetDlgCtrlID(child);
    if (id <= 0 || id == 0xFFFF) continue;
    state.m_pOther = FromHandle(child);
    state.m_nID = static_cast<UINT>(id);
    state.DoUpdate(pTarget, bDisableIfNoHndler);
  }
}

void CWnd::SendMessageToDescendants(UINT message, WPARAM wParam, LPARAM lParam, BOOL bDeep) {
  for (HWND child = ::GetTopWindow(m_hWnd); child != nullptr; child = ::GetWindow(child, GW_HWNDNEXT)) {
    ::SendMessageA(child, message, wParam, lParam);
    if (bDeep && ::GetTopWindow(child) != nullptr) FromHandle(child)->SendMessageToDescendants(message, wParam, lParam);
  }
}

// ---- relations, geometry, state

CWnd* CWnd::SetParent(CWnd* pWndNewParent) {
  return FromHandle(::SetParent(m_hWnd, pWndNewParent == nullptr ? nullptr : pWndNewParent->m_hWnd));
}

CWnd* CWnd::GetOwner() const { return m_hWndOwner != nullptr ? FromHandle(m_hWndOwner) : GetParent(); }

CWnd* CWnd::GetTopLevelParent() const {
  HWND top = m_hWnd;
  for (HWND up = ::GetParent(top); up != nullptr; up = ::GetParent(up)) top = up;
  return FromHandle(top);
}

namespace {

// Changes the bits of a style word (GWL_STYLE or GWL_EXSTYLE); nFlags, when
// given, go to a SetWindowPos that makes the frame follow. FALSE when nothing
// changed.
BOOL ModifyStyleWord(HWND window, int index, DWORD style, DWORD dwRemove, DWORD dwAdd, UINT nFlags) {
  const DWORD changed = (style & ~dwRemove) | dwAdd;
  if (changed == style) return FALSE;
  ::SetWindowLongA(window, index, static_cast<LONG>(changed));
  if (nFlags != 0)
    ::SetWindowPos(window, nullptr, 0, 0, 0, 0, SWP_NOSIZE | SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE | nFlags);
  return TRUE;
}

}  // namespace

BOOL CWnd::ModifyStyle(DWORD dwRemove, DWORD dwAdd, UINT nFlags) {
  return ModifyStyleWord(m_hWnd, GWL_STYLE, GetStyle(), dwRemove, dwAdd, nFlags);
}

BOOL CWnd::ModifyStyleEx(DWORD dwRemove, DWORD dwAdd, UINT nFlags) {
  return ModifyStyleWord(m_hWnd, GWL_EXSTYLE, GetExStyle(), dwRemove, dwAdd, nFlags);
}

BOOL CWnd::SetWindowPos(const CWnd* pWndInsertAfter, int x, int y, int cx, int cy, UINT nFlags) {
  return ::SetWindowPos(m_hWnd, pWndInsertAfter == nullptr ? nullptr : pWndInsertAfter->m_hWnd, x, y, cx, cy, nFlags);
}

void CWnd::ClientToScreen(LPRECT lpRect) const {
  ::ClientToScreen(m_hWnd, reinterpret_cast<LPPOINT>(lpRect));
  ::ClientToScreen(m_hWnd, reinterpret_cast<LPPOINT>(lpRect) + 1);
}

void CWnd::ScreenToClient(LPRECT lpRect) const {
  ::ScreenToClient(m_hWnd, reinterpret_cast<LPPOINT>(lpRect));
  ::ScreenToClient(m_hWnd, reinterpret_cast<LPPOINT>(lpRect) + 1);
}

void CWnd::MapWindowPoints(CWnd* pwndTo, LPRECT lpRect) const {
  ::MapWindowPoints(m_hWnd, pwndTo == nullptr ? nullptr : pwndTo->m_hWnd, reinterpret_cast<LPPOINT>(lpRect), 2);
}

void CWnd::MapWindowPoints(CWnd* pwndTo, LPPOINT lpPoint, UINT nCount) const {
  ::MapWindowPoints(m_hWnd, pwndTo == nullptr ? nullptr : pwndTo->m_hWnd, lpPoint, nCount);
}

void CWnd::CalcWindowRect(LPRECT lpClientRect, UINT) {
  ::AdjustWindowRectEx(lpClientRect, GetStyle(), ::GetMenu(m_hWnd) != nullptr && !(GetStyle() & WS_CHILD),
                       GetExStyle());
}

void CWnd::CenterWindow(CWnd* pAlternateOwner) {
  CRect window;
  GetWindowRect(&window);
  CRect area;
  HWND parent = ::GetParent(m_hWnd);
  if (GetStyle() & WS_CHILD) {
    ::GetClientRect(parent, &area);
    ::MapWindowPoints(parent, nullptr, reinterpret_cast<LPPOINT>(&area), 2);
  } else {
    HWND center = pAlternateOwner != nullptr ? pAlternateOwner->m_hWnd : ::GetWindow(m_hWnd, GW_OWNER);
    if (center != nullptr && ::IsWindowVisible(center) && !::IsIconic(center)) {
      ::GetWindowRect(center, &area);
    } else {
      ::SystemParametersInfoA(SPI_GETWORKAREA, 0, &area, 0);
    }
  }
  int x = area.left + (area.Width() - window.Width()) / 2;
  int y = area.top + (area.Height() - window.Height()) / 2;
  if (!(GetStyle() & WS_CHILD)) {
    // Keep a top-level window on the screen.
    CRect screen;
    ::SystemParametersInfoA(SPI_GETWORKAREA, 0, &screen, 0);
    if (x + window.Width() > screen.right) x = screen.right - window.Width();
    if (y + window.Height() > screen.bottom) y = screen.bottom - window.Height();
    if (x < screen.left) x = screen.left;
    if (y < screen.top) y = screen.top;
  } else {
    CPoint origin(x, y);
    ::ScreenToClient(parent, &origin);
    x = origin.x;
    y = origin.y;
  }
  ::SetWindowPos(m_hWnd, nullptr, x, y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void CWnd::InvalidateRgn(CRgn* pRgn, BOOL bErase) {
  ::InvalidateRgn(m_hWnd, pRgn == nullptr ? nullptr : static_cast<HRGN>(pRgn->m_hObject), bErase);
}

BOOL CWnd::RedrawWindow(LPCRECT lpRectUpdate, CRgn* prgnUpdate, UINT flags) {
  return ::RedrawWindow(m_hWnd, lpRectUpdate,
                        prgnUpdate == nullptr ? nullptr : static_cast<HRGN>(prgnUpdate->m_hObject), flags);
}

int CWnd::ReleaseDC(CDC* pDC) {
  if (pDC == nullptr) return 0;
  return ::ReleaseDC(m_hWnd, pDC->m_hDC);  // the wrapper is a temporary one
}

void CWnd::GetWindowText(CString& rString) const {
  const int length = ::GetWindowTextLengthA(m_hWnd);
  ::GetWindowTextA(m_hWnd, rString.GetBufferSetLength(length), length + 1);
  rString.ReleaseBuffer();
}

int CWnd::GetDlgItemText(int nID, CString& rString) const {
  HWND item = ::GetDlgItem(m_hWnd, nID);
  if (item == nullptr) {
    rString.Empty();
    return 0;
  }
  FromHandle(item)->GetWindowText(rString);
  return rString.GetLength();
}

CWnd* CWnd::GetNextDlgTabItem(CWnd* pWndCtl, BOOL bPrevious) const {
  return FromHandle(::GetNextDlgTabItem(m_hWnd, pWndCtl == nullptr ? nullptr : pWndCtl->m_hWnd, bPrevious));
}

void CWnd::SetFont(CFont* pFont, BOOL bRedraw) {
  SendMessage(WM_SETFONT, reinterpret_cast<WPARAM>(pFont == nullptr ? nullptr : pFont->m_hObject), bRedraw);
}

CFont* CWnd::GetFont() const {
  return CFont::FromHandle(reinterpret_cast<HFONT>(::SendMessageA(m_hWnd, WM_GETFONT, 0, 0)));
}

HICON CWnd::SetIcon(HICON hIcon, BOOL bBigIcon) {
  return reinterpret_cast<HICON>(
      SendMessage(WM_SETICON, bBigIcon ? ICON_BIG : ICON_SMALL, reinterpret_cast<LPARAM>(hIcon)));
}

CMenu* CWnd::GetMenu() const { return CMenu::FromHandle(::GetMenu(m_hWnd)); }

BOOL CWnd::SetMenu(CMenu* pMenu) { return ::SetMenu(m_hWnd, pMenu == nullptr ? nullptr : pMenu->m_hMenu); }

CMenu* CWnd::GetSystemMenu(BOOL bRevert) const { return CMenu::FromHandle(::GetSystemMenu(m_hWnd, bRevert)); }

int CWnd::MessageBox(LPCTSTR lpszText, LPCTSTR lpszCaption, UINT nType) {
  return AfxShowMessageBox(m_hWnd, lpszText, lpszCaption, nType);
}

BOOL CWnd::WinHelp(DWORD_PTR dwData, UINT nCmd) {
  CWinApp* app = AfxGetApp();
  LPCTSTR helpFile = app == nullptr ? nullptr : static_cast<LPCTSTR>(app->m_strHelpFilePath);
  return ::WinHelpA(m_hWnd, helpFile, nCmd, dwData);
}

BOOL CWnd::EnableToolTips(BOOL bEnable) {
  if (!bEnable) {
    if (m_hWndToolTip != nullptr) ::SendMessageA(m_hWndToolTip, TTM_ACTIVATE, FALSE, 0);
    return TRUE;
  }
  if (m_hWndToolTip == nullptr) {
    ::InitCommonControls();
    m_hWndToolTip = ::CreateWindowExA(0, TOOLTIPS_CLASSA, nullptr, TTS_ALWAYSTIP, CW_USEDEFAULT, CW_USEDEFAULT,
                                      CW_USEDEFAULT, CW_USEDEFAULT, m_hWnd, nullptr, AfxGetInstanceHandle(), nullptr);
    if (m_hWndToolTip == nullptr) return FALSE;
  }
  ::SendMessageA(m_hWndToolTip, TTM_ACTIVATE, TRUE, 0);
  return TRUE;
}

void CWnd::FilterToolTipMessage(const MSG* pMsg) {
  if (m_hWndToolTip == nullptr || pMsg->message != WM_MOUSEMOVE || pMsg->hwnd == m_hWnd ||
      !::IsChild(m_hWnd, pMsg->hwnd)) {
    return;
  }
  TOOLINFOA info = {};
  info.cbSize = sizeof info;
  info.hwnd = m_hWnd;
  info.uId = reinterpret_cast<UINT_PTR>(pMsg->hwnd);
  if (!::SendMessageA(m_hWndToolTip, TTM_GETTOOLINFOA, 0, reinterpret_cast<LPARAM>(&info))) {
    info.uFlags = TTF_IDISHWND | TTF_SUBCLASS;
    info.hinst = AfxGetResourceHandle();
    info.lpszText = LPSTR_TEXTCALLBACKA;
    ::SendMessageA(m_hWndToolTip, TTM_ADDTOOLA, 0, reinterpret_cast<LPARAM>(&info));
    MSG first = *pMsg;
    ::SendMessageA(m_hWndToolTip, TTM_RELAYEVENT, 0, reinterpret_cast<LPARAM>(&first));
  }
}

// ---- default handlers

int CWnd::OnCreate(LPCREATESTRUCT) { return static_cast<int>(Default()); }
void CWnd::OnDestroy() { Default(); }
void CWnd::OnClose() { Default(); }
void CWnd::OnPaint() { Default(); }
void CWnd::OnNcPaint() { Default(); }
void CWnd::OnCancelMode() { Default(); }
BOOL CWnd::OnEraseBkgnd(CDC*) { return static_cast<BOOL>(Default()); }
void CWnd::OnSize(UINT, int, int) { Default(); }
void CWnd::OnTimer(UINT) { Default(); }
void CWnd::OnSetFocus(CWnd*) { Default(); }
void CWnd::OnKillFocus(CWnd*) { Default(); }
void CWnd::OnPaletteChanged(CWnd*) { Default(); }
void CWnd::OnCaptureChanged(CWnd*) { Default(); }
BOOL CWnd::OnQueryNewPalette() { return static_cast<BOOL>(Default()); }
void CWnd::OnKeyDown(UINT, UINT, UINT) { Default(); }
void CWnd::OnKeyUp(UINT, UINT, UINT) { Default(); }
void CWnd::OnChar(UINT, UINT, UINT) { Default(); }
void CWnd::OnLButtonDown(UINT, CPoint) { Default(); }
void CWnd::OnLButtonUp(UINT, CPoint) { Default(); }
void CWnd::OnLButtonDblClk(UINT, CPoint) { Default(); }
void CWnd::OnRButtonDown(UINT, CPoint) { Default(); }
void CWnd::OnRButtonUp(UINT, CPoint) { Default(); }
void CWnd::OnMouseMove(UINT, CPoint) { Default(); }
void CWnd::OnNcLButtonDown(UINT, CPoint) { Default(); }
void CWnd::OnNcLButtonUp(UINT, CPoint) { Default(); }
void CWnd::OnNcLButtonDblClk(UINT, CPoint) { Default(); }
void CWnd::OnNcMouseMove(UINT, CPoint) { Default(); }
UINT CWnd::OnNcHitTest(CPoint) { return static_cast<UINT>(Default()); }
void CWnd::OnNcCalcSize(BOOL, NCCALCSIZE_PARAMS*) { Default(); }
BOOL CWnd::OnNcActivate(BOOL) { return static_cast<BOOL>(Default()); }
BOOL CWnd::OnSetCursor(CWnd*, UINT, UINT) { return static_cast<BOOL>(Default()); }
HBRUSH CWnd::OnCtlColor(CDC*, CWnd*, UINT) { return reinterpret_cast<HBRUSH>(Default()); }
void CWnd::OnGetMinMaxInfo(MINMAXINFO*) { Default(); }
UINT CWnd::OnGetDlgCode() { return static_cast<UINT>(Default()); }
void CWnd::OnHScroll(UINT, UINT, CScrollBar*) { Default(); }
void CWnd::OnVScroll(UINT, UINT, CScrollBar*) { Default(); }
void CWnd::OnMenuSelect(UINT, UINT, HMENU) { Default(); }
void CWnd::OnInitMenuPopup(CMenu*, UINT, BOOL) { Default(); }
void CWnd::OnShowWindow(BOOL, UINT) { Default(); }
void CWnd::OnActivate(UINT, CWnd*, BOOL) { Default(); }
