// The quiz's sliding picture puzzle: the reader's moves, the scramble and the
// solver behind Hint and Solve.
#include <gtest/gtest.h>

#include <vector>

#include "media/quiz/puzzle_board.h"

namespace {

using quiz::PuzzleBoard;
using quiz::Slide;

class FakeRandom {
 public:
  explicit FakeRandom(unsigned seed) : state_(seed) {}
  int operator()() {
    state_ = state_ * 1103515245u + 12345u;
    return static_cast<int>((state_ >> 16) & 0x7FFF);
  }

 private:
  unsigned state_;
};

// Runs Hint until solved; the moves made, or none when `limit` is reached.
std::vector<Slide> Solve(PuzzleBoard& board, unsigned seed, int limit) {
  FakeRandom random(seed);
  std::vector<Slide> moves;
  Slide slide;
  while (board.Hint(random, slide)) {
    moves.push_back(slide);
    if (static_cast<int>(moves.size()) >= limit) return {};
  }
  return moves;
}

TEST(Puzzle, ClicksSlideEveryTileBetweenTheEmptyCellAndTheTile) {
  PuzzleBoard board;
  // Tile 13 is two cells left of the empty cell (3, 3): both tiles slide right.
  std::vector<Slide> slides = board.MoveTile(13);
  ASSERT_EQ(slides.size(), 2u);
  EXPECT_EQ(slides[0].tile, 14);
  EXPECT_EQ(slides[0].direction, 3);
  EXPECT_EQ(slides[1].tile, 13);
  EXPECT_EQ(board.At(3, 1), PuzzleBoard::Empty);
  EXPECT_EQ(board.At(3, 2), 13);
  EXPECT_EQ(board.At(3, 3), 14);
  // Diagonal to the empty cell: nothing moves.
  EXPECT_TRUE(board.MoveTile(10).empty());
  EXPECT_EQ(board.At(2, 2), 10);
  // Up the column: tile 1 is three cells above the empty cell (3, 1).
  slides = board.MoveTile(1);
  ASSERT_EQ(slides.size(), 3u);
  EXPECT_EQ(slides[0].tile, 9);
  EXPECT_EQ(slides[0].direction, 2);
  EXPECT_EQ(board.At(0, 1), PuzzleBoard::Empty);
  EXPECT_EQ(board.At(3, 1), 9);
  EXPECT_FALSE(board.IsSolved());
}

TEST(Puzzle, HintMakesTheLastMoveAndNothingOnASolvedBoard) {
  PuzzleBoard board;
  board.MoveTile(14);
  board.ResetSolver();
  FakeRandom random(3);
  Slide slide;
  ASSERT_TRUE(board.Hint(random, slide));
  EXPECT_EQ(slide.tile, 14);
  EXPECT_EQ(slide.direction, 0);
  EXPECT_TRUE(board.IsSolved());
  EXPECT_FALSE(board.Hint(random, slide));
  EXPECT_TRUE(Solve(board, 1, 10).empty());
}

TEST(Puzzle, ScrambleMovesTilesAndResetsTheSolver) {
  PuzzleBoard board;
  FakeRandom random(11);
  board.Scramble(random);
  EXPECT_FALSE(board.IsSolved());
  EXPECT_EQ(board.GetPrevious(), quiz::NoDirection);
  EXPECT_EQ(board.GetDepth(), quiz::StartDepth);
  // Still a permutation of the tiles with one empty cell.
  std::vector<int> seen(16, 0);
  for (int r = 0; r < 4; ++r)
    for (int c = 0; c < 4; ++c) ++seen[static_cast<std::size_t>(board.At(r, c) + 1)];
  EXPECT_EQ(seen, std::vector<int>(16, 1));
}

TEST(Puzzle, SolverSolvesScrambledBoardsWithoutUndoingItsOwnMoves) {
  for (unsigned seed : {1u, 2u, 5u}) {
    PuzzleBoard board;
    FakeRandom random(seed);
    board.Scramble(random);
    const std::vector<Slide> moves = Solve(board, seed, 2000);
    ASSERT_FALSE(moves.empty()) << seed;
    EXPECT_TRUE(board.IsSolved());
    // The empty cell moves against each slide; it never goes straight back.
    for (std::size_t i = 1; i < moves.size(); ++i)
      EXPECT_NE(moves[i].direction, quiz::Opposite[moves[i - 1].direction]) << seed << " move " << i;
  }
}

TEST(Puzzle, ACompleteTopRowStaysCompleteWhileTheSolverWorks) {
  for (unsigned seed : {3u, 8u, 13u}) {
    PuzzleBoard board;
    FakeRandom random(seed);
    // Shuffle rows 1-3 only: the empty cell wanders below the top row.
    for (int i = 0; i < 60; ++i) {
      const int empty = board.EmptyCell();
      const int r = empty / 4, c = empty % 4;
      const int d = random() % 4;
      const int tr = r - quiz::RowStep[d], tc = c - quiz::ColumnStep[d];
      if (tr < 1 || tr > 3 || tc < 0 || tc > 3) continue;
      board.MoveTile(board.At(tr, tc));
    }
    board.ResetSolver();
    ASSERT_FALSE(board.IsSolved()) << seed;
    FakeRandom solverRandom(seed);
    Slide slide;
    int moves = 0;
    while (board.Hint(solverRandom, slide) && moves++ < 2000)
      for (int c = 0; c < 4; ++c) ASSERT_EQ(board.At(0, c), c) << seed << " move " << moves;
    EXPECT_TRUE(board.IsSolved()) << seed;
  }
}

TEST(Puzzle, ScoreWeighsTheTopRowMost) {
  PuzzleBoard::Cells cells = {1, 0, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, -1};
  EXPECT_EQ(PuzzleBoard::Score(cells), 2000);
  PuzzleBoard::Cells reversed = {14, 13, 12, 11, 10, 9, 8, 7, 6, 5, 4, 3, 2, 1, 0, -1};
  EXPECT_LT(PuzzleBoard::Score(reversed), 32768);
}

}  // namespace
