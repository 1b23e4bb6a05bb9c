// CEventListBox: the timeline search window's list of events. A set of event
// numbers goes in, one event is current (kept as the list box's selection),
// the parent supplies each row's title and is told of every change. Always
// in the timeline look.
#pragma once

#include "controls/paged_list_box.h"

// What the list needs of its parent (the timeline search window).
class CEventListSource {
 public:
  virtual ~CEventListSource() = default;
  // The title of event n (from 1) into a buffer of at least 255 bytes.
  virtual int GetItemTitle(int event, char* buffer) = 0;
  // The event's main-database entry number (its record's u32 at offset 11).
  virtual DWORD GetEventEntry(int event) = 0;
};

class CEventListBox : public CPagedListBox {
 public:
  CEventListBox();

  BOOL Create(const RECT& rect, CWnd* parent, UINT controlId);
  int SetItems(const CBitString& set);
  int GetAnchor() const { return m_current; }
  const CBitString& GetItems() const { return m_items; }

  void DrawItem(LPDRAWITEMSTRUCT item) override;
  void MeasureItem(LPMEASUREITEMSTRUCT item) override;

 protected:
  void FetchTitle(int item, char* buffer) override;
  void AfterPositionChange() override;
  void DrawRow(CDC& dc, const CRect& rect, int row, BOOL noClip) override;
  int PopupLeft() const override { return 4; }
  void MoveCurrent(int step) override;
  void OnClick(UINT flags, CPoint point) override;
  void AfterResize() override;

 private:
  CEventListSource* Source() const;
  // The page row of the current event, -1 when it is not on the page.
  int CurrentRow() const;
};
