#include "media/quiz/puzzle_board.h"

#include <cstring>

namespace quiz {
namespace {

constexpr int kWeight[15] = {1000, 1000, 1000, 1000, 40, 10, 10, 10, 100, 1, 1, 1, 40, 1, 1};
constexpr int kNoValue = 0x7FFF;

int Distance(int a, int b) { return a > b ? a - b : b - a; }

bool OnBoard(int row, int column) { return row >= 0 && row < 4 && column >= 0 && column < 4; }

}  // namespace

void PuzzleBoard::Reset() {
  for (int i = 0; i < 15; ++i) m_cells[i] = static_cast<i16>(i);
  m_cells[15] = Empty;
  ResetSolver();
}

bool PuzzleBoard::IsSolved(const Cells& cells) {
  for (int i = 0; i < 15; ++i)
    if (cells[i] != i) return false;
  return true;
}

int PuzzleBoard::CellOfTile(int tile) const {
  for (int i = 0; i < 16; ++i)
    if (m_cells[i] == tile) return i;
  return -1;
}

void PuzzleBoard::SetCells(const Cells& cells) { std::memcpy(m_cells, cells, sizeof m_cells); }

Slide PuzzleBoard::SlideTile(int row, int column, int direction) {
  Slide slide{row, column, direction, m_cells[4 * row + column]};
  m_cells[4 * (row + RowStep[direction]) + column + ColumnStep[direction]] = m_cells[4 * row + column];
  m_cells[4 * row + column] = Empty;
  return slide;
}

std::vector<Slide> PuzzleBoard::MoveTile(int tile) {
  std::vector<Slide> slides;
  const int cell = CellOfTile(tile);
  if (cell < 0 || tile == Empty) return slides;
  const int r = cell / 4, c = cell % 4;
  const int empty = EmptyCell();
  const int er = empty / 4, ec = empty % 4;
  if (er == r) {
    // Left or right, the tile next to the empty cell first.
    const int direction = ec < c ? 0 : 3;
    for (int x = ec; x != c;) {
      x += ec < c ? 1 : -1;
      slides.push_back(SlideTile(r, x, direction));
    }
  } else if (ec == c) {
    const int direction = er < r ? 1 : 2;
    for (int y = er; y != r;) {
      y += er < r ? 1 : -1;
      slides.push_back(SlideTile(y, c, direction));
    }
  } else {
    return slides;
  }
  m_depth = StartDepth;
  return slides;
}

void PuzzleBoard::Scramble(const RandomSource& random) {
  for (int i = 0; i < ScrambleMoves; ++i) {
    int tile = random() * 15 / 0x7FFF;
    if (tile > 14) tile = 14;
    MoveTile(tile);
  }
  ResetSolver();
}

bool PuzzleBoard::Hint(const RandomSource& random, Slide& slide) {
  if (IsSolved()) return false;
  const int empty = EmptyCell();
  const int r = empty / 4, c = empty % 4;
  const int d = SolverStep(r, c, m_previous, m_depth, random);
  m_previous = d;
  slide = SlideTile(r + RowStep[d], c + ColumnStep[d], Opposite[d]);
  return true;
}

int PuzzleBoard::SolverStep(int row, int column, int previous, int& depth, const RandomSource& random) const {
  const bool topRowDone = m_cells[0] == 0 && m_cells[1] == 1 && m_cells[2] == 2 && m_cells[3] == 3;
  int best = kNoValue, choice = -1;
  for (int i = 0; i < 4; ++i) {
    if (i == Opposite[previous]) continue;
    const int nr = row + RowStep[i], nc = column + ColumnStep[i];
    if (!OnBoard(nr, nc)) continue;
    Cells copy;
    std::memcpy(copy, m_cells, sizeof copy);
    copy[4 * row + column] = copy[4 * nr + nc];
    copy[4 * nr + nc] = Empty;
    const int v = Lookahead(copy, i, depth - 1, nr, nc, topRowDone);
    if (v < best || choice < 0) {
      best = v;
      choice = i;
    } else if (v == best && random() * 3 / 0x7FFF == 1) {
      choice = i;
    }
  }
  if (best < 1) depth = depth + best - 1;
  // Every cell has a neighbour other than the one excluded; a lone corner
  // with its only other way excluded cannot happen on a 4 x 4 board.
  return choice < 0 ? 0 : choice;
}

int PuzzleBoard::Lookahead(const Cells& cells, int previous, int depth, int row, int column, bool topRowDone) {
  if (row == 3 && column == 3 && IsSolved(cells)) return -depth;
  // A depth at or below 0 is a leaf: the search never goes deeper than asked.
  if (depth <= 0) return Score(cells);
  int best = kNoValue;
  for (int i = 0; i < 4; ++i) {
    if (i == Opposite[previous]) continue;
    const int nr = row + RowStep[i], nc = column + ColumnStep[i];
    if (!OnBoard(nr, nc) || (nr == 0 && topRowDone)) continue;
    Cells copy;
    std::memcpy(copy, cells, sizeof copy);
    copy[4 * row + column] = copy[4 * nr + nc];
    copy[4 * nr + nc] = Empty;
    const int v = Lookahead(copy, i, depth - 1, nr, nc, topRowDone);
    if (v < best) best = v;
  }
  return best;
}

int PuzzleBoard::Score(const Cells& cells) {
  int sum = 0;
  for (int i = 0; i < 16; ++i) {
    const int t = cells[i];
    if (t < 0 || t > 14) continue;
    sum += kWeight[t] * (Distance(i / 4, t / 4) + Distance(i % 4, t % 4));
  }
  return sum;
}

}  // namespace quiz
