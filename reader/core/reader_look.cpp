// The drawing resources every window shares: brushes, fonts, text colours,
// the icon pairs and the transparent painter, the article icon rule, bitmaps
// from resources and the printer's margins.
#include "core/reader_look.h"

#include <cstdio>
#include <vector>

#include "core/reader_content.h"
#include "packed_dib.h"
#include "settings/settings.h"

namespace {

// Brushes by index: a pattern bitmap's id, or a solid colour.
struct BrushSource {
  UINT pattern;
  COLORREF colour;
};
constexpr BrushSource kBrushes[BrushCount] = {{3003, 0},
                                              {4041, 0},
                                              {3004, 0},
                                              {1169, 0},
                                              {4010, 0},
                                              {1168, 0},
                                              {4026, 0},
                                              {4021, 0},
                                              {4027, 0},
                                              {0, RGB(0, 0, 0)},
                                              {0, RGB(128, 128, 128)},
                                              {0, RGB(192, 192, 192)},
                                              {4060, 0},
                                              {4005, 0},
                                              {4061, 0}};

// The icon pairs by index: image and mask bitmap ids.
constexpr UINT kIcons[IconPairCount][2] = {{1090, 1181}, {1091, 1182}, {4106, 4107}, {6045, 6044}, {1255, 1256},
                                           {1273, 1274}, {4270, 4271}, {1093, 1175}, {1095, 1176}, {1092, 1174},
                                           {1098, 1180}, {1096, 1179}, {1097, 1178}, {1094, 1177}, {4184, 4185},
                                           {4117, 4118}, {1124, 1183}, {4256, 1264}, {6046, 6047}};

COLORREF ReadColour(const char* name, const char* fallback) {
  char text[30];
  GetSettingString(InstallationOptions, name, fallback, text, sizeof text, SettingsIniName);
  unsigned long value = 0;
  if (std::sscanf(text, "%lx", &value) != 1) std::sscanf(fallback, "%lx", &value);
  return static_cast<COLORREF>(value);
}

LookWindows* Windows() { return dynamic_cast<LookWindows*>(AfxGetMainWnd()); }

bool MakeFont(CFont& font, int height, int weight, bool italic, bool underline, const char* face) {
  font.DeleteObject();
  LOGFONTA logical = {};
  logical.lfHeight = height;
  logical.lfWeight = weight;
  logical.lfItalic = italic ? TRUE : FALSE;
  logical.lfUnderline = underline ? TRUE : FALSE;
  logical.lfCharSet = DEFAULT_CHARSET;
  std::snprintf(logical.lfFaceName, sizeof logical.lfFaceName, "%s", face);
  return font.CreateFontIndirect(&logical) != FALSE;
}

}  // namespace

BOOL ReaderLook::CreateBrushes() {
  HINSTANCE module = AfxGetResourceHandle();
  for (int i = 0; i < BrushCount; ++i) {
    m_brushes[i].DeleteObject();
    if (!kBrushes[i].pattern) {
      if (!m_brushes[i].CreateSolidBrush(kBrushes[i].colour)) return FALSE;
      continue;
    }
    HRSRC resource =
        ::FindResourceA(module, MAKEINTRESOURCEA(kBrushes[i].pattern), reinterpret_cast<LPCSTR>(RT_BITMAP));
    HGLOBAL loaded = resource ? ::LoadResource(module, resource) : nullptr;
    const void* dib = loaded ? ::LockResource(loaded) : nullptr;
    HBRUSH brush = dib ? ::CreateDIBPatternBrushPt(dib, DIB_RGB_COLORS) : nullptr;
    if (!brush) return FALSE;
    m_brushes[i].Attach(brush);
  }
  return TRUE;
}

void ReaderLook::LoadButtonBitmaps() {
  for (const auto& pair : kIcons) {
    auto* image = new CBitmap;
    auto* mask = new CBitmap;
    CPalette unused;
    LoadDIB(pair[0], *image, unused, TRUE, FALSE);
    mask->LoadBitmap(pair[1]);
    m_buttonImages.Add(image);
    m_buttonMasks.Add(mask);
  }
}

