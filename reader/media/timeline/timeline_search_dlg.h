// CTimeLineSearchDlg: the panel on the left of the timeline screen that turns
// the screen's mode into a list of events: a list selector (period, category
// or issue) or date fields, and the list of matching events below them.
#pragma once

#include "controls/drop_list.h"
#include "controls/event_list_box.h"
#include "controls/flat_edit.h"
#include "controls/od_button.h"
#include "core/bit_string.h"
#include "framework.h"
#include "media/timeline/timeline_file.h"
#include "media/timeline/timeline_part.h"

class CTimeLineSearchDlg : public CDialog, public CEventListSource {
 public:
  static constexpr int HeaderHeight = 23;

  // Makes the window from its template in `rect` of the parent view; FALSE
  // when the template cannot be loaded.
  BOOL Create(const CRect& rect, TimelinePartOwner* parent);
  void HideModeFields();
  void ShowModeFields();
  // Fills the fields of the parent's mode, then filters.
  void FillLists();
  BOOL FilterEvents();
  void SelectItem(int index);
  // The Find button: checks the date range, then filters.
  void OnFind();
  // Fits the fields and the event list to the window's size.
  void Layout();

  // CEventListSource
  int GetItemTitle(int event, char* buffer) override;
  DWORD GetEventEntry(int event) override;

  timeline::FilterFields ReadFields() const;
  int GetListedCount() const { return m_listed; }
  CDropList& ListSelector() { return m_list; }
  CDropList& FromMonth() { return m_fromMonth; }
  CDropList& DayPicker() { return m_day; }
  CDropList& FromEra() { return m_fromEra; }
  CDropList& ToEra() { return m_toEra; }
  CDropList& ToMonth() { return m_toMonth; }
  CFlatEdit& FromYear() { return m_fromYear; }
  CFlatEdit& ToYear() { return m_toYear; }
  CEventListBox& Events() { return m_events; }
  // Shows the article of the event at the list's anchor in the parent.
  void ShowAnchorEvent();
  // The day picker holds "All" and the days of month m (0 = January).
  void AdjustDays(int month);

 protected:
  BOOL OnInitDialog() override;
  void OnOK() override;
  void OnCancel() override {}
  BOOL OnCommand(WPARAM wParam, LPARAM lParam) override;
  void OnPaint();
  BOOL OnEraseBkgnd(CDC* dc);
  HBRUSH OnCtlColor(CDC* dc, CWnd* wnd, UINT type);
  void OnSetFocus(CWnd* old);
  BOOL OnQueryNewPalette();
  void OnPaletteChanged(CWnd* focus);
  void OnEventDoubleClick();
  DECLARE_MESSAGE_MAP()

 private:
  int Mode() const;
  void CreateControls();
  const char* Prompt() const;
  int PickerHeight() const;
  void PlaceEventList(int top);

  TimelinePartOwner* m_parent = nullptr;
  CDropList m_list, m_fromEra, m_fromMonth, m_day, m_toEra, m_toMonth;
  CFlatEdit m_fromYear, m_toYear;
  CODButton m_find;
  CEventListBox m_events;
  int m_listed = 0;
};
