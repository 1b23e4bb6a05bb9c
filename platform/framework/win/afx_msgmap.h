// Message maps and command targets.
//
// A class that handles messages declares DECLARE_MESSAGE_MAP() and lists its
// handlers between BEGIN_MESSAGE_MAP(Class, Base) and END_MESSAGE_MAP(). Each
// entry records the message, the notification code, an id range, the handler's
// signature and the handler itself; lookups walk the class's map, then its
// base's, up to CCmdTarget. See docs/framework.md for the routing rules.
#pragma once

#include "afx_core.h"
#include "afx_ids.h"

class CCmdTarget;
class CCmdUI;
class CMenu;
class CWnd;
class CDC;
class CScrollBar;

// Command notification codes passed to OnCmdMsg besides the control codes.
constexpr int CN_COMMAND = 0;                 // a menu command, accelerator or BN_CLICKED
constexpr int CN_UPDATE_COMMAND_UI = -1;      // pExtra is the CCmdUI to fill
constexpr int CN_NOTIFY = -2;                 // pExtra is an AFX_NOTIFY
constexpr UINT AFX_UPDATE_CODE = 0xFFFFFFFF;  // entry code of update handlers

// Framework messages (in the range the system leaves to class libraries).
constexpr UINT WM_IDLEUPDATECMDUI = 0x0363;  // wParam: TRUE to disable items without handler
constexpr UINT WM_INITIALUPDATE = 0x0364;    // sent to a view after its frame is made
// The message-map key for every WM_CTLCOLORxxx; the handler gets the kind.
constexpr UINT AFX_WM_CTLCOLOR = 0x0019;

struct AFX_NOTIFY {
  LRESULT* pResult;
  NMHDR* pNMHDR;
};

using AFX_PMSG = void (CCmdTarget::*)();

// Filled by OnCmdMsg when asked only whether a handler exists.
struct AFX_CMDHANDLERINFO {
  CCmdTarget* pTarget;
  AFX_PMSG pmf;
};

// How a handler is called: the parameters it takes and what it returns.
enum AfxSig : UINT {
  AfxSig_end = 0,
  AfxSig_vv,        // void ()                      commands, control notifications, WM_PAINT ...
  AfxSig_vw,        // void (UINT)                  command ranges, WM_TIMER
  AfxSig_cmdui,     // void (CCmdUI*)               update handlers (single and range)
  AfxSig_notify,    // void (NMHDR*, LRESULT*)      ON_NOTIFY
  AfxSig_notifyEx,  // BOOL (UINT, NMHDR*, LRESULT*) ON_NOTIFY_EX
  AfxSig_lwl,       // LRESULT (WPARAM, LPARAM)     ON_MESSAGE
  AfxSig_is,        // int (LPCREATESTRUCT)         WM_CREATE
  AfxSig_bD,        // BOOL (CDC*)                  WM_ERASEBKGND
  AfxSig_vwii,      // void (UINT, int, int)        WM_SIZE
  AfxSig_vW,        // void (CWnd*)                 WM_SETFOCUS, WM_KILLFOCUS, WM_PALETTECHANGED, WM_CAPTURECHANGED
  AfxSig_vwww,      // void (UINT, UINT, UINT)      WM_KEYDOWN, WM_KEYUP, WM_CHAR
  AfxSig_vwp,       // void (UINT, CPoint)          mouse messages, non-client mouse messages
  AfxSig_wp,        // UINT (CPoint)                WM_NCHITTEST
  AfxSig_vbNc,      // void (BOOL, NCCALCSIZE_PARAMS*) WM_NCCALCSIZE
  AfxSig_bb,        // BOOL (BOOL)                  WM_NCACTIVATE
  AfxSig_bWww,      // BOOL (CWnd*, UINT, UINT)     WM_SETCURSOR
  AfxSig_hDWw,      // HBRUSH (CDC*, CWnd*, UINT)   WM_CTLCOLORxxx
  AfxSig_b,         // BOOL ()                      WM_QUERYNEWPALETTE
  AfxSig_vMinMax,   // void (MINMAXINFO*)           WM_GETMINMAXINFO
  AfxSig_vDraw,     // void (int, LPDRAWITEMSTRUCT) WM_DRAWITEM
  AfxSig_vMeasure,  // void (int, LPMEASUREITEMSTRUCT) WM_MEASUREITEM
  AfxSig_w,         // UINT ()                      WM_GETDLGCODE
  AfxSig_vwwS,      // void (UINT, UINT, CScrollBar*) WM_HSCROLL, WM_VSCROLL
  AfxSig_vwwh,      // void (UINT, UINT, HMENU)     WM_MENUSELECT
  AfxSig_vMwb,      // void (CMenu*, UINT, BOOL)    WM_INITMENUPOPUP
  AfxSig_vbw,       // void (BOOL, UINT)            WM_SHOWWINDOW
  AfxSig_vwW,       // void (UINT, CWnd*, BOOL)     WM_ACTIVATE
};

