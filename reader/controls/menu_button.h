// A menu tree the program builds itself (CMenuItem, CPopupMenu) and the
// bitmap button that drops it down as a pop-up menu in pages of 20 items
// (CMenuButton), with "previous" and "next" entries between the pages.
#pragma once

#include "controls/od_button.h"

class CMenuItem : public CObject {
 public:
  CMenuItem() = default;
  CMenuItem(LPCTSTR text, UINT id, UINT image, UINT mask, UINT flags);
  // The flags kept from the caller: a separator alone, else checked and grayed.
  static UINT ReduceFlags(UINT flags);

  CString m_text;
  WORD m_id = 0;
  UINT m_image = 0;
  UINT m_mask = 0;
  UINT m_flags = 0;
};

class CPopupMenu : public CMenuItem {
 public:
  static constexpr int kMaxChildren = 1000;

  CPopupMenu() = default;
  CPopupMenu(LPCTSTR text, UINT id, UINT image, UINT mask, UINT flags) : CMenuItem(text, id, image, mask, flags) {}
  ~CPopupMenu() override;
  CPopupMenu(const CPopupMenu&) = delete;
  CPopupMenu& operator=(const CPopupMenu&) = delete;

  // FALSE with 1000 children already; MF_POPUP in flags adds an empty submenu.
  BOOL AddItem(LPCTSTR text, UINT id, UINT image, UINT mask, UINT flags);
  void RemoveAll();
  // MF_BYPOSITION: the child at that position; else the first item with the
  // command id, submenus searched depth first. Null when there is none.
  CMenuItem* FindItem(UINT key, UINT flags);
  // Builds a pop-up of the children and appends it to `parent` as a pop-up
  // entry with this menu's caption and flags. Bitmap entries' bitmaps go to
  // `bitmaps`, which keeps them until the menu is gone.
  void BuildMenu(CMenu& parent, CObArray& bitmaps);
  // Appends one child to a menu being built.
  static void AppendChild(CMenu& menu, CMenuItem* child, CObArray& bitmaps);

  int GetCount() const { return m_children.GetSize(); }
  CMenuItem* GetChild(int index) const { return static_cast<CMenuItem*>(m_children[index]); }

 private:
  CObArray m_children;
};

class CMenuButton : public CODButton {
 public:
  static constexpr int kPageSize = 20;
  static constexpr UINT kPreviousId = 500;
  static constexpr UINT kNextId = 501;

  ~CMenuButton() override;

  BOOL AddItem(LPCTSTR text, UINT id, UINT image, UINT mask, UINT flags) {
    return m_root.AddItem(text, id, image, mask, flags);
  }
  void RemoveAll() { m_root.RemoveAll(); }
  // Sets or clears the grayed bit of the item found by FindItem (key, flags)
  // to the 0x1 bit of flags; CheckItem does the same for the checked bit.
  void SetItemState(UINT key, UINT flags);
  void CheckItem(UINT key, UINT flags);
  void RemoveAllBitmaps();
  // Back to the first page, then DropDown.
  void ResetPage();
  CMenuItem* GetItem(int index) const { return m_root.GetChild(index); }
  int GetPageOffset() const { return m_pageOffset; }
  CPopupMenu& Root() { return m_root; }
  // Builds the pop-up of the current page (the caller owns it).
  BOOL BuildPage(CMenu& menu);
  // Tracks the current page's pop-up at the button's lower-left corner.
  void DropDown();

 protected:
  BOOL OnCommand(WPARAM wParam, LPARAM lParam) override;
  LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

 private:
  void MeasureMenuItem(MEASUREITEMSTRUCT* measure);
  void DrawMenuItem(const DRAWITEMSTRUCT* draw);

  CPopupMenu m_root;
  CObArray m_bitmaps;
  int m_pageOffset = 0;
};
