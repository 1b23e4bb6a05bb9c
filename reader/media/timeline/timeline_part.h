// TimelinePartOwner: what the timeline view's parts (the search window on
// its left, the tool windows that take that place, the commands on the shown
// event's text) ask of the view: the view itself, its mode and data, the
// event shown and its display, and the search window.
#pragma once

#include "framework.h"
#include "media/timeline/timeline_file.h"

class CDisplay;
class CTimeLineSearchDlg;

class TimelinePartOwner {
 public:
  // The panel on the left where the search window and the tool windows stand.
  static constexpr int PanelLeft = 2, PanelTop = 49, PanelRight = 212;

  virtual ~TimelinePartOwner() = default;

  // The view: the parent and owner of the parts' windows, where the focus goes back.
  virtual CView& View() = 0;
  // The mode (timeline::Mode) and the events of "Timeline.bin".
  virtual int GetMode() const = 0;
  virtual const timeline::TimelineData& GetData() const = 0;
  // The article of the event shown (0 before the first), and showing another.
  virtual int GetCurrentArticle() const = 0;
  virtual void SetCurrentArticle(int article) = 0;
  // The search window's list chose entry `index`; the Back button's state.
  virtual void SelectListEntry(int index) = 0;
  virtual void EnableButton(BOOL state) = 0;
  virtual CDisplay& GetDisplay() = 0;
  virtual CTimeLineSearchDlg& GetSearchWindow() = 0;
};
