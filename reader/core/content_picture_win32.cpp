// Pictures of the media store as device bitmaps with their palettes, and as
// packed device-independent bitmaps in global memory.
#include <cstdlib>
#include <cstring>

#include "core/content_db.h"
#include "core/hot_spot.h"
#include "core/media_library.h"
#include "core/reader_screen.h"
#include "core/reader_shell.h"
#include "packed_dib.h"

namespace {

bool MakePalette(CPalette& palette, const u8* rgb, u32 colours) {
  std::vector<BYTE> memory(sizeof(LOGPALETTE) + colours * sizeof(PALETTEENTRY));
  auto* logical = reinterpret_cast<LOGPALETTE*>(memory.data());
  logical->palVersion = 0x300;
  logical->palNumEntries = static_cast<WORD>(colours);
  for (u32 i = 0; i < colours; ++i)
    logical->palPalEntry[i] = {rgb[3 * i], rgb[3 * i + 1], rgb[3 * i + 2], PC_NOCOLLAPSE};
  palette.DeleteObject();
  return palette.CreatePalette(logical) != FALSE;
}

// A packed device-independent bitmap of `size` bytes made into a device
// bitmap, with the palette realised in a screen DC; false when the bytes do
// not hold a whole bitmap.
bool MakeBitmap(CBitmap& bitmap, const BYTE* dib, std::size_t size, CPalette* realise) {
  const auto layout = LayOutPackedDib(dib, size);
  if (!layout) return false;
  CClientDC screen(nullptr);
  CPalette* old = nullptr;
  if (realise && realise->m_hObject) {
    old = screen.SelectPalette(realise, FALSE);
    screen.RealizePalette();
  }
  HBITMAP made = ::CreateDIBitmap(screen.m_hDC, reinterpret_cast<const BITMAPINFOHEADER*>(dib), CBM_INIT,
                                  dib + layout->bitsOffset, reinterpret_cast<const BITMAPINFO*>(dib), DIB_RGB_COLORS);
  if (old) screen.SelectPalette(old, FALSE);
  if (!made) return false;
  bitmap.DeleteObject();
  bitmap.Attach(made);
  return true;
}

// A movable global block holding the bytes.
HGLOBAL GlobalCopy(const std::vector<u8>& bytes) {
  HGLOBAL block = ::GlobalAlloc(GMEM_MOVEABLE, bytes.size() ? bytes.size() : 1);
  void* data = block ? ::GlobalLock(block) : nullptr;
  if (!data) {
    if (block) ::GlobalFree(block);
    return nullptr;
  }
  std::memcpy(data, bytes.data(), bytes.size());
  ::GlobalUnlock(block);
  return block;
}

// The media library's conversion of a plain picture's bitmap block; the
// result is a packed bitmap whose header, colours and bits follow one
// another, which must at least hold its header.
HGLOBAL ConvertPlainBitmap(const std::vector<u8>& bitmap) {
  HGLOBAL block = GlobalCopy(bitmap);
  if (!block) return nullptr;
  const std::intptr_t handle = reinterpret_cast<std::intptr_t>(block);
  const std::intptr_t result = TheMediaLibrary().Call(media::PictureToDib, &handle, 1);
  // Errors of the library's entry are negative codes, never handles.
  const auto converted = result > 0 ? reinterpret_cast<HGLOBAL>(result) : nullptr;
  if (converted != block) ::GlobalFree(block);
  if (converted && ::GlobalSize(converted) < sizeof(BITMAPINFOHEADER)) {
    ::GlobalFree(converted);
    return nullptr;
  }
  return converted;
}

// The media screen, when the window lies inside it.
PaletteScreen* MediaScreenOf(CWnd* owner) {
  ReaderShell* shell = GetReaderShell();
  CView* view = shell ? shell->GetScreen(Screen::Media) : nullptr;
  auto* media = dynamic_cast<PaletteScreen*>(view);
  if (!owner || !media || !view->m_hWnd) return nullptr;
  return (owner->m_hWnd == view->m_hWnd || ::IsChild(view->m_hWnd, owner->m_hWnd)) ? media : nullptr;
}

}  // namespace