struct AFX_MSGMAP_ENTRY {
  UINT nMessage;
  UINT nCode;  // control or notification code; AFX_UPDATE_CODE for update handlers
  UINT nID;
  UINT nLastID;
  UINT nSig;
  AFX_PMSG pfn;
};

struct AFX_MSGMAP {
  const AFX_MSGMAP* (*pfnGetBaseMap)();
  const AFX_MSGMAP_ENTRY* lpEntries;
};

#define DECLARE_MESSAGE_MAP()                   \
 protected:                                     \
  static const AFX_MSGMAP* GetThisMessageMap(); \
  const AFX_MSGMAP* GetMessageMap() const override;

#define BEGIN_MESSAGE_MAP(theClass, baseClass)                                      \
  const AFX_MSGMAP* theClass::GetMessageMap() const { return GetThisMessageMap(); } \
  const AFX_MSGMAP* theClass::GetThisMessageMap() {                                 \
    using ThisClass = theClass;                                                     \
    using TheBaseClass = baseClass;                                                 \
    static const AFX_MSGMAP_ENTRY entries[] = {
#define END_MESSAGE_MAP()                                                               \
  { 0, 0, 0, 0, AfxSig_end, nullptr }                                                   \
  }                                                                                     \
  ;                                                                                     \
  static const AFX_MSGMAP messageMap = {&TheBaseClass::GetThisMessageMap, &entries[0]}; \
  return &messageMap;                                                                   \
  }

// Handlers are stored in one common member-pointer type and cast back to
// their own type (named by the entry's signature) before the call.
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wcast-function-type"
template <class Handler>
inline AFX_PMSG AfxStoreHandler(Handler fn) {
  return reinterpret_cast<AFX_PMSG>(fn);
}
template <class Handler>
inline Handler AfxHandlerAs(AFX_PMSG fn) {
  return reinterpret_cast<Handler>(fn);
}
#pragma GCC diagnostic pop

// Checks the handler against the signature, then stores it in the common form.
#define AFX_HANDLER(type, fn) AfxStoreHandler<type>(static_cast<type>(fn))

#define ON_COMMAND(id, fn) \
  {WM_COMMAND, CN_COMMAND, (UINT)(id), (UINT)(id), AfxSig_vv, AFX_HANDLER(void(CCmdTarget::*)(), &ThisClass::fn)},
#define ON_COMMAND_RANGE(first, last, fn)   \
  {WM_COMMAND,   CN_COMMAND, (UINT)(first), \
   (UINT)(last), AfxSig_vw,  AFX_HANDLER(void(CCmdTarget::*)(UINT), &ThisClass::fn)},
#define ON_UPDATE_COMMAND_UI(id, fn)        \
  {WM_COMMAND, AFX_UPDATE_CODE, (UINT)(id), \
   (UINT)(id), AfxSig_cmdui,    AFX_HANDLER(void(CCmdTarget::*)(CCmdUI*), &ThisClass::fn)},
#define ON_UPDATE_COMMAND_UI_RANGE(first, last, fn) \
  {WM_COMMAND,   AFX_UPDATE_CODE, (UINT)(first),    \
   (UINT)(last), AfxSig_cmdui,    AFX_HANDLER(void(CCmdTarget::*)(CCmdUI*), &ThisClass::fn)},
#define ON_CONTROL(code, id, fn) \
  {WM_COMMAND, (UINT)(code), (UINT)(id), (UINT)(id), AfxSig_vv, AFX_HANDLER(void(CCmdTarget::*)(), &ThisClass::fn)},