BOOL ReaderLook::LoadColours(BOOL notify) {
  const COLORREF black = RGB(0, 0, 0), white = RGB(255, 255, 255);
  m_colourText[ColourNormal] = black;
  m_colourBack[ColourNormal] = white;
  m_colourText[ColourSelection] = white;
  m_colourBack[ColourSelection] = black;
  m_colourText[ColourHighlighter] = black;
  m_colourBack[ColourHighlighter] = ReadColour("HighlightColour", "0x0000FFFF");
  m_colourText[ColourSearchHit] = white;
  m_colourBack[ColourSearchHit] = ReadColour("SearchColour", "0x00800000");
  m_colourText[ColourCrossRef] = ReadColour("CrossRefColour", "0x00008000");
  m_colourBack[ColourCrossRef] = white;
  if (LookWindows* windows = Windows(); notify && windows) windows->ColoursChanged();
  return TRUE;
}

namespace {

// Fonts 0-8: the article fonts for a DC.
bool MakeArticleFonts(CFont* fonts, CDC& dc) {
  char face[80];
  GetSettingString(InstallationOptions, "FontName", "Arial", face, sizeof face, SettingsIniName);
  const int points = GetSettingInt(InstallationOptions, "FontSize", 9, SettingsIniName);
  const int dpi = dc.GetDeviceCaps(LOGPIXELSY);
  const int size = ::MulDiv(points, dpi, 72);
  const int small = size - dpi / 36;
  return MakeFont(fonts[FontArticle], -size, FW_NORMAL, false, false, face) &&
         MakeFont(fonts[FontArticleBold], -size, FW_BOLD, false, false, face) &&
         MakeFont(fonts[FontArticleItalic], -size, FW_NORMAL, true, false, face) &&
         MakeFont(fonts[FontArticleBoldItalic], -size, FW_BOLD, true, false, face) &&
         MakeFont(fonts[FontRaised], -small, FW_NORMAL, true, false, face) &&
         MakeFont(fonts[FontLowered], -small, FW_NORMAL, true, false, face) &&
         MakeFont(fonts[FontCrossRef], -size, FW_NORMAL, false, true, face) &&
         MakeFont(fonts[FontSerif], -::MulDiv(9, dpi, 72), FW_NORMAL, false, false, "Times New Roman") &&
         MakeFont(fonts[FontPhonetic], -size, FW_NORMAL, false, false, "ZORL Phonetic 1998");
}

}  // namespace

BOOL ReaderLook::CreateFonts() {
  CClientDC screen(nullptr);
  if (!MakeArticleFonts(m_fonts, screen) ||
      !MakeFont(m_fonts[FontHeading], -16, FW_BOLD, false, false, "Times New Roman") ||
      !MakeFont(m_fonts[FontCaption], -13, 800, false, false, "Arial") ||
      !MakeFont(m_fonts[FontSmall], -11, FW_NORMAL, false, false, "Arial") ||
      !MakeFont(m_fonts[FontList], -12, FW_NORMAL, false, false, "Arial"))
    return FALSE;
  CFont* old = screen.SelectObject(&m_fonts[FontList]);
  TEXTMETRIC metrics = {};
  screen.GetTextMetrics(&metrics);
  screen.SelectObject(old);
  m_lineHeight = metrics.tmHeight + metrics.tmExternalLeading;
  return TRUE;
}

BOOL ReaderLook::RecreateArticleFonts(BOOL notify, CDC* dc) {
  if (dc) {
    MakeArticleFonts(m_fonts, *dc);
  } else {
    CClientDC screen(nullptr);
    MakeArticleFonts(m_fonts, screen);
  }
  if (LookWindows* windows = Windows(); notify && windows) windows->FontsChanged();
  return TRUE;
}

BOOL ReaderLook::GetArticleIcons(int article, UINT* imageId, UINT* maskId) const {
  struct Rule {
    const CBitString& set;
    UINT image, mask;
  };
  const auto pick = [&](std::initializer_list<Rule> rules) {
    for (const Rule& rule : rules)
      if (rule.set.Test(article)) {
        *imageId = rule.image;
        *maskId = rule.mask;
        return TRUE;
      }
    *imageId = *maskId = 0;
    return FALSE;
  };
  if (m_content.m_multBits.Test(article)) {
    return pick({{m_content.m_soundBits, 1094, 1177},
                 {m_content.m_picBits, 1093, 1175},
                 {m_content.m_videoBits, 1095, 1176},
                 {m_content.m_knvrBits, 4184, 4185},
                 {m_content.m_animBits, 1092, 1174},
                 {m_content.m_graphBits, 1096, 1179},
                 {m_content.m_mapBits, 1098, 1180},
                 {m_content.m_clkmapBits, 4117, 4118},
                 {m_content.m_clkpicBits, 4117, 4118},
                 {m_content.m_tableBits, 1097, 1178}});
  }
  return pick({{m_content.m_updatesBits, 1255, 1256},
               {m_content.m_hspBits, 1091, 1182},
               {m_content.m_tdwBits, 4106, 4107},
               {m_content.m_tmlBits, 4270, 4271},
               {m_content.m_urlBits, 6045, 6044},
               {m_content.m_vornBits, 1273, 1274},
               {m_content.m_mrvBits, 1090, 1181}});
}

