// CGalleryTools: the media gallery's tool windows. One at a time stands at
// the tool rectangle, floating and owned by the main frame: the gallery's
// own media-by-subject panel or a shared window of the other screens
// (contents, bookmark list, Smart Search, Boolean, results, Tuner). The
// gallery routes the commands that open them, file their selection and move
// the focus between them and the view here.
#pragma once

#include "core/bit_string.h"
#include "framework.h"
#include "media/gallery/gallery_part.h"
#include "media/gallery/media_dlg.h"
#include "panels/tool_panel_host.h"

class CGalleryTools : public CCmdTarget {
 public:
  // The tool panels of the gallery, in the order in which they are closed.
  static constexpr ToolPanel kPanels[] = {ToolPanel::MediaSubjects, ToolPanel::Contents, ToolPanel::Bookmarks,
                                          ToolPanel::Smart,         ToolPanel::Boolean,  ToolPanel::Results,
                                          ToolPanel::Tuner};

  explicit CGalleryTools(GalleryPartOwner& view) : m_view(view) {}

  // The first window's place: the left of the main frame, under the band.
  void PlaceAtStart();
  const CRect& GetRect() const { return m_rect; }
  void SetRect(const CRect& rect) { m_rect = rect; }
  BOOL IsOpen(ToolPanel kind) const;
  // The open panel of the kind (never the subject panel), or null.
  CWnd* Get(ToolPanel kind) const;
  CMediaDlg& GetSubjectPanel() { return m_subjectPanel; }
  void Open(ToolPanel kind);
  void Close(ToolPanel kind);
  // Makes a shared tool window of another screen's kind at `rect` (screen
  // coordinates of its client area), owned by the main frame; FALSE when
  // the window cannot be made.
  BOOL CreateShared(ToolPanel kind, const CRect& rect);
  // The windows go before the view: they call back into it.
  void DestroyAll();
  // The windows follow the screen: shown while it is active, hidden else.
  void Show(BOOL show);
  void SetPalette(CPalette* palette);
  // Repaints the open windows (a palette realized or changed).
  void Redraw();
  // The frame's requests: refresh the open window of the kind, else open it.
  void ShowContents();
  void ShowBookmarks();
  // A new query's results replace every tool window; `recalled` when the
  // frame brought the query back after a screen switch (its history entry
  // is there already).
  void ShowResults(BOOL recalled);
  // The Smart Search window's "advanced" request: the Tuner in its place.
  void OpenAdvancedSearch(const CString& query, const CStringArray& terms);
  void SaveSearchState(SearchState& state);
  // The bookmarks changed: the windows that show marks repaint or reload.
  void BookmarksChanged();
  // The set a slide show walks: the subject panel's shown set while it is
  // open; FALSE else.
  BOOL GetShownSet(CBitString& set) const;

 protected:
  void CloseOthers(ToolPanel keep);
  // The articles Add Selected files: the results', else the contents', else
  // the subject panel's selection; FALSE when none of them is open.
  BOOL GetSelectedArticles(CBitString& articles) const;
  // Whether the focus is in one of the windows.
  BOOL HasFocus() const;

  void OnSubjects();
  void OnContents();
  void OnSmartSearch();
  void OnBooleanSearch();
  void OnViewBookmarks();
  void OnAddSelected();
  void OnUpdateAddSelected(CCmdUI* pCmdUI);
  void OnNextPane();
  void OnUpdatePane(CCmdUI* pCmdUI);
  DECLARE_MESSAGE_MAP()

 private:
  GalleryPartOwner& m_view;
  CRect m_rect;
  CPalette* m_palette = nullptr;
  CMediaDlg m_subjectPanel;
  // The shared tool windows' objects, kept past their windows (the windows
  // leave their objects alone when they go); each new window gets a new one.
  ScreenPanels m_tools;
};