#define ON_BN_CLICKED(id, fn) ON_CONTROL(BN_CLICKED, id, fn)
#define ON_BN_DOUBLECLICKED(id, fn) ON_CONTROL(BN_DOUBLECLICKED, id, fn)
#define ON_LBN_SELCHANGE(id, fn) ON_CONTROL(LBN_SELCHANGE, id, fn)
#define ON_LBN_DBLCLK(id, fn) ON_CONTROL(LBN_DBLCLK, id, fn)
#define ON_LBN_SELCANCEL(id, fn) ON_CONTROL(LBN_SELCANCEL, id, fn)
#define ON_LBN_SETFOCUS(id, fn) ON_CONTROL(LBN_SETFOCUS, id, fn)
#define ON_LBN_KILLFOCUS(id, fn) ON_CONTROL(LBN_KILLFOCUS, id, fn)
#define ON_EN_CHANGE(id, fn) ON_CONTROL(EN_CHANGE, id, fn)
#define ON_EN_SETFOCUS(id, fn) ON_CONTROL(EN_SETFOCUS, id, fn)
#define ON_EN_KILLFOCUS(id, fn) ON_CONTROL(EN_KILLFOCUS, id, fn)
#define ON_NOTIFY(code, id, fn)           \
  {WM_NOTIFY,  (UINT)(code),  (UINT)(id), \
   (UINT)(id), AfxSig_notify, AFX_HANDLER(void(CCmdTarget::*)(NMHDR*, LRESULT*), &ThisClass::fn)},
#define ON_NOTIFY_EX(code, id, fn)          \
  {WM_NOTIFY,  (UINT)(code),    (UINT)(id), \
   (UINT)(id), AfxSig_notifyEx, AFX_HANDLER(BOOL(CCmdTarget::*)(UINT, NMHDR*, LRESULT*), &ThisClass::fn)},
#define ON_MESSAGE(message, fn) \
  {(UINT)(message), 0, 0, 0, AfxSig_lwl, AFX_HANDLER(LRESULT(CCmdTarget::*)(WPARAM, LPARAM), &ThisClass::fn)},

