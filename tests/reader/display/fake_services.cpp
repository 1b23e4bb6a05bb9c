#include "fake_services.h"

#include <cstdio>

namespace displaytest {

namespace {

class CDisplayTestApp : public CWinApp {
 public:
  CDisplayTestApp() : CWinApp("Display Tests") {}
};
CDisplayTestApp theApp;

int UnexpectedBox(HWND, LPCTSTR text, LPCTSTR, UINT) {
  ADD_FAILURE() << "unexpected message box: " << text;
  return IDCANCEL;
}
const bool boxesFail = [] {
  AfxSetMessageBoxHook(UnexpectedBox);
  return true;
}();

void Make(CFont& font, int height, int weight, BOOL italic, BOOL underline) {
  LOGFONT face{};
  face.lfHeight = -height;
  face.lfWeight = weight;
  face.lfItalic = static_cast<BYTE>(italic);
  face.lfUnderline = static_cast<BYTE>(underline);
  face.lfQuality = NONANTIALIASED_QUALITY;
  lstrcpyA(face.lfFaceName, "Arial");
  font.CreateFontIndirect(&face);
}

}  // namespace

bool CFakeStore::FindAnnotations(int article, display::StoredAnnotations& out) {
  const auto found = records.find(article);
  if (found == records.end()) return false;
  out = found->second;
  return true;
}

void CFakeStore::RemoveBookmark(int article) {
  ++removed;
  records.erase(article);
}

void CFakeStore::AddBookmarkNote(int article, const std::string& text, int position) {
  records[article].notes.push_back(display::StoredNote{text, position});
}

void CFakeStore::AddHighlight(int article, int first, int last) {
  records[article].highlights.emplace_back(first, last);
}

COLORREF CFakeServices::BrushColour(int index) { return RGB(20 + 10 * index, 200 - 9 * index, 60 + 5 * index); }

COLORREF CFakeServices::FrameColour(UINT id, int frame) {
  return RGB(16 + (id * 7) % 200, 30 + 70 * frame, 16 + (id / 7) % 200);
}

CFakeServices::CFakeServices() {
  Make(m_article[0], 13, FW_NORMAL, FALSE, FALSE);
  Make(m_article[1], 13, FW_BOLD, FALSE, FALSE);
  Make(m_article[2], 13, FW_NORMAL, TRUE, FALSE);
  Make(m_article[3], 13, FW_BOLD, TRUE, FALSE);
  Make(m_article[4], 9, FW_NORMAL, FALSE, FALSE);
  Make(m_article[5], 9, FW_NORMAL, FALSE, FALSE);
  Make(m_article[6], 13, FW_NORMAL, FALSE, TRUE);
  Make(m_article[7], 12, FW_NORMAL, FALSE, FALSE);
  Make(m_article[8], 13, FW_NORMAL, FALSE, FALSE);
  for (CFont& font : m_fonts) Make(font, 12, FW_NORMAL, FALSE, FALSE);
  for (int i = 0; i < 15; ++i) m_brushes[i].CreateSolidBrush(BrushColour(i));
  m_dialogBrush.CreateSolidBrush(RGB(192, 192, 192));
  m_progressBrush.CreateSolidBrush(RGB(0, 128, 0));
  m_colours[kColoursNormal] = {RGB(0, 0, 0), RGB(255, 255, 255)};
  m_colours[kColoursSelected] = {RGB(255, 255, 255), RGB(0, 0, 0)};
  m_colours[kColoursHighlighted] = {RGB(0, 0, 0), kHighlight};
  m_colours[kColoursFindHit] = {RGB(255, 255, 255), kSearch};
  m_colours[kColoursCrossReference] = {kCrossRef, RGB(255, 255, 255)};
  struct {
    LOGPALETTE header;
    PALETTEENTRY more[1];
  } palette{};
  palette.header.palVersion = 0x300;
  palette.header.palNumEntries = 2;
  palette.header.palPalEntry[0] = PALETTEENTRY{0, 0, 0, 0};
  palette.more[0] = PALETTEENTRY{255, 255, 255, 0};
  m_palette.CreatePalette(&palette.header);

  // The background: 2 x 2 pixels of four colours.
  CClientDC screen(nullptr);
  m_background.CreateCompatibleBitmap(&screen, 2, 2);
  CDC memory;
  memory.CreateCompatibleDC(&screen);
  CBitmap* old = memory.SelectObject(&m_background);
  memory.SetPixel(0, 0, RGB(255, 0, 0));
  memory.SetPixel(1, 0, RGB(0, 255, 0));
  memory.SetPixel(0, 1, RGB(0, 0, 255));
  memory.SetPixel(1, 1, RGB(255, 0, 255));
  memory.SelectObject(old);

  // The display's scroll bars, in their shipped sizes.
  for (UINT id : {4034u, 4031u, 4035u, 4032u, 1201u, 1200u, 1203u, 1202u, 4172u, 4168u, 4173u, 4169u}) {
    Define(id, 13, 8, 3);
  }
  for (UINT id : {4033u, 1204u, 4153u}) Define(id, 13, 11, 1);
  // The dialogs' buttons.
  Define(1151, 60, 22, 5);
  for (UINT id : {1083u, 4274u, 6074u}) Define(id, 16, 16, 5);
  for (UINT id : {4194u, 6125u, 2131u, 4275u, 6126u, 6112u, 6096u, 6124u, 6110u}) Define(id, 56, 20, 5);
  SetDisplayServices(this);
  SetSkinEnvironment(this);
}

CFakeServices::~CFakeServices() {
  SetDisplayServices(nullptr);
  SetSkinEnvironment(nullptr);
}

void CFakeServices::Define(UINT id, int frameWidth, int height, int frames) {
  m_bitmaps[id] = Synthetic{frameWidth, height, frames};
}

BOOL CFakeServices::LoadDIB(UINT id, CBitmap& bitmap) {
  loaded.push_back(id);
  const auto found = m_bitmaps.find(id);
  if (found == m_bitmaps.end()) return FALSE;
  const Synthetic& spec = found->second;
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

CString CFakeServices::LookupTitle(int article) {
  char buffer[64];
  std::snprintf(buffer, sizeof buffer, "Title %d", article);
  return buffer;
}

int CFakeServices::LookupTitle(int article, char* buffer) {
  std::snprintf(buffer, 255, "Title %d", article);
  return 1;
}

BOOL CFakeServices::ReadMediaItem(int item, CString& title, int& kind) {
  char buffer[64];
  std::snprintf(buffer, sizeof buffer, "Item %d", item);
  title = buffer;
  kind = item % 10;
  return item != 0;
}

CWnd* CFakeServices::CreateThumbnail(CWnd* display, const CRect& rect, UINT controlId, int itemIndex) {
  auto* window = new CWnd;
  if (!window->Create(AfxRegisterWndClass(0), "", WS_CHILD | WS_VISIBLE, rect, display, controlId)) {
    delete window;
    return nullptr;
  }
  thumbnails.push_back(Thumbnail{rect, controlId, itemIndex});
  return window;
}

}  // namespace displaytest
