// The steps of undo and redo, as the stretch of points each changed.
#include "EditHistory.h"

#include <algorithm>
#include <iterator>

void EditHistory::Record(const PathValues& before, const PathValues& after) {
  const std::vector<vec2>& a = before.mControlPoints;
  const std::vector<vec2>& b = after.mControlPoints;
  if (a == b && before.mRotation == after.mRotation && before.mScale == after.mScale) return;

  // The points both lists share at the front and at the back stay out of the step.
  std::size_t front = 0;
  while (front < a.size() && front < b.size() && a[front] == b[front]) ++front;
  std::size_t back = 0;
  while (back < a.size() - front && back < b.size() - front &&
         a[a.size() - 1 - back] == b[b.size() - 1 - back])
    ++back;
  Step step;
  step.first = front;
  step.before.assign(a.begin() + static_cast<std::ptrdiff_t>(front),
                     a.end() - static_cast<std::ptrdiff_t>(back));
  step.after.assign(b.begin() + static_cast<std::ptrdiff_t>(front),
                    b.end() - static_cast<std::ptrdiff_t>(back));
  step.rotationBefore = before.mRotation, step.rotationAfter = after.mRotation;
  step.scaleBefore = before.mScale, step.scaleAfter = after.mScale;
  step.selectedBefore = before.mSelectedIndex, step.selectedAfter = after.mSelectedIndex;

  while (!mUndone.empty()) Forget(mUndone, false);
  mBytes += step.Bytes();
  mDone.push_back(std::move(step));
  while (mBytes > kBudgetBytes && mDone.size() > 1) Forget(mDone, true);
}

bool EditHistory::Undo(PathValues& values) {
  if (mDone.empty()) return false;
  const Step& step = mDone.back();
  if (!Apply(values, step.first, step.after, step.before)) {
    // The values are not those the step ended at: no step can be trusted any more.
    while (!mDone.empty()) Forget(mDone, false);
    return false;
  }
  values.mRotation = step.rotationBefore, values.mScale = step.scaleBefore;
  values.mSelectedIndex = step.selectedBefore;
  mUndone.push_back(std::move(mDone.back()));
  mDone.pop_back();
  return true;
}

bool EditHistory::Redo(PathValues& values) {
  if (mUndone.empty()) return false;
  const Step& step = mUndone.back();
  if (!Apply(values, step.first, step.before, step.after)) {
    while (!mUndone.empty()) Forget(mUndone, false);
    return false;
  }
  values.mRotation = step.rotationAfter, values.mScale = step.scaleAfter;
  values.mSelectedIndex = step.selectedAfter;
  mDone.push_back(std::move(mUndone.back()));
  mUndone.pop_back();
  return true;
}

bool EditHistory::Apply(PathValues& values, std::size_t first, const std::vector<vec2>& from,
                        const std::vector<vec2>& to) {
  std::vector<vec2>& points = values.mControlPoints;
  if (first > points.size() || from.size() > points.size() - first ||
      !std::equal(from.begin(), from.end(), points.begin() + static_cast<std::ptrdiff_t>(first)))
    return false;
  const auto at = points.begin() + static_cast<std::ptrdiff_t>(first);
  const auto replaced = static_cast<std::ptrdiff_t>(std::min(from.size(), to.size()));
  std::copy(to.begin(), to.begin() + replaced, at);
  if (to.size() > from.size()) {
    points.insert(at + replaced, to.begin() + replaced, to.end());
  } else {
    points.erase(at + replaced, at + static_cast<std::ptrdiff_t>(from.size()));
  }
  return true;
}

void EditHistory::Forget(std::deque<Step>& steps, bool oldest) {
  mBytes -= oldest ? steps.front().Bytes() : steps.back().Bytes();
  oldest ? steps.pop_front() : steps.pop_back();
}
