#include "dictionary/dict_panels.h"

#include "reader/dictionary_ids.h"

CWordListDlg& CDictPanels::Of(int panel) {
  return m_panels[panel >= 0 && panel < dict::kPanelCount ? panel : dict::kKeyPanel];
}

CRect CDictPanels::PlaceRect(int index) const { return m_layout.panels[index < 0 || index > 5 ? 0 : index]; }

// Finds the places of the panels `open` names and moves the open ones
// there, all but `skip` (the one about to open); returns the place of `skip`.
int CDictPanels::Arrange(const bool open[dict::kPanelCount], int skip) {
  int place[dict::kPanelCount];
  dict::PlacePanels(open, place);
  for (int p = 0; p < dict::kPanelCount; ++p) {
    if (p == skip || place[p] < 0 || !Of(p).IsOpen()) continue;
    const CRect rect = PlaceRect(place[p]);
    Of(p).SetWindowPos(nullptr, rect.left, rect.top, rect.Width(), rect.Height(), SWP_NOZORDER | SWP_NOACTIVATE);
  }
  return skip >= 0 ? place[skip] : -1;
}

void CDictPanels::PlaceOpen() {
  bool open[dict::kPanelCount];
  for (int p = 0; p < dict::kPanelCount; ++p) open[p] = Of(p).IsOpen();
  Arrange(open, -1);
}

BOOL CDictPanels::Open(int panel, int panelMode, int lift) {
  bool open[dict::kPanelCount];
  for (int p = 0; p < dict::kPanelCount; ++p) open[p] = p == panel || Of(p).IsOpen();
  const int place = Arrange(open, panel);
  CRect rect = PlaceRect(place < 0 ? 0 : place);
  rect.OffsetRect(0, -lift);
  return Of(panel).CreateOrReopen(rect, IDD_WORD_LIST, panelMode, &m_owner) != 0;
}

void CDictPanels::Close(int panel) {
  CWordListDlg& dialog = Of(panel);
  if (dialog.IsOpen()) dialog.DestroyWindow();
}

void CDictPanels::CloseAll() {
  for (int p = 0; p < dict::kPanelCount; ++p) Close(p);
}

void CDictPanels::OpenForMode(int mode) {
  switch (mode) {
    case dict::kThesaurus: Open(dict::kSynonymsPanel, CWordListDlg::kSynonyms); break;
    case dict::kDictionaryThesaurus:
      Open(dict::kHeadwordsPanel, CWordListDlg::kHeadwords);
      Open(dict::kSynonymsPanel, CWordListDlg::kSynonyms);
      break;
    case dict::kFrenchEnglish:
    case dict::kEnglishFrench:
    case dict::kDictionary: Open(dict::kHeadwordsPanel, CWordListDlg::kHeadwords); break;
    default: break;
  }
}

void CDictPanels::CloseKey(int mode) {
  if (!IsOpen(dict::kKeyPanel)) return;
  Close(dict::kKeyPanel);
  OpenForMode(mode);
}

void CDictPanels::Fill(int panel, const CStringArray& lines, const CDWordArray* data) {
  CWordListDlg& dialog = Of(panel);
  CScrollListBox& list = dialog.List();
  list.SetRedraw(FALSE);
  list.ResetContent();
  for (int i = 0; i < lines.GetSize(); ++i) {
    const int row = list.AddString(lines[i]);
    if (data != nullptr && row >= 0) list.SetItemData(row, (*data)[i]);
  }
  if (list.GetCount() > 0) list.SetCurSel(0);
  list.SetRedraw(TRUE);
  list.Invalidate();
  dialog.Refresh();
  dialog.SetFocus();
}
