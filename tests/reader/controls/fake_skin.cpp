#include "fake_skin.h"

#include <gtest/gtest.h>

#include <cstdio>

namespace {

// The application object of the control tests.
class CControlsTestApp : public CWinApp {
 public:
  CControlsTestApp() : CWinApp("Controls Tests") {}
};
CControlsTestApp theApp;

int UnexpectedBox(HWND, LPCTSTR text, LPCTSTR, UINT) {
  ADD_FAILURE() << "unexpected message box: " << text;
  return IDCANCEL;
}
const bool boxesFail = [] {
  AfxSetMessageBoxHook(UnexpectedBox);
  return true;
}();

}  // namespace

void CFakeSkin::SetFontHeight(int index, int height) {
  LOGFONT face{};
  face.lfHeight = -height;
  face.lfWeight = index == 1 ? FW_BOLD : FW_NORMAL;
  face.lfItalic = index == 2 ? TRUE : FALSE;
  face.lfQuality = NONANTIALIASED_QUALITY;
  lstrcpyA(face.lfFaceName, "Arial");
  m_fonts[index].DeleteObject();
  m_fonts[index].CreateFontIndirect(&face);
}

CFakeSkin::CFakeSkin() {
  for (int i = 0; i < 15; ++i) m_brushes[i].CreateSolidBrush(BrushColour(i));
  for (int i = 0; i < 13; ++i) SetFontHeight(i, 12);
  CClientDC screen(nullptr);
  CFont* old = screen.SelectObject(&m_fonts[12]);
  TEXTMETRIC metrics{};
  screen.GetTextMetrics(&metrics);
  screen.SelectObject(old);
  m_measuredLineHeight = metrics.tmHeight + metrics.tmExternalLeading;
  m_lineHeight = m_measuredLineHeight;
  struct {
    LOGPALETTE header;
    PALETTEENTRY more[1];
  } palette{};
  palette.header.palVersion = 0x300;
  palette.header.palNumEntries = 2;
  palette.header.palPalEntry[0] = PALETTEENTRY{0, 0, 0, 0};
  palette.more[0] = PALETTEENTRY{255, 255, 255, 0};
  m_palette.CreatePalette(&palette.header);

  // The controls' own pictures in their shipped sizes.
  for (UINT id : {4034u, 4031u, 1201u, 1200u, 4154u, 4155u, 4172u, 4168u}) Define(id, 13, 8, 3);
  for (UINT id : {4033u, 1204u, 4156u, 4153u}) Define(id, 13, 11);
  Define(4223, 13, 8);
  Define(4222, 13, 8);
  Define(4157, 8, 13);
  Define(1073, 8, 13);
  Define(1035, 100, 6);
  Define(1036, 11, 16);
  Define(1222, 11, 7);
  SetSkinEnvironment(this);
}

CFakeSkin::~CFakeSkin() { SetSkinEnvironment(nullptr); }

COLORREF CFakeSkin::BrushColour(int index) { return RGB(20 + 10 * index, 200 - 9 * index, 60 + 5 * index); }

COLORREF CFakeSkin::FrameColour(UINT id, int frame) {
  return RGB(16 + (id * 7) % 200, 30 + 70 * frame, 16 + (id / 7) % 200);
}

COLORREF CFakeSkin::IconColour(UINT image) { return RGB(250, (image * 3) % 200, 10); }

BOOL CFakeSkin::LoadDIB(UINT id, CBitmap& bitmap) {
  const auto found = m_bitmaps.find(id);
  if (found == m_bitmaps.end()) return FALSE;
  const SyntheticBitmap& spec = found->second;
  CClientDC screen(nullptr);
  bitmap.DeleteObject();
  bitmap.CreateCompatibleBitmap(&screen, spec.frameWidth * spec.frames, spec.height);
  CDC memory;
  memory.CreateCompatibleDC(&screen);
  CBitmap* old = memory.SelectObject(&bitmap);
  for (int frame = 0; frame < spec.frames; ++frame) {
    memory.FillSolidRect(frame * spec.frameWidth, 0, spec.frameWidth, spec.height, FrameColour(id, frame));
  }
  memory.SelectObject(old);
  return TRUE;
}

BOOL CFakeSkin::GetArticleIcons(int article, UINT& image, UINT& mask) {
  const auto found = m_articleIcons.find(article);
  image = found == m_articleIcons.end() ? 0 : found->second;
  mask = image == 0 ? 0 : image + 1;
  return image != 0;
}

CSize CFakeSkin::DrawTransparent(CDC* dc, UINT image, UINT, int x, int y, UINT flags) {
  if (flags & 0x8) y -= kIconSize;
  if (flags & 0x4) y -= kIconSize / 2;
  dc->FillSolidRect(x, y, kIconSize, kIconSize, IconColour(image));
  return CSize(kIconSize, kIconSize);
}

int CFakeSkin::LookupTitle(int article, char* buffer) {
  m_titleCalls.push_back(article);
  const auto found = m_titles.find(article);
  if (found != m_titles.end()) {
    std::snprintf(buffer, 255, "%s", found->second.c_str());
  } else {
    std::snprintf(buffer, 255, "Article %d", article);
  }
  return 1;
}

BOOL CFakeSkin::ReadCategories(int variant, CCategoryList& list) {
  m_categoryVariants.push_back(variant);
  if (!m_categoriesReadable) return FALSE;
  list.RemoveAll();
  for (int i = 0; i < m_categories.GetCount(); ++i) {
    list.m_titles.Add(m_categories.m_titles[i]);
    list.m_levels.Add(m_categories.m_levels[i]);
  }
  list.MarkChildren();
  return TRUE;
}

SkinTest::SkinTest() { parent.ShowWindow(SW_SHOWNA); }

SkinTest::~SkinTest() { ui::PumpUntilIdle(200); }

HWND SkinTest::MakeListBox(UINT id, DWORD styles, const RECT& rect) {
  return ::CreateWindowExA(0, "LISTBOX", "", WS_CHILD | WS_VISIBLE | WS_BORDER | styles, rect.left, rect.top,
                           rect.right - rect.left, rect.bottom - rect.top, parent.GetSafeHwnd(),
                           reinterpret_cast<HMENU>(static_cast<UINT_PTR>(id)), ::GetModuleHandleA(nullptr), nullptr);
}

std::vector<MSG> SkinTest::Commands(UINT id, UINT code) const {
  std::vector<MSG> found;
  for (const MSG& msg : parent.Of(WM_COMMAND)) {
    if (LOWORD(msg.wParam) == id && HIWORD(msg.wParam) == code) found.push_back(msg);
  }
  return found;
}