CSize ReaderLook::DrawTransparent(CSize* size, CDC* dc, UINT imageId, UINT, int x, int y, UINT flags) {
  int pair = 0;
  for (int i = 0; i < IconPairCount; ++i)
    if (kIcons[i][0] == imageId) pair = i;
  CSize drawn(0, 0);
  if (pair >= m_buttonImages.GetSize() || !dc) {
    if (size) *size = drawn;
    return drawn;
  }
  CBitmap* image = static_cast<CBitmap*>(m_buttonImages[pair]);
  CBitmap* mask = static_cast<CBitmap*>(m_buttonMasks[pair]);
  BITMAP info = {};
  if (!image->m_hObject || !mask->m_hObject || !image->GetBitmap(&info)) {
    if (size) *size = drawn;
    return drawn;
  }
  const int w = info.bmWidth, h = info.bmHeight;
  if (flags & 0x8)
    y -= h;
  else if (flags & 0x4)
    y -= h / 2;

  // The media screen's picture palette has priority while it is shown.
  const LookWindows* windows = Windows();
  const bool background = windows != nullptr && windows->PicturePaletteActive();
  CDC imageDC, maskDC, workDC, targetDC;
  imageDC.CreateCompatibleDC(dc);
  maskDC.CreateCompatibleDC(dc);
  workDC.CreateCompatibleDC(dc);
  targetDC.CreateCompatibleDC(dc);
  CPalette* oldPalettes[5] = {};
  CDC* dcs[5] = {dc, &imageDC, &maskDC, &workDC, &targetDC};
  if (m_palette.m_hObject)
    for (int i = 0; i < 5; ++i) {
      oldPalettes[i] = dcs[i]->SelectPalette(&m_palette, background ? TRUE : FALSE);
      dcs[i]->RealizePalette();
    }
  CBitmap inverted, work, target;
  inverted.CreateBitmap(w, h, 1, 1, nullptr);
  work.CreateCompatibleBitmap(dc, w, h);
  target.CreateCompatibleBitmap(dc, w, h);
  CBitmap* oldImage = imageDC.SelectObject(image);
  CBitmap* oldMask = maskDC.SelectObject(&inverted);
  CBitmap* oldWork = workDC.SelectObject(&work);
  CBitmap* oldTarget = targetDC.SelectObject(&target);
  // The mask in monochrome, inverted: 1 where the image shows.
  {
    CDC sourceDC;
    sourceDC.CreateCompatibleDC(dc);
    CBitmap* oldSource = sourceDC.SelectObject(mask);
    sourceDC.SetBkColor(RGB(255, 255, 255));
    maskDC.BitBlt(0, 0, w, h, &sourceDC, 0, 0, NOTSRCCOPY);
    sourceDC.SelectObject(oldSource);
  }
  workDC.BitBlt(0, 0, w, h, &imageDC, 0, 0, SRCCOPY);
  targetDC.BitBlt(0, 0, w, h, dc, x, y, SRCCOPY);
  // Monochrome to colour: 1 bits take the background colour, 0 the text colour.
  targetDC.SetBkColor(RGB(0, 0, 0));
  targetDC.SetTextColor(RGB(255, 255, 255));
  targetDC.BitBlt(0, 0, w, h, &maskDC, 0, 0, SRCAND);  // the background where the mask is white
  workDC.SetBkColor(RGB(255, 255, 255));
  workDC.SetTextColor(RGB(0, 0, 0));
  workDC.BitBlt(0, 0, w, h, &maskDC, 0, 0, SRCAND);  // the image where the mask is black
  targetDC.BitBlt(0, 0, w, h, &workDC, 0, 0, SRCPAINT);
  dc->BitBlt(x, y, w, h, &targetDC, 0, 0, SRCCOPY);
  imageDC.SelectObject(oldImage);
  maskDC.SelectObject(oldMask);
  workDC.SelectObject(oldWork);
  targetDC.SelectObject(oldTarget);
  for (int i = 0; i < 5; ++i)
    if (oldPalettes[i]) dcs[i]->SelectPalette(oldPalettes[i], TRUE);
  drawn = CSize(w, h);
  if (size) *size = drawn;
  return drawn;
}

