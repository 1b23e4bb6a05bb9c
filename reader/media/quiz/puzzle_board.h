// The 4 x 4 sliding picture puzzle of the quiz: 15 tiles and one empty cell,
// the reader's moves, the scramble and the solver behind Hint and Solve.
// Cell (r, c) is entry 4r + c; it holds a tile 0-14 or Empty. The board is
// solved when every cell but (3, 3) holds its own number.
#pragma once

#include <vector>

#include "media/quiz/quiz_sequence.h"

namespace quiz {

// Directions: 0 left, 1 up, 2 down, 3 right; 4 is "none".
constexpr int NoDirection = 4;
constexpr int RowStep[4] = {0, -1, 1, 0};
constexpr int ColumnStep[4] = {-1, 0, 0, 1};
constexpr int Opposite[5] = {3, 2, 1, 0, -1};
constexpr int StartDepth = 12;
constexpr int ScrambleMoves = 200;

// One tile moved from (row, column) one cell in `direction`.
struct Slide {
  int row = 0;
  int column = 0;
  int direction = 0;
  int tile = 0;
};

class PuzzleBoard {
 public:
  static constexpr i16 Empty = -1;
  using Cells = i16[16];

  PuzzleBoard() { Reset(); }
  // Every tile home, the last cell empty; solver state reset.
  void Reset();
  bool IsSolved() const { return IsSolved(m_cells); }
  static bool IsSolved(const Cells& cells);
  i16 At(int row, int column) const { return m_cells[4 * row + column]; }
  int CellOfTile(int tile) const;
  int EmptyCell() const { return CellOfTile(Empty); }
  void SetCells(const Cells& cells);

  // The reader's click on a tile: the slides made, nearest the empty cell
  // first; none when the tile is in line with neither the empty cell's row
  // nor its column. Resets the search depth.
  std::vector<Slide> MoveTile(int tile);
  // 200 clicks on random tiles; resets the solver state.
  void Scramble(const RandomSource& random);
  // One solver move (nothing on a solved board).
  bool Hint(const RandomSource& random, Slide& slide);

  // The direction the empty cell at (row, column) moves next; may lower depth.
  int SolverStep(int row, int column, int previous, int& depth, const RandomSource& random) const;
  // The weighted distance of the tiles from their home cells.
  static int Score(const Cells& cells);

  void ResetSolver() {
    m_previous = NoDirection;
    m_depth = StartDepth;
  }
  int GetDepth() const { return m_depth; }
  int GetPrevious() const { return m_previous; }

 private:
  Slide SlideTile(int row, int column, int direction);
  static int Lookahead(const Cells& cells, int previous, int depth, int row, int column, bool topRowDone);

  Cells m_cells = {};
  int m_previous = NoDirection;
  int m_depth = StartDepth;
};

}  // namespace quiz
