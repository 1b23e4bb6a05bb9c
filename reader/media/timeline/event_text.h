// CTimelineEventText: what the timeline does with the shown event's text in
// its display: copying it (all or the selection) and saving it, each with
// the notice block, and the note and highlight modes and clearing the
// highlights. The timeline routes those commands here.
#pragma once

#include "framework.h"
#include "media/timeline/timeline_part.h"

class CTimelineEventText : public CCmdTarget {
 public:
  enum class SaveOutcome { Saved, Empty, NotCreated, NotWritten };
  // The notices that close copied, saved and printed text.
  static constexpr const char* kProductNotice = "Copyright The Marovan & World Encyclopedia. All rights reserved.";
  static constexpr const char* kTimelineNotice =
      "Timeline text copyright the Marovan Timeline editors. All rights reserved.";

  explicit CTimelineEventText(TimelinePartOwner& view) : m_view(view) {}

  // The notice block of copied and saved text.
  static CString NoticeBlock();
  // Whether a bookmark folder holds the article: only a filed event keeps
  // notes and highlights.
  static BOOL IsFiled(int article);
  // Text of the display (all, or the selection) with the notice block; empty
  // when the display gives none.
  CString TextWithNotice(BOOL selectionOnly);
  // Writes the article and the notice block to the file.
  SaveOutcome SaveTo(const char* path);

 protected:
  void OnSave();
  void OnCopySelected();
  void OnCopyEvent();
  void OnUpdateCopySelected(CCmdUI* pCmdUI);
  void OnUpdateEventCommand(CCmdUI* pCmdUI);
  void OnAnnotation();
  void OnHighlight();
  void OnClearHighlights();
  void OnUpdateAnnotation(CCmdUI* pCmdUI);
  void OnUpdateHighlight(CCmdUI* pCmdUI);
  void OnUpdateClearHighlights(CCmdUI* pCmdUI);
  DECLARE_MESSAGE_MAP()

 private:
  TimelinePartOwner& m_view;
};
