#include "search/filter_toggles.h"

#include <algorithm>
#include <cstring>

#include "core/reader_context.h"

namespace {

// Bitmaps of the toggles (in the order of search::kToggleIds) by owner kind.
constexpr UINT kToggleBitmaps[4][search::kToggleCount] = {
    {4250, 2015, 4251, 4252, 4253, 4254, 4255, 2009, 2006, 2008, 2007, 2005, 2010, 4119},
    {4290, 4292, 4294, 4296, 4298, 4301, 4302, 4286, 4289, 4285, 4284, 4288, 4287, 4283},
    {4291, 4293, 4295, 4297, 4299, 4300, 4303, 2167, 2168, 2169, 2170, 4144, 2171, 2172},
    {6056, 6058, 6062, 6061, 6068, 6064, 6059, 6065, 6069, 6063, 6060, 6067, 6066, 6057},
};

}  // namespace

BOOL CFilterToggles::Create(CWnd* parent, int kind) {
  for (int i = 0; i < search::kToggleCount; ++i)
    if (!m_buttons[i].Create(CRect(0, 0, 0, 0), parent, kToggleBitmaps[kind][i], kToggleStyle, search::kToggleIds[i], 0,
                             1, 0))
      return FALSE;
  return TRUE;
}

int CFilterToggles::Layout(const CRect& client) {
  int rowHeight = 0;
  for (CODButton& button : m_buttons) rowHeight = std::max(rowHeight, static_cast<int>(button.GetFrameSize().cy));
  m_mediaTop = client.bottom - kBottomGap - rowHeight;
  m_sourceTop = m_mediaTop - kRowGap - rowHeight;
  int sourceX = 3, mediaX = 3;
  for (int i = 0; i < search::kToggleCount; ++i) {
    CODButton& button = m_buttons[i];
    if (button.GetSafeHwnd() == nullptr) continue;
    const CSize size = button.GetFrameSize();
    const BOOL source = i < search::kSourceToggles;
    int& x = source ? sourceX : mediaX;
    const int top = source ? m_sourceTop : m_mediaTop;
    button.SetWindowPos(nullptr, x, top + rowHeight - size.cy, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    x += size.cx;
  }
  return m_sourceTop;
}

void CFilterToggles::SetChecked(const BOOL (&checked)[search::kToggleCount]) {
  for (int i = 0; i < search::kToggleCount; ++i) m_buttons[i].SetCheck(checked[i] ? 1 : 0);
}

void CFilterToggles::GetChecked(BOOL (&checked)[search::kToggleCount]) const {
  for (int i = 0; i < search::kToggleCount; ++i) checked[i] = m_buttons[i].GetCheck() != 0;
}

BOOL CFilterToggles::Flip(UINT id) {
  const int index = search::ToggleIndex(id);
  if (index < 0) return FALSE;
  m_buttons[index].SetCheck(m_buttons[index].GetCheck() ? 0 : 1);
  return TRUE;
}

void CFilterToggles::PaintCaptions(CDC& dc, int bandBrush, const char* sourceCaption, const char* mediaCaption) {
  CSkinEnvironment& skin = Skin();
  CFont* old = dc.SelectObject(skin.GetFont(FontSmall));
  dc.SetBkMode(TRANSPARENT);
  dc.SetTextColor(RGB(255, 255, 255));
  const struct {
    const char* text;
    int rowTop;
  } captions[] = {{sourceCaption, m_sourceTop}, {mediaCaption, m_mediaTop}};
  for (const auto& caption : captions) {
    CSize size = dc.GetTextExtent(caption.text, static_cast<int>(std::strlen(caption.text)));
    CRect area(3, caption.rowTop - 2 - size.cy, 3 + size.cx + 8, caption.rowTop - 1);
    dc.FillRect(&area, skin.GetBrush(bandBrush));
    dc.DrawText(caption.text, -1, &area, DT_CENTER | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX);
  }
  dc.SelectObject(old);
}

void CFilterToggles::SetsOf(ReaderContext& app, search::ToggleSets (&sets)[search::kToggleCount]) {
  const CBitString* table[search::kToggleCount][3] = {
      {&app.m_mrvBits, nullptr, nullptr},           {&app.m_hspBits, &app.m_mrvBits, nullptr},
      {&app.m_tdwBits, nullptr, nullptr},           {&app.m_urlBits, &app.m_updatesBits, nullptr},
      {&app.m_vornBits, nullptr, nullptr},          {&app.m_multBits, nullptr, nullptr},
      {&app.m_tmlBits, nullptr, nullptr},           {&app.m_picBits, nullptr, nullptr},
      {&app.m_videoBits, &app.m_animBits, nullptr}, {&app.m_mapBits, nullptr, nullptr},
      {&app.m_graphBits, nullptr, nullptr},         {&app.m_tableBits, nullptr, nullptr},
      {&app.m_soundBits, nullptr, nullptr},         {&app.m_clkmapBits, &app.m_clkpicBits, &app.m_knvrBits},
  };
  for (int i = 0; i < search::kToggleCount; ++i)
    for (int k = 0; k < 3; ++k) sets[i].sets[k] = table[i][k];
}
