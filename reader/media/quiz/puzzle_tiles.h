// CPuzzleTiles: the quiz puzzle's picture and the fifteen tile buttons cut
// from it. It draws the picture and moves the buttons where the board says;
// what the board holds and when it changes is the quiz screen's business.
#pragma once

#include <vector>

#include "controls/bm_button.h"
#include "framework.h"
#include "media/quiz/puzzle_board.h"
#include "media/quiz/quiz_sequence.h"

class CPuzzleTiles {
 public:
  static constexpr int TileSize = 70;
  static constexpr int Count = 15;

  // Creates the tile buttons, children of `parent`, on the board at `origin`.
  void Create(CWnd* parent, CPoint origin, UINT firstId);
  // Draws a new picture: an article's picture when media can be used,
  // else the built-in one; then cuts the tiles from it.
  void NewPicture(CWnd& view, BOOL fromMedia, BOOL numbered, const quiz::RandomSource& random);
  // Gives each tile its part of the picture, with its number or without.
  void CutTiles(BOOL numbered);
  // Moves the tiles to their cells of `board` standing at `origin`.
  void Place(const quiz::PuzzleBoard& board, CPoint origin, BOOL redraw);
  void Show(BOOL show);
  void Enable(BOOL enable);
  // Paints the whole picture over `board`; FALSE when there is none yet.
  BOOL PaintWhole(CDC* dc, const CRect& board);

  CBmButton& Tile(int tile) { return m_tiles[tile]; }

 private:
  CBitmap m_picture;
  CBmButton m_tiles[Count];
};
