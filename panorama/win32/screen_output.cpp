#include "screen_output.h"

#include <cstring>

#include "color_tables.h"
#include "controller_math.h"
#include "kn_api.h"
#include "pano_host.h"
#include "pano_types.h"
#include "warp_engine.h"

namespace pano {
namespace {

struct ScreenState {
  bool started = false;
  int depth = 0, bytesPerPixel = 0, planes = 0, depthPlanes = 0, rows = 0;
  std::int32_t mode = kModeDib;
  std::int32_t frameDepth = 24;
  HBITMAP testBitmap = nullptr;
  HDC display = nullptr;  // kept in mode 5 only
  std::intptr_t hardware = 0;
  kn::KnVideoInfoProc hardwareInfo = nullptr;
  std::intptr_t (*hardwareCopy)(const kn::KnVideoCopy*) = nullptr;
  std::int32_t hardwareRowBytes = 0, hardwareKind = 0;
  std::int16_t banks[300];
  std::uint8_t* band = nullptr;
  std::size_t bandSize = 0;
  std::uint8_t* dib = nullptr;
  std::size_t dibSize = 0;
};
ScreenState gScreen;

// Keeps a buffer between draws; reallocated when too small or under half used.
std::uint8_t* Buffer(std::uint8_t** block, std::size_t* size, std::size_t needed) {
  if (*block != nullptr && needed <= *size && needed >= *size / 2) return *block;
  if (*block != nullptr) GlobalFree(GlobalHandle(*block));
  *block = nullptr;
  *size = 0;
  HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT | GMEM_SHARE, needed);
  if (memory == nullptr) return nullptr;
  *block = static_cast<std::uint8_t*>(GlobalLock(memory));
  if (*block != nullptr) *size = needed;
  return *block;
}

int OptimizeSetting() {
  char value[21] = {};
  GetPrivateProfileStringA("Video 32", "Optimize", "Hardware", value, sizeof value, "KNW.INI");
  static const char* kNames[] = {"Hardware", "Driver", "BMP", "RAW", "DIB"};
  for (int i = 0; i < 5; ++i) {
    if (lstrcmpiA(value, kNames[i]) == 0) return i;
  }
  return 0;
}

// Draws the 256 x 5 test picture into a device-dependent bitmap and reads its bits.
bool ReadTestPicture(HDC display, int bytes, std::uint8_t* out) {
  BITMAPINFO info{};
  info.bmiHeader.biSize = sizeof info.bmiHeader;
  info.bmiHeader.biWidth = 256;
  info.bmiHeader.biHeight = -5;
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 24;
  std::uint8_t picture[256 * 3 * 5];
  for (int x = 0; x < 256; ++x) {
    const std::uint8_t v = static_cast<std::uint8_t>(x);
    std::uint8_t* rows[5];
    for (int r = 0; r < 5; ++r) rows[r] = picture + r * 768 + 3 * x;
    rows[0][0] = 0, rows[0][1] = 0, rows[0][2] = v;  // red (third byte)
    rows[1][0] = 0, rows[1][1] = v, rows[1][2] = 0;
    rows[2][0] = v, rows[2][1] = 0, rows[2][2] = 0;
    rows[3][0] = v, rows[3][1] = v, rows[3][2] = v;
    const std::uint8_t bw = (x & 1) != 0 ? 255 : 0;
    rows[4][0] = bw, rows[4][1] = bw, rows[4][2] = bw;
  }
  HBITMAP bitmap = CreateCompatibleBitmap(display, 256, 5);
  if (bitmap == nullptr) return false;
  const bool ok = SetDIBits(display, bitmap, 0, 5, picture, &info, DIB_RGB_COLORS) == 5 &&
                  GetBitmapBits(bitmap, bytes, out) == bytes;
  DeleteObject(bitmap);
  return ok;
}

std::uint16_t Word(const std::uint8_t* bits, int row, int x) {
  std::uint16_t v;
  std::memcpy(&v, bits + row * 512 + 2 * x, 2);
  return v;
}

bool Near(int value, int expected) { return value == expected || value == expected + 1; }

std::int32_t ProbeDisplayFormat(HDC display, int depth, int planes) {
  if ((GetDeviceCaps(display, RASTERCAPS) & RC_PALETTE) != 0) {
    if (depth == 8 && GetDeviceCaps(display, SIZEPALETTE) == 256) {
      PALETTEENTRY entries[256];
      return GetSystemPaletteEntries(display, 0, 256, entries) == 256 ? kModePalette : kModeDib;
    }
    return kModeDib;
  }
  if (planes != 1) return kModeDib;
  if (depth == 16) {
    std::uint8_t bits[2560];
    if (!ReadTestPicture(display, 2560, bits)) return kModeDib;
    bool is555 = true, is565 = true;
    for (int x = 0; x < 256; ++x) {
      const int k = x / 8;
      is555 = is555 && Near(Word(bits, 0, x) & 0x7FFF, k * 1024) && Near(Word(bits, 1, x) & 0x7FFF, k * 32) &&
              Near(Word(bits, 2, x) & 0x7FFF, k);
      is565 = is565 && Word(bits, 0, x) == k * 2048 && Word(bits, 1, x) == (x / 4) * 32 && Word(bits, 2, x) == k;
      if (x > 0) {
        const std::uint16_t bw = Word(bits, 4, x);
        is555 = is555 && (bw & 0x7BDE) == ((x & 1) != 0 ? 0x7BDE : 0);
        is565 = is565 && bw == ((x & 1) != 0 ? 0xFFFF : 0);
      }
    }
    return is565 ? kMode565 : is555 ? kMode555 : kModeDib;
  }
  if (depth == 24) {
    std::uint8_t bits[3840];
    if (!ReadTestPicture(display, 3840, bits)) return kModeDib;
    bool rgb = true, bgr = true;
    for (int x = 0; x < 256; ++x) {
      const std::uint8_t* red = bits + 3 * x;
      rgb = rgb && red[0] == x && red[1] == 0 && red[2] == 0;
      bgr = bgr && red[2] == x && red[1] == 0 && red[0] == 0;
    }
    return rgb ? kModeRgb24 : bgr ? kModeBgr24 : kModeDib;
  }
  return kModeDib;
}

bool IsMemoryDC(HDC dc) {
  HGDIOBJ previous = SelectObject(dc, gScreen.testBitmap);
  if (previous == nullptr) return false;
  SelectObject(dc, previous);
  return true;
}

std::int32_t Present(std::intptr_t window, const kn::KnRect& rect, const std::uint8_t* pixels, int format, int width,
                     int height, std::int32_t rowBytes) {
  const RECT r{rect.left, rect.top, rect.right, rect.bottom};
  HDC dc = GetClippedDC(reinterpret_cast<HWND>(window), r);
  if (dc == nullptr) return 0;
  const std::int32_t result = BlitView(dc, pixels, format == kFormat555 ? 16 : format, width, height, rowBytes);
  ReleaseDC(reinterpret_cast<HWND>(window), dc);
  return result;
}

bool Visible(std::intptr_t window) { return IsWindowVisible(reinterpret_cast<HWND>(window)) != 0; }
std::int32_t Mode() { return gScreen.mode; }

}  // namespace

