// CSearchHistoryMenu: the "Search &History" pop-up of a screen's "&Search"
// menu: the frame's stored queries, the newest first, and choosing one runs
// it again. The screen owns one, refills it when it becomes active and
// before a new results window opens, and routes its commands to it
// (OnCmdMsg).
#pragma once

#include "framework.h"

class CSearchHistoryMenu : public CCmdTarget {
 public:
  // `menu` is the screen's menu bar (it may be loaded later); `firstId` the
  // command of the newest query, the older ones follow it.
  CSearchHistoryMenu(CMenu& menu, UINT firstId) : m_menu(menu), m_firstId(firstId) {}

  // Enables the pop-up and lists the stored queries; leaves it as it is
  // while none is stored.
  void Refill();
  // The queries' commands.
  BOOL OnCmdMsg(UINT nID, int nCode, void* pExtra, AFX_CMDHANDLERINFO* pHandlerInfo) override;

 private:
  CMenu& m_menu;
  UINT m_firstId;
};
