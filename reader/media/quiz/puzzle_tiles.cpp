#include "media/quiz/puzzle_tiles.h"

#include "core/reader_context.h"
#include "packed_dib.h"
#include "reader/timeline_quiz_ids.h"

namespace {

// The articles whose pictures the puzzle shows (main-database entries).
constexpr int kPuzzleEntries[32] = {59983, 4361,   85500, 44450, 28110, 123399, 103569, 7288, 2462,  70109, 79354,
                                    79531, 81020,  89519, 91388, 98158, 16429,  77991,  5811, 55019, 33475, 8963,
                                    18467, 106301, 17336, 49845, 30948, 8288,   76437,  8330, 3629,  18990};
constexpr int kPictureSide = 280;

CRect Cell(int t, CPoint origin) {
  const int size = CPuzzleTiles::TileSize;
  return CRect(origin.x + size * (t % 4), origin.y + size * (t / 4), origin.x + size * (t % 4 + 1),
               origin.y + size * (t / 4 + 1));
}

// Stretches the middle square of an article's picture over the target;
// FALSE when the article has no picture that can be read.
BOOL DrawArticlePicture(CDC& target, int entry) {
  ReaderContext& app = Reader();
  const int article = app.ToInternalArticle(entry);
  const int item = app.m_multBits.IndexOf(article);
  HGLOBAL dib = nullptr, second = nullptr;
  BOOL drawn = FALSE;
  if (item >= 0 && app.GetDatabase(1).LoadPictureDib(static_cast<UINT>(item), &dib, &second) && dib != nullptr) {
    const auto* info = static_cast<const BYTE*>(::GlobalLock(dib));
    if (const auto layout = LayOutPackedDib(info, ::GlobalSize(dib))) {
      const int width = layout->width, height = static_cast<int>(layout->rows);
      const int side = width < height ? width : height;
      target.SetStretchBltMode(COLORONCOLOR);
      ::StretchDIBits(target.m_hDC, 0, 0, kPictureSide, kPictureSide, width > height ? (width - height) / 2 : 0,
                      height > width ? (height - width) / 2 : 0, side, side, info + layout->bitsOffset,
                      reinterpret_cast<const BITMAPINFO*>(info), DIB_RGB_COLORS, SRCCOPY);
      drawn = TRUE;
    }
    if (info) ::GlobalUnlock(dib);
    ::GlobalFree(dib);
  }
  if (second != nullptr) ::GlobalFree(second);
  return drawn;
}

void DrawBuiltInPicture(CDC& target, CDC& screen) {
  CBitmap fallback;
  if (!Reader().LoadDIB(IDB_QZ_PUZZLE, fallback)) return;
  CDC from;
  from.CreateCompatibleDC(&screen);
  CBitmap* oldFrom = from.SelectObject(&fallback);
  BITMAP size = {};
  fallback.GetBitmap(&size);
  target.SetStretchBltMode(COLORONCOLOR);
  target.StretchBlt(0, 0, kPictureSide, kPictureSide, &from, 0, 0, size.bmWidth, size.bmHeight, SRCCOPY);
  from.SelectObject(oldFrom);
}

}  // namespace

void CPuzzleTiles::Create(CWnd* parent, CPoint origin, UINT firstId) {
  for (int t = 0; t < Count; ++t) {
    const CRect cell = Cell(t, origin);
    m_tiles[t].Create("", WS_CHILD | BS_OWNERDRAW, cell, parent, firstId + t);
    CRect rect = cell;
    m_tiles[t].SetTileRect(&rect);
  }
}

void CPuzzleTiles::NewPicture(CWnd& view, BOOL fromMedia, BOOL numbered, const quiz::RandomSource& random) {
  ReaderContext& app = Reader();
  m_picture.DeleteObject();
  CClientDC screen(&view);
  CPalette* oldPalette = screen.SelectPalette(app.GetPalette(), FALSE);
  screen.RealizePalette();
  m_picture.CreateCompatibleBitmap(&screen, kPictureSide, kPictureSide);
  CDC target;
  target.CreateCompatibleDC(&screen);
  CBitmap* old = target.SelectObject(&m_picture);
  CPalette* targetPalette = target.SelectPalette(app.GetPalette(), FALSE);
  target.RealizePalette();
  BOOL drawn = FALSE;
  if (fromMedia) drawn = DrawArticlePicture(target, kPuzzleEntries[quiz::MulDivRound(31, random(), 0x7FFF)]);
  if (!drawn) DrawBuiltInPicture(target, screen);
  if (targetPalette) target.SelectPalette(targetPalette, FALSE);
  target.SelectObject(old);
  if (oldPalette) screen.SelectPalette(oldPalette, FALSE);
  CutTiles(numbered);
}

void CPuzzleTiles::CutTiles(BOOL numbered) {
  if (!m_picture.m_hObject) return;
  for (int t = 0; t < Count; ++t) {
    CRect cell = Cell(t, CPoint(0, 0));
    m_tiles[t].SetTileImage(&m_picture, &cell, numbered ? t + 1 : 0);
    m_tiles[t].Invalidate();
  }
}

void CPuzzleTiles::Place(const quiz::PuzzleBoard& board, CPoint origin, BOOL redraw) {
  for (int cell = 0; cell < 16; ++cell) {
    const int tile = board.At(cell / 4, cell % 4);
    if (tile < 0) continue;
    const int x = origin.x + TileSize * (cell % 4), y = origin.y + TileSize * (cell / 4);
    m_tiles[tile].SetWindowPos(nullptr, x, y, TileSize, TileSize,
                               SWP_NOZORDER | SWP_NOACTIVATE | (redraw ? 0 : SWP_NOREDRAW));
  }
}

void CPuzzleTiles::Show(BOOL show) {
  for (CBmButton& tile : m_tiles)
    if (tile.GetSafeHwnd()) tile.ShowWindow(show ? SW_SHOW : SW_HIDE);
}

void CPuzzleTiles::Enable(BOOL enable) {
  for (CBmButton& tile : m_tiles) tile.EnableWindow(enable);
}

BOOL CPuzzleTiles::PaintWhole(CDC* dc, const CRect& board) {
  if (!m_picture.m_hObject) return FALSE;
  CDC memory;
  memory.CreateCompatibleDC(dc);
  CBitmap* old = memory.SelectObject(&m_picture);
  dc->BitBlt(board.left, board.top, board.Width(), board.Height(), &memory, 0, 0, SRCCOPY);
  memory.SelectObject(old);
  return TRUE;
}