void InstallPresenter() { Presenter() = WarpPresenter{.visible = Visible, .present = Present, .outputMode = Mode}; }

bool ScreenOutputStarted() { return gScreen.started; }
std::int32_t GetOutputMode() { return gScreen.mode; }
std::int32_t GetFrameDepth() { return gScreen.mode == kModeDib ? 24 : gScreen.depth; }
std::int32_t GetScreenDepth() { return gScreen.depth; }

bool InitScreenOutput() {
  if (gScreen.started) return true;
  HDC display = CreateDCA("DISPLAY", nullptr, nullptr, nullptr);
  if (display == nullptr) return false;
  gScreen.depth = GetDeviceCaps(display, BITSPIXEL);
  gScreen.planes = GetDeviceCaps(display, PLANES);
  gScreen.rows = GetDeviceCaps(display, VERTRES);
  gScreen.depthPlanes = gScreen.depth * gScreen.planes;
  gScreen.bytesPerPixel = gScreen.depth / 8;
  const int optimize = OptimizeSetting();
  gScreen.mode = optimize == 4 ? kModeDib : ProbeDisplayFormat(display, gScreen.depth, gScreen.planes);
  if (gScreen.mode == kModePalette) {
    PALETTEENTRY entries[256];
    std::uint32_t palette[256];
    bool built = GetSystemPaletteEntries(display, 0, 256, entries) == 256;
    for (int i = 0; built && i < 256; ++i) {
      palette[i] = static_cast<std::uint32_t>(entries[i].peRed) << 16 | entries[i].peGreen << 8 | entries[i].peBlue;
    }
    if (!built || !BuildInverseColorTable(palette)) gScreen.mode = kModeDib;
  }
  gScreen.testBitmap = CreateBitmap(1, 1, 1, 1, nullptr);
  if (gScreen.testBitmap == nullptr) {
    DeleteDC(display);
    return false;
  }
  if (gScreen.mode != kModeDib) {
    if (gScreen.mode == kModePalette) {
      gScreen.display = display;
    } else {
      DeleteDC(display);
    }
    if (optimize == 0 && (FindVideoHardware(true) == kOk || FindVideoHardware(false) == kOk)) {
      gScreen.hardwareRowBytes = static_cast<std::int32_t>(gScreen.hardwareInfo(25, 0, 0));
      gScreen.hardwareKind = static_cast<std::int32_t>(gScreen.hardwareInfo(24, 0, 0));
      if (gScreen.hardwareInfo(23, 0, 0) != 0) {
        BuildBankTable(gScreen.hardwareRowBytes, gScreen.rows, gScreen.bytesPerPixel, gScreen.banks, 600 - 8);
      } else {
        gScreen.banks[0] = -1;
      }
    }
  } else {
    gScreen.frameDepth = 24;
    DeleteDC(display);
  }
  gScreen.started = true;
  InstallPresenter();
  return true;
}