BOOL CContentDb::LoadPicture(UINT item, CString& caption, CBitmap& bitmap, CPalette& palette, CPalette* select,
                             CObArray* hotSpots, WORD* regionKind, BYTE** mask, CWnd* owner) {
  i32 offset;
  if (!ReadDataOffset(item, offset)) return FALSE;
  if (offset < 0) {
    PictureHeader header;
    CString text;
    std::vector<u8> entries, block;
    if (!ReadPlainPicture(item, header, text, entries, block)) return FALSE;
    if (regionKind) *regionKind = header.regionKind;
    std::vector<u8> rgb(3 * 256);
    for (u32 i = 0; i < 256; ++i) {
      rgb[3 * i] = entries[4 * i + 2];
      rgb[3 * i + 1] = entries[4 * i + 1];
      rgb[3 * i + 2] = entries[4 * i];
    }
    if (!MakePalette(palette, rgb.data(), 256)) return FALSE;
    HGLOBAL converted = ConvertPlainBitmap(block);
    if (!converted) return FALSE;
    const auto* dib = static_cast<const BYTE*>(::GlobalLock(converted));
    const bool made = MakeBitmap(bitmap, dib, ::GlobalSize(converted), select ? select : &palette);
    ::GlobalUnlock(converted);
    ::GlobalFree(converted);
    if (!made) return FALSE;
    caption = text;
    if (hotSpots) RemoveHotSpots(*hotSpots);  // plain pictures carry no regions
    return TRUE;
  }

  PictureRecord picture;
  if (!ReadPictureRecord(item, picture, regionKind != nullptr)) return FALSE;
  const PictureHeader& header = picture.header;
  if (regionKind) *regionKind = header.regionKind;
  const std::vector<u8> rgb = PaletteColours(picture);
  if (!MakePalette(palette, rgb.data(), static_cast<u32>(rgb.size() / 3))) return FALSE;
  if (PaletteScreen* media = MediaScreenOf(owner)) media->SetPalette(&palette);
  const std::vector<u8> dib = BuildPackedDib(picture);
  if (!MakeBitmap(bitmap, dib.data(), dib.size(), select ? select : &palette)) return FALSE;
  caption = picture.caption;
  if (mask && (header.regionKind == 1 || header.regionKind == 4) && !picture.mask.empty()) {
    std::free(*mask);
    *mask = static_cast<BYTE*>(std::calloc(picture.mask.size(), 1));
    if (*mask) std::memcpy(*mask, picture.mask.data(), picture.mask.size());
  }
  if (hotSpots) {
    RemoveHotSpots(*hotSpots);
    if (header.regionKind >= 1 && header.regionKind <= 4 && !picture.regions.empty())
      ReadHotSpots(header.regionKind, picture.regions.data(), static_cast<u32>(picture.regions.size()), *hotSpots);
  }
  return TRUE;
}

BOOL CContentDb::LoadPictureDib(UINT item, HGLOBAL* dib, HGLOBAL* second) {
  if (second) *second = nullptr;
  if (!dib) return FALSE;
  *dib = nullptr;
  i32 offset;
  if (!ReadDataOffset(item, offset)) return FALSE;
  if (offset < 0) {
    PictureHeader header;
    CString caption;
    std::vector<u8> entries, block;
    if (!ReadPlainPicture(item, header, caption, entries, block)) return FALSE;
    *dib = ConvertPlainBitmap(block);
    return *dib ? TRUE : FALSE;
  }
  PictureRecord picture;
  if (!ReadPictureRecord(item, picture, FALSE)) return FALSE;
  *dib = GlobalCopy(BuildPackedDib(picture));
  return *dib ? TRUE : FALSE;
}
