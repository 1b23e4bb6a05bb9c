#include "dictionary/dict_conjugation.h"

#include <cstring>

#include "controls/od_button.h"
#include "controls/plain_list_box.h"
#include "dictionary/dict_panels.h"
#include "dictionary/dict_window_helpers.h"
#include "display/display.h"
#include "reader/dictionary_ids.h"
#include "zorlre/in_api.h"
#include "zorlre/zorlre32.h"

namespace {

// A conjugation cell's forms as one value text.
CString CellValue(const InTableCell& cell) {
  CString value;
  for (int f = 0; f < cell.formCount && f < static_cast<int>(InCellForms); ++f) {
    if (cell.forms[f][0] == '\0') continue;
    if (!value.IsEmpty()) value += ", ";
    value += cell.forms[f];
  }
  return value;
}

// The cell's words without the blank that joins them to the forms (the
// painter puts its own).
CString CellLabel(const InTableCell& cell) {
  CString label(cell.text);
  label.TrimRight();
  return label;
}

}  // namespace

BEGIN_MESSAGE_MAP(CDictConjugation, CCmdTarget)
ON_BN_CLICKED(IDC_DICT_CONJUGATE, OnConjugate)
END_MESSAGE_MAP()

CDictConjugation::CDictConjugation(DictPartOwner& view)
    : CDictPart(view), m_context(std::make_unique<InTableContext>()) {
  std::memset(m_context.get(), 0, sizeof(InTableContext));
}

CDictConjugation::~CDictConjugation() = default;

// The engine's result is not needed: Conjugate asks the context whether
// tables were found.
void CDictConjugation::Start(const char* directory) {
  std::memset(m_context.get(), 0, sizeof(InTableContext));
  std::strncpy(m_context->ramDirectory, directory, InDirectorySize - 1);
  std::strncpy(m_context->dskDirectory, directory, InDirectorySize - 1);
  m_context->ramName = m_ramName;
  m_context->dskName = m_dskName;
  m_context->mode = 0;
  INinit(m_context.get());
}

void CDictConjugation::Stop() { INterm(m_context.get()); }

void CDictConjugation::OnConjugate() {
  InTableContext& context = *m_context;
  if (context.descriptorPresent == 0 || (context.flags & 0xA0) != 0xA0) return;
  CString word = m_view.GetWord();
  if (word.IsEmpty()) return;
  if (word.GetLength() > 80) word = word.Left(80);
  context.labelLanguage = InFrench;
  context.mode = InModeReady;
  char text[81] = "";
  std::strncpy(text, word, sizeof text - 1);
  if (INflect(text, &context) != 2 || context.tableCount <= 0 || context.tables[0] == nullptr) {
    CString message;
    message.Format("There is no conjugation for %s.", static_cast<LPCTSTR>(word));
    AfxMessageBox(message, MB_ICONEXCLAMATION | MB_OK);
    return;
  }
  CDictPanels& panels = m_view.Panels();
  for (int panel : {dict::kKeyPanel, dict::kAlternativesPanel, dict::kHeadwordsPanel}) panels.Close(panel);
  for (UINT id : {IDC_DICT_SEARCH, IDC_DICT_ANAGRAM, IDC_DICT_WILDCARD})
    if (CODButton* b = m_view.Button(id)) b->EnableWindow(FALSE);
  if (panels.Open(dict::kTensesPanel, CWordListDlg::kTenses)) {
    const InTableRecord& table = *context.tables[0];
    CStringArray tenses;
    for (int i = 0; i < table.lineCount; ++i) tenses.Add(table.lines[i].text);
    panels.Fill(dict::kTensesPanel, tenses, nullptr);
  }
  CFrameListBox& window = m_view.ConjugationWindow();
  if (dict::Shown(window)) {
    window.RedrawWindow(nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
  } else {
    window.ShowWindow(SW_SHOW);
  }
  m_view.Display().ShowWindow(SW_HIDE);
  m_view.EnablePrintSave(FALSE);
  m_view.View().InvalidateRect(&m_view.HeadingRect());
  m_view.View().UpdateWindow();
}

void CDictConjugation::Repaint() {
  CFrameListBox& window = m_view.ConjugationWindow();
  if (window.GetSafeHwnd() != nullptr)
    window.RedrawWindow(nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
}

void CDictConjugation::Hide() {
  m_view.ConjugationWindow().ShowWindow(SW_HIDE);
  m_view.Display().ShowWindow(SW_SHOW);
  CView& view = m_view.View();
  view.InvalidateRect(&m_view.Layout().display);
  view.InvalidateRect(&m_view.HeadingRect());
  view.UpdateWindow();
  m_view.UpdateWordButtons();
}

int CDictConjugation::GetSelection() {
  CWordListDlg& tenses = m_view.Panels().Of(dict::kTensesPanel);
  if (!tenses.IsOpen() || m_context->tableCount <= 0 || m_context->tables[0] == nullptr) return -1;
  const int row = tenses.List().GetCurSel();
  return row < m_context->tables[0]->lineCount ? row : -1;
}

void CDictConjugation::GetLabelledValues(int row, CStringArray& commonLabels, CStringArray& commonValues,
                                         CStringArray& itemLabels, CStringArray& itemValues) {
  if (m_context->tableCount <= 0 || m_context->tables[0] == nullptr) return;
  const InTableRecord& table = *m_context->tables[0];
  for (int i = 0; i < table.titleCount; ++i) {
    commonLabels.Add(CellLabel(table.titles[i]));
    commonValues.Add(CellValue(table.titles[i]));
  }
  if (row < 0 || row >= table.lineCount) return;
  const InTableLine& line = table.lines[row];
  for (int i = 0; i < line.cellCount && i < static_cast<int>(InLineCells); ++i) {
    itemLabels.Add(CellLabel(line.cells[i]));
    itemValues.Add(CellValue(line.cells[i]));
  }
}