BOOL ReaderLook::LoadDIB(UINT id, CBitmap& bitmap, CPalette& palette, BOOL useAppPalette, BOOL realise) {
  HINSTANCE module = AfxGetResourceHandle();
  HRSRC resource = ::FindResourceA(module, MAKEINTRESOURCEA(id), reinterpret_cast<LPCSTR>(RT_BITMAP));
  HGLOBAL loaded = resource ? ::LoadResource(module, resource) : nullptr;
  const auto* dib = loaded ? static_cast<const BYTE*>(::LockResource(loaded)) : nullptr;
  const auto layout = LayOutPackedDib(dib, resource ? ::SizeofResource(module, resource) : 0);
  if (!layout) return FALSE;
  const auto* header = reinterpret_cast<const BITMAPINFOHEADER*>(dib);
  const auto* table = reinterpret_cast<const RGBQUAD*>(dib + layout->tableOffset);
  const DWORD colours = layout->colours;

  CPalette own;
  if (!useAppPalette && colours > 0) {
    std::vector<BYTE> memory(sizeof(LOGPALETTE) + colours * sizeof(PALETTEENTRY));
    auto* logical = reinterpret_cast<LOGPALETTE*>(memory.data());
    logical->palVersion = 0x300;
    logical->palNumEntries = static_cast<WORD>(colours);
    for (DWORD i = 0; i < colours; ++i)
      logical->palPalEntry[i] = {table[i].rgbRed, table[i].rgbGreen, table[i].rgbBlue, PC_NOCOLLAPSE};
    palette.DeleteObject();
    palette.CreatePalette(logical);
  }
  CClientDC screen(nullptr);
  CPalette* selected = useAppPalette ? &m_palette : &palette;
  CPalette* old = nullptr;
  if ((useAppPalette || realise) && selected->m_hObject) {
    old = screen.SelectPalette(selected, TRUE);
    screen.RealizePalette();
  }
  HBITMAP made = ::CreateDIBitmap(screen.m_hDC, header, CBM_INIT, dib + layout->bitsOffset,
                                  reinterpret_cast<const BITMAPINFO*>(dib), DIB_RGB_COLORS);
  if (old) screen.SelectPalette(old, TRUE);
  if (!made) return FALSE;
  bitmap.DeleteObject();
  bitmap.Attach(made);
  return TRUE;
}

BOOL ReaderLook::LoadDIB(UINT id, CBitmap& bitmap) {
  CPalette unused;
  return LoadDIB(id, bitmap, unused, TRUE, FALSE);
}

void ReaderLook::GetPrinterMargins(CDC* dc) {
  const int offsetX = dc->GetDeviceCaps(PHYSICALOFFSETX), offsetY = dc->GetDeviceCaps(PHYSICALOFFSETY);
  const int pageX = dc->GetDeviceCaps(PHYSICALWIDTH), pageY = dc->GetDeviceCaps(PHYSICALHEIGHT);
  const int right = pageX > 0 ? pageX - dc->GetDeviceCaps(HORZRES) - offsetX : 0;
  const int bottom = pageY > 0 ? pageY - dc->GetDeviceCaps(VERTRES) - offsetY : 0;
  const auto atLeast0 = [](int v) { return v < 0 ? 0 : v; };
  CRect margins(
      atLeast0(dc->GetDeviceCaps(LOGPIXELSX) - offsetX), atLeast0(dc->GetDeviceCaps(LOGPIXELSY) / 2 - offsetY),
      atLeast0(dc->GetDeviceCaps(LOGPIXELSX) / 2 - right), atLeast0(dc->GetDeviceCaps(LOGPIXELSY) / 2 - bottom));
  // Device units to the DC's logical units.
  POINT sizes[2] = {{margins.left, margins.top}, {margins.right, margins.bottom}};
  POINT origin = {0, 0};
  dc->DPtoLP(sizes, 2);
  dc->DPtoLP(&origin, 1);
  m_printMargins = CRect(sizes[0].x - origin.x, sizes[0].y - origin.y, sizes[1].x - origin.x, sizes[1].y - origin.y);
}
