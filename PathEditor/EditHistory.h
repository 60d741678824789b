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
  // that differ only in the selection make no step: selecting alone is no edit.
  void Record(const PathValues& before, const PathValues& after);
  // Takes `values` one step back or forward; false, and nothing changed, when there is none.
  bool Undo(PathValues& values);
  bool Redo(PathValues& values);

  std::size_t UndoSteps() const { return mDone.size(); }
  std::size_t RedoSteps() const { return mUndone.size(); }
  // The memory the kept steps hold.
  std::size_t Bytes() const { return mBytes; }

private:
  // One step: from point `first` on, the points `before` were replaced by the points `after`;
  // the points ahead of `first` and after the replaced ones stayed as they were.
  struct Step {
    std::size_t first = 0;
    std::vector<vec2> before;
    std::vector<vec2> after;
    float rotationBefore = 0.0f, rotationAfter = 0.0f;
    float scaleBefore = 1.0f, scaleAfter = 1.0f;
    std::int32_t selectedBefore = -1, selectedAfter = -1;
    std::size_t Bytes() const { return sizeof(Step) + (before.capacity() + after.capacity()) * sizeof(vec2); }
  };

  // Replaces `from` by `to` at `first` in values; false when the points do not fit the step.
  static bool Apply(PathValues& values, std::size_t first, const std::vector<vec2>& from,
                    const std::vector<vec2>& to);
  void Forget(std::deque<Step>& steps, bool oldest);

  std::deque<Step> mDone;    // oldest first
  std::deque<Step> mUndone;  // the next to redo last
  std::size_t mBytes = 0;
};