#define AFX_ON_WM(message, sig, type, fn) {message, 0, 0, 0, sig, AFX_HANDLER(type, &ThisClass::fn)},
#define ON_WM_CREATE() AFX_ON_WM(WM_CREATE, AfxSig_is, int (CCmdTarget::*)(LPCREATESTRUCT), OnCreate)
#define ON_WM_DESTROY() AFX_ON_WM(WM_DESTROY, AfxSig_vv, void (CCmdTarget::*)(), OnDestroy)
#define ON_WM_CLOSE() AFX_ON_WM(WM_CLOSE, AfxSig_vv, void (CCmdTarget::*)(), OnClose)
#define ON_WM_PAINT() AFX_ON_WM(WM_PAINT, AfxSig_vv, void (CCmdTarget::*)(), OnPaint)
#define ON_WM_NCPAINT() AFX_ON_WM(WM_NCPAINT, AfxSig_vv, void (CCmdTarget::*)(), OnNcPaint)
#define ON_WM_CANCELMODE() AFX_ON_WM(WM_CANCELMODE, AfxSig_vv, void (CCmdTarget::*)(), OnCancelMode)
#define ON_WM_ERASEBKGND() AFX_ON_WM(WM_ERASEBKGND, AfxSig_bD, BOOL (CCmdTarget::*)(CDC*), OnEraseBkgnd)
#define ON_WM_SIZE() AFX_ON_WM(WM_SIZE, AfxSig_vwii, void (CCmdTarget::*)(UINT, int, int), OnSize)
#define ON_WM_TIMER() AFX_ON_WM(WM_TIMER, AfxSig_vw, void (CCmdTarget::*)(UINT), OnTimer)
#define ON_WM_SETFOCUS() AFX_ON_WM(WM_SETFOCUS, AfxSig_vW, void (CCmdTarget::*)(CWnd*), OnSetFocus)
#define ON_WM_KILLFOCUS() AFX_ON_WM(WM_KILLFOCUS, AfxSig_vW, void (CCmdTarget::*)(CWnd*), OnKillFocus)
#define ON_WM_PALETTECHANGED() AFX_ON_WM(WM_PALETTECHANGED, AfxSig_vW, void (CCmdTarget::*)(CWnd*), OnPaletteChanged)
#define ON_WM_CAPTURECHANGED() AFX_ON_WM(WM_CAPTURECHANGED, AfxSig_vW, void (CCmdTarget::*)(CWnd*), OnCaptureChanged)
#define ON_WM_QUERYNEWPALETTE() AFX_ON_WM(WM_QUERYNEWPALETTE, AfxSig_b, BOOL (CCmdTarget::*)(), OnQueryNewPalette)
#define ON_WM_KEYDOWN() AFX_ON_WM(WM_KEYDOWN, AfxSig_vwww, void (CCmdTarget::*)(UINT, UINT, UINT), OnKeyDown)
#define ON_WM_KEYUP() AFX_ON_WM(WM_KEYUP, AfxSig_vwww, void (CCmdTarget::*)(UINT, UINT, UINT), OnKeyUp)
#define ON_WM_CHAR() AFX_ON_WM(WM_CHAR, AfxSig_vwww, void (CCmdTarget::*)(UINT, UINT, UINT), OnChar)
#define AFX_ON_MOUSE(message, fn) AFX_ON_WM(message, AfxSig_vwp, void (CCmdTarget::*)(UINT, CPoint), fn)
#define ON_WM_LBUTTONDOWN() AFX_ON_MOUSE(WM_LBUTTONDOWN, OnLButtonDown)
#define ON_WM_LBUTTONUP() AFX_ON_MOUSE(WM_LBUTTONUP, OnLButtonUp)
#define ON_WM_LBUTTONDBLCLK() AFX_ON_MOUSE(WM_LBUTTONDBLCLK, OnLButtonDblClk)
#define ON_WM_RBUTTONDOWN() AFX_ON_MOUSE(WM_RBUTTONDOWN, OnRButtonDown)
#define ON_WM_RBUTTONUP() AFX_ON_MOUSE(WM_RBUTTONUP, OnRButtonUp)
#define ON_WM_MOUSEMOVE() AFX_ON_MOUSE(WM_MOUSEMOVE, OnMouseMove)
#define ON_WM_NCLBUTTONDOWN() AFX_ON_MOUSE(WM_NCLBUTTONDOWN, OnNcLButtonDown)
#define ON_WM_NCLBUTTONUP() AFX_ON_MOUSE(WM_NCLBUTTONUP, OnNcLButtonUp)
#define ON_WM_NCLBUTTONDBLCLK() AFX_ON_MOUSE(WM_NCLBUTTONDBLCLK, OnNcLButtonDblClk)
#define ON_WM_NCMOUSEMOVE() AFX_ON_MOUSE(WM_NCMOUSEMOVE, OnNcMouseMove)
#define ON_WM_NCHITTEST() AFX_ON_WM(WM_NCHITTEST, AfxSig_wp, UINT (CCmdTarget::*)(CPoint), OnNcHitTest)
#define ON_WM_NCCALCSIZE() \
  AFX_ON_WM(WM_NCCALCSIZE, AfxSig_vbNc, void (CCmdTarget::*)(BOOL, NCCALCSIZE_PARAMS*), OnNcCalcSize)
#define ON_WM_NCACTIVATE() AFX_ON_WM(WM_NCACTIVATE, AfxSig_bb, BOOL (CCmdTarget::*)(BOOL), OnNcActivate)
#define ON_WM_SETCURSOR() AFX_ON_WM(WM_SETCURSOR, AfxSig_bWww, BOOL (CCmdTarget::*)(CWnd*, UINT, UINT), OnSetCursor)
#define ON_WM_CTLCOLOR() AFX_ON_WM(AFX_WM_CTLCOLOR, AfxSig_hDWw, HBRUSH (CCmdTarget::*)(CDC*, CWnd*, UINT), OnCtlColor)
#define ON_WM_GETMINMAXINFO() \
  AFX_ON_WM(WM_GETMINMAXINFO, AfxSig_vMinMax, void (CCmdTarget::*)(MINMAXINFO*), OnGetMinMaxInfo)
#define ON_WM_DRAWITEM() AFX_ON_WM(WM_DRAWITEM, AfxSig_vDraw, void (CCmdTarget::*)(int, LPDRAWITEMSTRUCT), OnDrawItem)
#define ON_WM_MEASUREITEM() \
  AFX_ON_WM(WM_MEASUREITEM, AfxSig_vMeasure, void (CCmdTarget::*)(int, LPMEASUREITEMSTRUCT), OnMeasureItem)