std::int32_t FindVideoHardware(bool preferredOnly) {
  char preferred[264] = {};
  if (preferredOnly) {
    GetPrivateProfileStringA("Video 32", "PreferredComponent", "", preferred, sizeof preferred, "KNW.INI");
    if (preferred[0] == 0) return kErrNoComponent;
  }
  KeptInstance kept;
  std::intptr_t component = 0;
  std::int32_t keptVersion = -1;
  kn::KnVideoInfoProc keptInfo = nullptr;
  std::intptr_t (*keptCopy)(const kn::KnVideoCopy*) = nullptr;
  while ((component = CallManager(kn::kGroupManager, kn::kCmFindNext,
                                  {component, static_cast<std::intptr_t>(Tag("vhdw")), 0})) > 0) {
    char file[255] = {};
    CallManager(kn::kGroupManager, kn::kCmFileName, {component, reinterpret_cast<std::intptr_t>(file), sizeof file});
    if (preferred[0] != 0 && lstrcmpiA(file, preferred) != 0) continue;
    const std::intptr_t instance = CallManager(kn::kGroupManager, kn::kCmOpen, {component});
    if (instance == 0) continue;
    kn::KnVideoInfoProc info = nullptr;
    std::intptr_t (*copy)(const kn::KnVideoCopy*) = nullptr;
    const bool serves = CallManager(kn::kGroupVideoHardware, kn::kVhServe,
                                    {instance, gScreen.mode, reinterpret_cast<std::intptr_t>(&info),
                                     reinterpret_cast<std::intptr_t>(&copy)}) == 0 &&
                        info != nullptr;
    const std::int32_t version =
        static_cast<std::int32_t>(CallManager(kn::kGroupManager, kn::kCmInstanceVersion, {instance}));
    if (kept.Offer(instance, serves && (kept.instance() == 0 || keptVersion < version))) {
      keptVersion = version;
      keptInfo = info;
      keptCopy = copy;
    }
  }
  if (kept.instance() == 0) return kErrNoComponent;
  gScreen.hardware = kept.instance();
  gScreen.hardwareInfo = keptInfo;
  gScreen.hardwareCopy = keptCopy;
  return kOk;
}

HDC GetClippedDC(HWND window, const RECT& rect) {
  if (window == nullptr || IsRectEmpty(&rect)) return nullptr;
  DWORD flags = DCX_CACHE | DCX_PARENTCLIP;
  if ((GetWindowLongA(window, GWL_STYLE) & WS_CLIPSIBLINGS) != 0) flags |= DCX_CLIPSIBLINGS;
  HDC dc = GetDCEx(window, nullptr, flags);
  if (dc == nullptr) return nullptr;
  const int clip = IntersectClipRect(dc, rect.left, rect.top, rect.right, rect.bottom);
  if (clip == ERROR || clip == NULLREGION) {
    ReleaseDC(window, dc);
    return nullptr;
  }
  SetViewportOrgEx(dc, rect.left, rect.top, nullptr);
  return dc;
}

