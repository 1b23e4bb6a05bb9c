// CDisplay: find hits, notes and highlights, copying and printing runs.
#include <algorithm>
#include <cstring>

#include "display/display.h"
#include "display/text_copy.h"
#include "display/text_print.h"

using display::kNone;

// ---------------------------------------------------------------------------
// Finding words

int CDisplay::FindWords(LPCTSTR query, BOOL matchCase, BOOL wholeWord, BOOL goToFirst) {
  const std::vector<int> hits =
      display::FindWords(m_model, m_find, query != nullptr ? query : "", matchCase != FALSE, wholeWord != FALSE);
  RepaintRuns(hits);
  if (!hits.empty()) m_bar.EnableHitButtons();
  if (m_find.count > 0 && goToFirst) GoToHit(+1, FALSE);
  return m_find.count;
}

void CDisplay::ClearFindHits() {
  m_bar.DisableHitButtons();
  if (!display::ClearFindHits(m_model, m_find)) return;
  if (m_hWnd != nullptr && IsWindowVisible()) {
    m_bar.Redraw();
    Invalidate();
  }
}

void CDisplay::GoToHit(int step, BOOL force) {
  const int run = display::NextHitRun(m_model, m_bar.TopLine(), step);
  if (run != kNone) ScrollToRun(run, force);
}

// ---------------------------------------------------------------------------
// Notes and highlights

