// Undo and redo: the steps between the edited values of a path, kept as the few points each
// step changed, within a memory budget.
#pragma once

#include <cstddef>
#include <cstdint>
#include <deque>
#include <vector>

#include "CubicBSpline.h"

class EditHistory {
public:
  // Memory the steps may hold; beyond it the oldest steps are dropped (the newest always stays).
  static constexpr std::size_t kBudgetBytes = std::size_t{48} << 20;

  // Records the step from `before` to `after` and drops every step that was undone. Values
  // that differ only in the selection make no step: selecting alone is no edit. `tag` names
  // the step for the caller, who gets it back with the step (a load keeps its file names so).
  void Record(const PathValues& before, const PathValues& after, std::uint64_t tag = 0);
  // Replaces the newest step, which must lead to the values the caller had before this
  // change, by the one step from `before` to `after`: a run of small edits made one step (a
  // step back to `before` itself leaves none). False when no step stands afterwards.
  bool Amend(const PathValues& before, const PathValues& after);
  // Takes `values` one step back or forward; false, and nothing changed, when there is none.
  // `tag`, when given, receives the tag the step was recorded with.
  bool Undo(PathValues& values, std::uint64_t* tag = nullptr);
  bool Redo(PathValues& values, std::uint64_t* tag = nullptr);
  // Changes with every step recorded, amended, undone or redone: a caller that remembers it
  // can tell whether the newest step is still the one it made.
  std::uint64_t Version() const { return mVersion; }

  std::size_t UndoSteps() const { return mDone.size(); }
  std::size_t RedoSteps() const { return mUndone.size(); }
  // The memory the kept steps hold.
  std::size_t Bytes() const { return mBytes; }

private:
  // The values on one side of a step, with only the points that changed.
  struct Side {
    std::vector<vec2> points;
    float rotation = 0.0f;
    float scale = 1.0f;
    std::int32_t selected = -1;
    PathEnds ends = PathEnds::Free;
  };
  // One step: from point `first` on, the points of `before` were replaced by those of `after`;
  // the points ahead of `first` and after the replaced ones stayed as they were.
  struct Step {
    std::size_t first = 0;
    Side before, after;
    std::uint64_t tag = 0;
    std::size_t Bytes() const {
      return sizeof(Step) + (before.points.capacity() + after.points.capacity()) * sizeof(vec2);
    }
  };

  // Takes the newest step of `from` over `values` (backwards: from its after to its before)
  // and moves it to `to`; false when there is none, or when the points do not fit it (then no
  // step of `from` can be trusted, and they are dropped).
  bool Take(std::deque<Step>& from, std::deque<Step>& to, PathValues& values, bool backwards,
            std::uint64_t* tag);
  void Forget(std::deque<Step>& steps, bool oldest);

  std::deque<Step> mDone;    // oldest first
  std::deque<Step> mUndone;  // the next to redo last
  std::size_t mBytes = 0;
  std::uint64_t mVersion = 0;
};
