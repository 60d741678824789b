// Undo and redo of the edited values: each step back and forth, what drops the redo steps,
// what is no step, and the memory the steps may hold.
#include <gtest/gtest.h>

#include <random>
#include <vector>

#include "EditHistory.h"

namespace {

PathValues Path(std::vector<vec2> points, std::int32_t selected = -1, float rotation = 0.0f,
                float scale = 1.0f, PathEnds ends = PathEnds::Free) {
  PathValues values;
  values.mControlPoints = std::move(points);
  values.mSelectedIndex = selected;
  values.mRotation = rotation;
  values.mScale = scale;
  values.mEnds = ends;
  return values;
}

const vec2 A(1, 1), B(2, 2), C(3, 3), D(4, 4);

// A chain of edits of every kind, undone to the start and redone to the end, value for value.
TEST(EditHistoryTest, UndoAndRedoWalkEveryKindOfStepBothWays) {
  const std::vector<PathValues> states = {
      Path({}),
      Path({A}, 0),                                     // append
      Path({A, B}, 1),                                  // append
      Path({A, C, B}, 1),                               // insert
      Path({A, D, B}, 1),                               // move
      Path({A, D, B}, 1, 30.0f),                        // rotation
      Path({A, D, B}, 1, 30.0f, 2.0f),                  // scale
      Path({A, D, B}, 1, 30.0f, 2.0f, PathEnds::Loop),  // ends
      Path({A, B}, 1, 30.0f, 2.0f),                     // delete
      Path({{11, 11}, {12, 12}}, 1, 30.0f, 2.0f),       // the whole path moved
      Path({}, -1, 30.0f, 2.0f),                        // clear
      Path({C, D, A, B}, -1),                           // a load
  };
  EditHistory history;
  for (std::size_t i = 1; i < states.size(); ++i) history.Record(states[i - 1], states[i]);
  EXPECT_EQ(states.size() - 1, history.UndoSteps());

  PathValues values = states.back();
  for (std::size_t i = states.size() - 1; i-- > 0;) {
    ASSERT_TRUE(history.Undo(values));
    EXPECT_EQ(states[i], values) << "undo to state " << i;
  }
  EXPECT_FALSE(history.Undo(values));  // more undos than steps change nothing
  EXPECT_EQ(states.front(), values);
  for (std::size_t i = 1; i < states.size(); ++i) {
    ASSERT_TRUE(history.Redo(values));
    EXPECT_EQ(states[i], values) << "redo to state " << i;
  }
  EXPECT_FALSE(history.Redo(values));
}

TEST(EditHistoryTest, SelectingAloneIsNoStepAndANewEditDropsTheRedoSteps) {
  EditHistory history;
  history.Record(Path({A, B}, 0), Path({A, B}, 1));
  EXPECT_EQ(0u, history.UndoSteps());

  history.Record(Path({A}, 0), Path({A, B}, 1));
  history.Record(Path({A, B}, 1), Path({A, B, C}, 2));
  PathValues values = Path({A, B, C}, 2);
  ASSERT_TRUE(history.Undo(values));
  EXPECT_EQ(1u, history.RedoSteps());
  history.Record(values, Path({A, D}, 1));
  EXPECT_EQ(0u, history.RedoSteps());
  values = Path({A, D}, 1);
  EXPECT_FALSE(history.Redo(values));
  ASSERT_TRUE(history.Undo(values));
  EXPECT_EQ(Path({A, B}, 1), values);
}

// A run of small edits amends its one step; a run back to where it began leaves none.
TEST(EditHistoryTest, AmendingTheNewestStepMakesARunOfEditsOneStep) {
  EditHistory history;
  history.Record(Path({}), Path({A}, 0));
  const PathValues start = Path({A}, 0);
  history.Record(start, Path({B}, 0));
  EXPECT_TRUE(history.Amend(start, Path({C}, 0)));
  EXPECT_TRUE(history.Amend(start, Path({D}, 0)));
  EXPECT_EQ(2u, history.UndoSteps());
  PathValues values = Path({D}, 0);
  ASSERT_TRUE(history.Undo(values));
  EXPECT_EQ(start, values);
  ASSERT_TRUE(history.Redo(values));
  EXPECT_FALSE(history.Amend(start, start));
  EXPECT_EQ(1u, history.UndoSteps());
}

// Values that are not where the last step left them are never taken apart by it.
TEST(EditHistoryTest, AStepThatDoesNotFitTheValuesChangesNothing) {
  EditHistory history;
  history.Record(Path({A, B}), Path({A, B, C}));
  PathValues other = Path({D});
  EXPECT_FALSE(history.Undo(other));
  EXPECT_EQ(Path({D}), other);
  EXPECT_EQ(0u, history.UndoSteps());
}

// A 10,000-point path: single-point steps cost next to nothing, so a thousand and more are
// kept; steps that move every point fill the budget, and then the oldest go first.
TEST(EditHistoryTest, MemoryStaysWithinTheBudgetWithATenThousandPointPath) {
  std::mt19937 random(3);
  std::uniform_real_distribution<float> coordinate(0.0f, 1000.0f);
  PathValues values;
  for (int i = 0; i < 10000; ++i)
    values.mControlPoints.push_back(vec2(coordinate(random), coordinate(random)));

  EditHistory history;
  for (int i = 0; i < 2000; ++i) {
    PathValues moved = values;
    moved.mControlPoints[static_cast<std::size_t>(i * 7 % 10000)] += vec2(1.0f, 0.0f);
    history.Record(values, moved);
    values = moved;
  }
  EXPECT_EQ(2000u, history.UndoSteps());
  EXPECT_LT(history.Bytes(), std::size_t{1} << 20);

  for (int i = 0; i < 400; ++i) {
    PathValues translated = values;
    for (vec2& p : translated.mControlPoints) p += vec2(0.5f, 0.25f);
    history.Record(values, translated);
    values = translated;
    ASSERT_LE(history.Bytes(), EditHistory::kBudgetBytes);
  }
  EXPECT_LT(history.UndoSteps(), 2400u);
  // What is kept still undoes, newest first, down to what the budget held.
  PathValues walk = values;
  std::size_t undone = 0;
  while (history.Undo(walk)) ++undone;
  EXPECT_GT(undone, 0u);
  EXPECT_EQ(0u, history.UndoSteps());
}

}  // namespace