CNoteIcon* CDisplay::AddNote(int run, LPCTSTR text, BOOL changed) {
  int line = m_model.LineOfRun(run);
  if (line == kNone) line = m_model.LineCount() - 1;
  const int y = line >= 0 ? m_model.LineTop(line) : 0;
  std::vector<int> tops;
  for (const Note& note : m_notes) tops.push_back(note.top);
  const display::NotePlace place = display::PlaceNote(tops, y);

  CRect client;
  GetClientRect(&client);
  const int offset = GetTopOffset();
  auto* icon = new CNoteIcon;
  const CRect rect(client.right - 33, place.top - offset, client.right - 33 + display::kNoteSize,
                   place.top - offset + display::kNoteSize);
  const UINT id = 1000 + static_cast<UINT>(m_notes.size()) + 1;
  if (!icon->Create(WS_CHILD | WS_VISIBLE, rect, this, id)) {
    delete icon;
    return nullptr;
  }
  icon->SetTextPosition(run);
  m_notes.insert(m_notes.begin() + place.index, Note{icon, place.top});
  tops.insert(tops.begin() + place.index, place.top);
  m_annotationsChanged = changed;

  const std::vector<int> moved = display::PushNotesDown(tops, place.index);
  if (!moved.empty()) {
    HDWP positions = ::BeginDeferWindowPos(static_cast<int>(moved.size()));
    for (int i : moved) {
      Note& note = m_notes[static_cast<std::size_t>(i)];
      note.top = tops[static_cast<std::size_t>(i)];
      if (positions != nullptr) {
        positions = ::DeferWindowPos(positions, note.icon->GetSafeHwnd(), nullptr, client.right - 33, note.top - offset,
                                     0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
      }
    }
    if (positions != nullptr) ::EndDeferWindowPos(positions);
  }
  if (text != nullptr) {
    icon->SetNoteText(text);
  } else {
    SetNoteMode(FALSE);
    ::SetCursor(m_arrowCursor);
  }
  return icon;
}

void CDisplay::RemoveChild(CWnd* child) {
  const auto found = std::find_if(m_notes.begin(), m_notes.end(), [&](const Note& note) { return note.icon == child; });
  if (found == m_notes.end()) return;
  const int id = found->icon->GetSafeHwnd() != nullptr ? found->icon->GetDlgCtrlID() : 0;
  m_notes.erase(found);
  // The ids stay 1001 .. 1000 + count, in the order the notes were made.
  for (const Note& note : m_notes) {
    const int other = note.icon->GetDlgCtrlID();
    if (id != 0 && other > id) note.icon->SetDlgCtrlID(other - 1);
  }
  m_annotationsChanged = TRUE;
}

void CDisplay::EditNote(CNoteIcon* icon) { DisplayServices().EditNote(GetParent(), icon); }

void CDisplay::StoreAnnotations(int article) {
  if (!m_annotationsChanged) return;
  m_annotationsChanged = FALSE;
  std::vector<display::StoredNote> notes;
  for (int i = 0; i < GetNoteCount(); ++i) {
    const int id = 1001 + i;
    for (const Note& note : m_notes) {
      if (note.icon->GetDlgCtrlID() != id) continue;
      notes.push_back(
          display::StoredNote{static_cast<LPCTSTR>(note.icon->GetNoteText()), note.icon->GetTextPosition()});
      break;
    }
  }
  display::StoreAnnotations(DisplayServices().Annotations(), article, notes, m_model);
}

void CDisplay::RestoreAnnotations(int article) {
  std::vector<display::StoredNote> notes;
  if (!display::RestoreAnnotations(DisplayServices().Annotations(), article, m_model, notes)) return;
  for (const display::StoredNote& note : notes) AddNote(std::max(note.position, 0), note.text.c_str(), FALSE);
  if (m_hWnd != nullptr) Invalidate(FALSE);
}

void CDisplay::ClearHighlights() {
  m_annotationsChanged = TRUE;
  m_model.ClearMark(display::kMarkHighlighted);
  if (m_hWnd != nullptr) RedrawWindow(nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
}

// ---------------------------------------------------------------------------
// Copying

HGLOBAL CDisplay::GlobalText(const std::string& text) {
  if (text.empty()) return nullptr;
  HGLOBAL block = ::GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT, text.size() + 1);
  if (block == nullptr) return nullptr;
  void* bytes = ::GlobalLock(block);
  if (bytes == nullptr) {
    ::GlobalFree(block);
    return nullptr;
  }
  std::memcpy(bytes, text.data(), text.size());
  ::GlobalUnlock(block);
  return block;
}

int CDisplay::CopyAll(HGLOBAL* handle) {
  const std::string text = display::CopyAll(m_model);
  *handle = GlobalText(text);
  return *handle != nullptr ? static_cast<int>(text.size()) : 0;
}

int CDisplay::CopySelection(HGLOBAL* handle) {
  const std::string text = display::CopySelection(m_model);
  *handle = GlobalText(text);
  return *handle != nullptr ? static_cast<int>(text.size()) : 0;
}

// ---------------------------------------------------------------------------
// Printing

// A printer page: the article fonts as the print job made them for the
// printer's device context, black text.
class CDisplay::Printer : public display::PrintSurface {
 public:
  explicit Printer(CDC* dc) : m_dc(dc) {}
  display::Extent Measure(int style, const char* text, int length) override {
    Select(style);
    const CSize size = m_dc->GetTextExtent(text, length);
    return display::Extent{size.cx, size.cy};
  }
  int LineHeight() override {
    Select(display::kStyleNormal);
    TEXTMETRIC metrics{};
    m_dc->GetTextMetrics(&metrics);
    return metrics.tmHeight + metrics.tmExternalLeading;
  }
  void Draw(int style, int x, int y, const char* text, int length) override {
    Select(style);
    m_dc->TextOut(x, y, text, length);
  }

 private:
  void Select(int style) {
    if (style == m_style) return;
    m_dc->SelectObject(DisplayServices().GetArticleFont(style));
    m_style = style;
  }
  CDC* m_dc;
  int m_style = -1;
};

int CDisplay::PrintRuns(CDC* dc, CPrintInfo* info, int firstRun) {
  const BOOL selection = info->m_pPD != nullptr && info->m_pPD->PrintSelection();
  const int saved = dc->SaveDC();
  dc->SelectObject(DisplayServices().GetArticleFont(display::kStyleNormal));
  dc->SetTextAlign(TA_TOP | TA_LEFT | TA_NOUPDATECP);
  dc->SetBkMode(TRANSPARENT);
  dc->SetTextColor(RGB(0, 0, 0));
  // A word wider than the page is cut at the right edge. Nothing else is
  // cut: the layout keeps every line inside the page, and a page's first
  // line taller than it shows whole.
  CRect device;
  dc->GetClipBox(&device);
  if (device.right > info->m_rectDraw.right)
    dc->ExcludeClipRect(info->m_rectDraw.right, device.top, device.right, device.bottom);
  Printer printer(dc);
  CWnd* parent = GetParent();
  const bool dictionaryLines = parent != nullptr && DisplayServices().IsDictionaryListMode(parent);
  const int next =
      display::PrintPage(m_model, printer, info->m_rectDraw, firstRun, selection != FALSE, dictionaryLines);
  dc->RestoreDC(saved);
  return next;
}