#define ON_WM_GETDLGCODE() AFX_ON_WM(WM_GETDLGCODE, AfxSig_w, UINT (CCmdTarget::*)(), OnGetDlgCode)
#define ON_WM_HSCROLL() AFX_ON_WM(WM_HSCROLL, AfxSig_vwwS, void (CCmdTarget::*)(UINT, UINT, CScrollBar*), OnHScroll)
#define ON_WM_VSCROLL() AFX_ON_WM(WM_VSCROLL, AfxSig_vwwS, void (CCmdTarget::*)(UINT, UINT, CScrollBar*), OnVScroll)
#define ON_WM_MENUSELECT() AFX_ON_WM(WM_MENUSELECT, AfxSig_vwwh, void (CCmdTarget::*)(UINT, UINT, HMENU), OnMenuSelect)
#define ON_WM_INITMENUPOPUP() \
  AFX_ON_WM(WM_INITMENUPOPUP, AfxSig_vMwb, void (CCmdTarget::*)(CMenu*, UINT, BOOL), OnInitMenuPopup)
#define ON_WM_SHOWWINDOW() AFX_ON_WM(WM_SHOWWINDOW, AfxSig_vbw, void (CCmdTarget::*)(BOOL, UINT), OnShowWindow)
#define ON_WM_ACTIVATE() AFX_ON_WM(WM_ACTIVATE, AfxSig_vwW, void (CCmdTarget::*)(UINT, CWnd*, BOOL), OnActivate)

// The root of command routing: anything that can take commands through a map.
class CCmdTarget : public CObject {
  DECLARE_DYNAMIC(CCmdTarget)
 public:
  CCmdTarget() = default;

  // Looks the command up in this object's map (and its bases'). pExtra is the
  // CCmdUI for update requests and an AFX_NOTIFY for notifications. With
  // pHandlerInfo the handler is only reported, not called. TRUE when handled.
  virtual BOOL OnCmdMsg(UINT nID, int nCode, void* pExtra, AFX_CMDHANDLERINFO* pHandlerInfo);

  // The wait cursor, nested: each Begin needs its End.
  void BeginWaitCursor();
  void EndWaitCursor();
  void RestoreWaitCursor();

 protected:
  static const AFX_MSGMAP* GetThisMessageMap();
  virtual const AFX_MSGMAP* GetMessageMap() const;

  // Calls the handler of a WM_COMMAND or WM_NOTIFY entry.
  BOOL DispatchCommand(const AFX_MSGMAP_ENTRY* entry, UINT nID, int nCode, void* pExtra);
  friend class CWnd;
};

// Finds the entry for (message, code, id) in a map chain, or null.
const AFX_MSGMAP_ENTRY* AfxFindMessageEntry(const AFX_MSGMAP* map, UINT message, UINT code, UINT id);

// The state of one user-interface item while its update handler runs: a menu
// item (m_pMenu, m_nIndex) or a control window (m_pOther).
class CCmdUI {
 public:
  CCmdUI() = default;
  virtual ~CCmdUI() = default;

  UINT m_nID = 0;
  UINT m_nIndex = 0;
  CMenu* m_pMenu = nullptr;
  CMenu* m_pSubMenu = nullptr;
  CWnd* m_pOther = nullptr;
  UINT m_nIndexMax = 0;
  BOOL m_bEnableChanged = FALSE;
  BOOL m_bContinueRouting = FALSE;

  virtual void Enable(BOOL bOn = TRUE);
  virtual void SetCheck(int nCheck = 1);  // 0 clear, 1 checked
  virtual void SetRadio(BOOL bOn = TRUE);
  virtual void SetText(LPCTSTR lpszText);
  // Lets the update request go on to the next target in the route.
  void ContinueRouting() { m_bContinueRouting = TRUE; }

  // Runs the update handler found through pTarget; with no handler the item
  // is disabled when bDisableIfNoHndler and no command handler exists either.
  // TRUE when a handler ran.
  BOOL DoUpdate(CCmdTarget* pTarget, BOOL bDisableIfNoHndler);
};