std::int32_t BlitView(HDC dc, const std::uint8_t* pixels, int depth, int width, int height, int rowBytes) {
  if (width <= 0 || height <= 0) return kOk;
  if (gScreen.mode == kModeDib || !gScreen.started) {
    const int dibRow = (width * depth / 8 + 3) & ~3;
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = static_cast<WORD>(depth);
    const std::uint8_t* bits = pixels;
    if (rowBytes == dibRow) {
      // The frame's rows are already a DIB's: drawn top-down straight from the frame.
      info.bmiHeader.biHeight = -height;
    } else {
      std::uint8_t* buffer = Buffer(&gScreen.dib, &gScreen.dibSize, static_cast<std::size_t>(dibRow) * height);
      if (buffer == nullptr) return kErrMemory;
      for (int y = 0; y < height; ++y) {
        std::memcpy(buffer + static_cast<std::size_t>(dibRow) * (height - 1 - y),
                    pixels + static_cast<std::size_t>(rowBytes) * y, static_cast<std::size_t>(width * depth / 8));
      }
      info.bmiHeader.biHeight = height;
      bits = buffer;
    }
    SetDIBitsToDevice(dc, 0, 0, static_cast<DWORD>(width), static_cast<DWORD>(height), 0, 0, 0,
                      static_cast<UINT>(height), bits, &info, DIB_RGB_COLORS);
    return kOk;
  }
  const int screenRow = (width * gScreen.depthPlanes / 8 + 1) & ~1;
  int bandRows = screenRow > 0 && height <= 65536 / screenRow ? height : (65536 / (screenRow > 0 ? screenRow : 1)) & ~3;
  if (bandRows <= 0) bandRows = 1;
  RECT clip{};
  const int kind = GetClipBox(dc, &clip);
  if (kind == ERROR || kind == NULLREGION) return kOk;
  const int first = clip.top > 0 ? clip.top : 0;
  const int last = clip.bottom < height ? clip.bottom : height;
  if (IsMemoryDC(dc) || gScreen.hardware == 0) {
    HDC memory = CreateCompatibleDC(dc);
    HBITMAP bitmap = memory != nullptr ? CreateBitmap(width, bandRows, static_cast<UINT>(gScreen.planes),
                                                      static_cast<UINT>(gScreen.depth), nullptr)
                                       : nullptr;
    if (bitmap == nullptr) {
      if (memory != nullptr) DeleteDC(memory);
      return kErrMemory;
    }
    HGDIOBJ previous = SelectObject(memory, bitmap);
    std::int32_t result = kOk;
    for (int top = first; top < last && result == kOk; top += bandRows) {
      const int rows = last - top < bandRows ? last - top : bandRows;
      const std::uint8_t* band = pixels + static_cast<std::size_t>(rowBytes) * top;
      std::size_t bytes = static_cast<std::size_t>(screenRow) * rows;
      if (gScreen.mode == kModePalette) {
        std::uint8_t* indexes =
            Buffer(&gScreen.band, &gScreen.bandSize, static_cast<std::size_t>((width + 1) / 2 * 2) * bandRows);
        if (indexes == nullptr || InverseColorTable() == nullptr) {
          result = kErrMemory;
          break;
        }
        ConvertBandToIndexes(InverseColorTable(), band, rowBytes, width, rows, indexes);
        band = indexes;
      }
      if (SetBitmapBits(bitmap, static_cast<DWORD>(bytes), band) != static_cast<LONG>(bytes) ||
          !BitBlt(dc, 0, top, width, rows, memory, 0, 0, SRCCOPY)) {
        result = kErrMemory;
      }
    }
    SelectObject(memory, previous);
    DeleteObject(bitmap);
    DeleteDC(memory);
    return result;
  }
  // Through the video-hardware component.
  POINT origin{};
  GetDCOrgEx(dc, &origin);
  POINT viewport{};
  GetViewportOrgEx(dc, &viewport);
  for (int top = first; top < last; top += bandRows) {
    const int rows = last - top < bandRows ? last - top : bandRows;
    kn::KnVideoCopy copy{origin.x + viewport.x,
                         origin.y + viewport.y + top,
                         pixels + static_cast<std::size_t>(rowBytes) * top,
                         rowBytes,
                         width,
                         rows,
                         SRCCOPY,
                         gScreen.banks};
    if (gScreen.hardwareCopy == nullptr || gScreen.hardwareCopy(&copy) != 0) return kErrMemory;
  }
  return kOk;
}

bool IsPointUnobscured(HWND window, POINT point) {
  if (!IsWindowVisible(window)) return false;
  RECT client{};
  GetClientRect(window, &client);
  if (!PtInRect(&client, point)) return false;
  POINT screen = point;
  ClientToScreen(window, &screen);
  for (HWND w = window; w != nullptr; w = (GetWindowLongA(w, GWL_STYLE) & WS_CHILD) != 0 ? GetParent(w) : nullptr) {
    for (HWND sibling = GetWindow(w, GW_HWNDPREV); sibling != nullptr; sibling = GetWindow(sibling, GW_HWNDPREV)) {
      RECT r{};
      if (IsWindowVisible(sibling) && GetWindowRect(sibling, &r) && PtInRect(&r, screen)) return false;
    }
  }
  return true;
}

}  // namespace pano
