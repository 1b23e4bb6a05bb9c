#include "afx_app.h"
#include "afx_menu.h"
#include "afx_msgmap.h"
#include "afx_wnd.h"

IMPLEMENT_DYNAMIC(CCmdTarget, CObject)

const AFX_MSGMAP* CCmdTarget::GetThisMessageMap() {
  static const AFX_MSGMAP_ENTRY entries[] = {{0, 0, 0, 0, AfxSig_end, nullptr}};
  static const AFX_MSGMAP messageMap = {nullptr, &entries[0]};
  return &messageMap;
}

const AFX_MSGMAP* CCmdTarget::GetMessageMap() const { return GetThisMessageMap(); }

const AFX_MSGMAP_ENTRY* AfxFindMessageEntry(const AFX_MSGMAP* map, UINT message, UINT code, UINT id) {
  for (; map != nullptr; map = map->pfnGetBaseMap == nullptr ? nullptr : map->pfnGetBaseMap()) {
    for (const AFX_MSGMAP_ENTRY* entry = map->lpEntries; entry->nSig != AfxSig_end; ++entry) {
      if (entry->nMessage != message || entry->nCode != code) continue;
      // A notification entry with id 0 takes every sender (tool tips name
      // their tool by window handle, not by id).
      if ((id >= entry->nID && id <= entry->nLastID) || (message == WM_NOTIFY && entry->nID == 0)) return entry;
    }
  }
  return nullptr;
}

BOOL CCmdTarget::OnCmdMsg(UINT nID, int nCode, void* pExtra, AFX_CMDHANDLERINFO* pHandlerInfo) {
  UINT message = WM_COMMAND;
  UINT code = static_cast<UINT>(nCode);
  if (nCode == CN_UPDATE_COMMAND_UI) {
    code = AFX_UPDATE_CODE;
  } else if (nCode == CN_NOTIFY) {
    message = WM_NOTIFY;
    code = static_cast<AFX_NOTIFY*>(pExtra)->pNMHDR->code;
  }
  const AFX_MSGMAP_ENTRY* entry = AfxFindMessageEntry(GetMessageMap(), message, code, nID);
  if (entry == nullptr) return FALSE;
  if (pHandlerInfo != nullptr) {
    pHandlerInfo->pTarget = this;
    pHandlerInfo->pmf = entry->pfn;
    return TRUE;
  }
  return DispatchCommand(entry, nID, nCode, pExtra);
}

BOOL CCmdTarget::DispatchCommand(const AFX_MSGMAP_ENTRY* entry, UINT nID, int nCode, void* pExtra) {
  switch (entry->nSig) {
    case AfxSig_vv: (this->*entry->pfn)(); return TRUE;
    case AfxSig_vw: (this->*AfxHandlerAs<void (CCmdTarget::*)(UINT)>(entry->pfn))(nID); return TRUE;
    case AfxSig_cmdui: {
      CCmdUI* state = static_cast<CCmdUI*>(pExtra);
      state->m_bContinueRouting = FALSE;
      (this->*AfxHandlerAs<void (CCmdTarget::*)(CCmdUI*)>(entry->pfn))(state);
      return !state->m_bContinueRouting;
    }
    case AfxSig_notify: {
      AFX_NOTIFY* notify = static_cast<AFX_NOTIFY*>(pExtra);
      (this->*AfxHandlerAs<void (CCmdTarget::*)(NMHDR*, LRESULT*)>(entry->pfn))(notify->pNMHDR, notify->pResult);
      return TRUE;
    }
    case AfxSig_notifyEx: {
      AFX_NOTIFY* notify = static_cast<AFX_NOTIFY*>(pExtra);
      return (this->*AfxHandlerAs<BOOL (CCmdTarget::*)(UINT, NMHDR*, LRESULT*)>(entry->pfn))(nID, notify->pNMHDR,
                                                                                             notify->pResult);
    }
    default: (void)nCode; return FALSE;
  }
}

void CCmdTarget::BeginWaitCursor() { AfxGetApp()->DoWaitCursor(1); }
void CCmdTarget::EndWaitCursor() { AfxGetApp()->DoWaitCursor(-1); }
void CCmdTarget::RestoreWaitCursor() { AfxGetApp()->DoWaitCursor(0); }

// ---- CCmdUI

void CCmdUI::Enable(BOOL bOn) {
  if (m_pMenu != nullptr) {
    if (m_pSubMenu != nullptr) return;  // a popup entry stays enabled
    m_pMenu->EnableMenuItem(m_nIndex, MF_BYPOSITION | (bOn ? MF_ENABLED : (MF_DISABLED | MF_GRAYED)));
  } else if (m_pOther != nullptr) {
    // Move the focus on before disabling the control that has it.
    if (!bOn && ::GetFocus() == m_pOther->m_hWnd) {
      HWND parent = ::GetParent(m_pOther->m_hWnd);
      if (parent != nullptr) ::SendMessageA(parent, WM_NEXTDLGCTL, 0, FALSE);
    }
    m_pOther->EnableWindow(bOn);
  }
  m_bEnableChanged = TRUE;
}

void CCmdUI::SetCheck(int nCheck) {
  if (m_pMenu != nullptr) {
    if (m_pSubMenu != nullptr) return;
    m_pMenu->CheckMenuItem(m_nIndex, MF_BYPOSITION | (nCheck ? MF_CHECKED : MF_UNCHECKED));
  } else if (m_pOther != nullptr) {
    if (m_pOther->SendMessage(WM_GETDLGCODE) & DLGC_BUTTON) m_pOther->SendMessage(BM_SETCHECK, nCheck);
  }
}

void CCmdUI::SetRadio(BOOL bOn) { SetCheck(bOn ? 1 : 0); }

void CCmdUI::SetText(LPCTSTR lpszText) {
  if (m_pMenu != nullptr) {
    if (m_pSubMenu != nullptr) return;
    const UINT state = m_pMenu->GetMenuState(m_nIndex, MF_BYPOSITION);
    if (state & (MF_OWNERDRAW | MF_BITMAP | MF_SEPARATOR)) return;  // no text to change
    m_pMenu->ModifyMenu(m_nIndex, MF_BYPOSITION | MF_STRING | (state & (MF_GRAYED | MF_DISABLED | MF_CHECKED)), m_nID,
                        lpszText);
  } else if (m_pOther != nullptr) {
    m_pOther->SetWindowText(lpszText);
  }
}

BOOL CCmdUI::DoUpdate(CCmdTarget* pTarget, BOOL bDisableIfNoHndler) {
  if (m_nID == 0 || pTarget == nullptr) return TRUE;
  m_bEnableChanged = FALSE;
  const BOOL handled = pTarget->OnCmdMsg(m_nID, CN_UPDATE_COMMAND_UI, this, nullptr);
  if (bDisableIfNoHndler && !m_bEnableChanged) {
    AFX_CMDHANDLERINFO info = {nullptr, nullptr};
    Enable(pTarget->OnCmdMsg(m_nID, CN_COMMAND, this, &info));
  }
  return handled;
}
