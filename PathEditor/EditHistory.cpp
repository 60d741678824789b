// The steps of undo and redo, as the stretch of points each changed.
#include "EditHistory.h"

#include <algorithm>
#include <iterator>

void EditHistory::Record(const PathValues& before, const PathValues& after, std::uint64_t tag) {
  const std::vector<vec2>& a = before.mControlPoints;
  const std::vector<vec2>& b = after.mControlPoints;
  if (before.SameContent(after)) return;

  // The points both lists share at the front and at the back stay out of the step.
  std::size_t front = 0;
  while (front < a.size() && front < b.size() && a[front] == b[front]) ++front;
  std::size_t back = 0;
  while (back < a.size() - front && back < b.size() - front &&
         a[a.size() - 1 - back] == b[b.size() - 1 - back])
    ++back;
  const auto side = [front, back](const PathValues& values) {
    const std::vector<vec2>& points = values.mControlPoints;
    return Side{std::vector<vec2>(points.begin() + static_cast<std::ptrdiff_t>(front),
                                  points.end() - static_cast<std::ptrdiff_t>(back)),
                values.mRotation, values.mScale, values.mSelectedIndex, values.mEnds};
  };
  Step step{front, side(before), side(after), tag};

  while (!mUndone.empty()) Forget(mUndone, false);
  mBytes += step.Bytes();
  mDone.push_back(std::move(step));
  while (mBytes > kBudgetBytes && mDone.size() > 1) Forget(mDone, true);
  ++mVersion;
}

bool EditHistory::Amend(const PathValues& before, const PathValues& after) {
  if (!mDone.empty()) Forget(mDone, false);
  const std::size_t steps = mDone.size();
  Record(before, after);
  ++mVersion;
  return mDone.size() > steps;
}

bool EditHistory::Undo(PathValues& values, std::uint64_t* tag) {
  return Take(mDone, mUndone, values, true, tag);
}

bool EditHistory::Redo(PathValues& values, std::uint64_t* tag) {
  return Take(mUndone, mDone, values, false, tag);
}

bool EditHistory::Take(std::deque<Step>& from, std::deque<Step>& to, PathValues& values, bool backwards,
                       std::uint64_t* tag) {
  if (from.empty()) return false;
  const Step& step = from.back();
  const Side& leave = backwards ? step.after : step.before;
  const Side& reach = backwards ? step.before : step.after;
  std::vector<vec2>& points = values.mControlPoints;
  const std::size_t first = step.first;
  if (first > points.size() || leave.points.size() > points.size() - first ||
      !std::equal(leave.points.begin(), leave.points.end(),
                  points.begin() + static_cast<std::ptrdiff_t>(first))) {
    while (!from.empty()) Forget(from, false);
    return false;
  }
  const auto at = points.begin() + static_cast<std::ptrdiff_t>(first);
  points.erase(at, at + static_cast<std::ptrdiff_t>(leave.points.size()));
  points.insert(points.begin() + static_cast<std::ptrdiff_t>(first), reach.points.begin(),
                reach.points.end());
  values.mRotation = reach.rotation, values.mScale = reach.scale, values.mSelectedIndex = reach.selected;
  values.mEnds = reach.ends;
  if (tag != nullptr) *tag = step.tag;
  to.push_back(std::move(from.back()));
  from.pop_back();
  ++mVersion;
  return true;
}

void EditHistory::Forget(std::deque<Step>& steps, bool oldest) {
  mBytes -= oldest ? steps.front().Bytes() : steps.back().Bytes();
  oldest ? steps.pop_front() : steps.pop_back();
}
