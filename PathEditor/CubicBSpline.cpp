// Curve evaluation, the local/window mapping and the editing commands of the path.
#include "CubicBSpline.h"

#include <cmath>
#include <cstddef>
#include <cstdio>
#include <cstdlib>

#include "SplineCurve.h"

// Preconditions of the path stay checked in every build type: a violation names the condition
// and this source, then stops the program.
#define SPLINE_ASSERT(condition) \
  ((condition) ? static_cast<void>(0) : AssertionFailed(#condition, __FILE__, __LINE__))

namespace {

[[noreturn]] void AssertionFailed(const char* condition, const char* file, int line) {
  std::fprintf(stderr, "Assertion failed: %s, file %s, line %d\n", condition, file, line);
  std::fflush(stderr);
  std::abort();
}

constexpr float kPi = 3.1415927f;

}  // namespace

vec2 CubicBSpline::EvaluateSegment(const vec2& p0, const vec2& p1, const vec2& p2, const vec2& p3, float t) {
  SPLINE_ASSERT(t >= 0.0f && t <= 1.0f);
  const splineweights::Weights w = splineweights::WeightsAt(t);
  return vec2(splineweights::Sum(w, p0.x, p1.x, p2.x, p3.x), splineweights::Sum(w, p0.y, p1.y, p2.y, p3.y));
}

vec2 CubicBSpline::Evaluate(float s) const {
  const std::size_t count = mControlPoints.size();
  if (count < splinecurve::MinimumPoints(mEnds)) return vec2(0.0f, 0.0f);
  const splinecurve::Place place = splinecurve::PlaceOf(count, mEnds, s);
  const float t = place.t;
  SPLINE_ASSERT(t >= 0.0f && t <= 1.0f);
  return splinecurve::PointAt(mControlPoints.data(), count, mEnds, place);
}

CubicBSpline::WindowMap CubicBSpline::MakeWindowMap() const {
  const float theta = mRotation / 180.0f * kPi;
  const float c = static_cast<float>(std::cos(static_cast<double>(theta)));
  const float sn = static_cast<float>(std::sin(static_cast<double>(theta)));
  return WindowMap{mScale * c, mScale * sn};
}

vec2 CubicBSpline::ToWindow(const vec2& local) const { return MakeWindowMap().Apply(local); }

std::vector<vec2> CubicBSpline::WindowPoints() const {
  const WindowMap map = MakeWindowMap();
  std::vector<vec2> points;
  points.reserve(mControlPoints.size());
  for (const vec2& p : mControlPoints) points.push_back(map.Apply(p));
  return points;
}

void CubicBSpline::SetValues(const PathValues& values) {
  InvalidateSamples();
  static_cast<PathValues&>(*this) = values;
}

vec2 CubicBSpline::ToLocal(const vec2& window) const {
  const WindowMap map = MakeWindowMap();
  const mat3 toWindow(vec3(map.kc, map.ks, 0.0f), vec3(-map.ks, map.kc, 0.0f), vec3(0.0f, 0.0f, 1.0f));
  const vec3 local = glm::inverse(toWindow) * vec3(window, 1.0f);
  return vec2(local.x, local.y);
}

void CubicBSpline::PushBack(const vec2& window) {
  InvalidateSamples();
  const vec2 local = ToLocal(window);
  if (!IsFinite(local)) return;
  mSelectedIndex = static_cast<std::int32_t>(mControlPoints.size());
  mControlPoints.push_back(local);
}

void CubicBSpline::InsertBeforeSelected(const vec2& window) {
  InvalidateSamples();
  SPLINE_ASSERT(mSelectedIndex >= -1);
  // A selection past the end (only a stale one can be) is treated like no selection.
  if (mSelectedIndex < 0 || static_cast<std::size_t>(mSelectedIndex) > mControlPoints.size()) {
    PushBack(window);
    return;
  }
  const vec2 local = ToLocal(window);
  if (!IsFinite(local)) return;
  mControlPoints.insert(mControlPoints.begin() + mSelectedIndex, local);
}

void CubicBSpline::InsertAfterSelected(const vec2& window) {
  InvalidateSamples();
  SPLINE_ASSERT(mSelectedIndex >= -1);
  if (!IsFinite(ToLocal(window))) return;  // keep the selection when nothing can be inserted
  if (mSelectedIndex < INT32_MAX) ++mSelectedIndex;
  InsertBeforeSelected(window);
}

void CubicBSpline::DeleteSelected() {
  if (mSelectedIndex < 0 || static_cast<std::size_t>(mSelectedIndex) >= mControlPoints.size()) return;
  InvalidateSamples();
  mControlPoints.erase(mControlPoints.begin() + mSelectedIndex);
  const auto count = static_cast<std::int32_t>(mControlPoints.size());
  if (mSelectedIndex >= count) mSelectedIndex = count - 1;
}

void CubicBSpline::Clear() {
  InvalidateSamples();
  mControlPoints.clear();
  mSelectedIndex = -1;
}

void CubicBSpline::SetRotation(float degrees) {
  if (!std::isfinite(degrees)) return;  // would place every point nowhere
  InvalidateSamples();
  mRotation = degrees;
  if (degrees > 360.0f)
    mRotation = degrees - 360.0f;
  else if (degrees < 0.0f)
    mRotation = degrees + 360.0f;
}

void CubicBSpline::SetScale(float scale) {
  if (!std::isfinite(scale)) return;
  InvalidateSamples();
  mScale = scale;
}

void CubicBSpline::SetEnds(PathEnds ends) {
  InvalidateSamples();
  mEnds = ends;
}

void CubicBSpline::Pick(const vec2& window) {
  mHoveredIndex = -1;
  const vec2 local = ToLocal(window);
  if (!IsFinite(local)) return;
  for (std::size_t i = 0; i < mControlPoints.size(); ++i) {
    const float dx = local.x - mControlPoints[i].x;
    const float dy = local.y - mControlPoints[i].y;
    const float distanceSq = dx * dx + dy * dy;
    if (distanceSq < mPickRadiusSq) {
      mHoveredIndex = static_cast<std::int32_t>(i);
      return;
    }
  }
}

void CubicBSpline::MoveSelected(const vec2& windowDelta) {
  if (mSelectedIndex == -1) return;
  if (mSelectedIndex < 0 || static_cast<std::size_t>(mSelectedIndex) >= mControlPoints.size()) return;
  // Nothing else changed since the last rebuild: the next one needs only this point's segments.
  const bool onlyThisPoint = mSamplesValid || mMovedPoint == mSelectedIndex;
  mSamplesValid = false;
  mMovedPoint = onlyThisPoint ? mSelectedIndex : -1;
  const vec2 moved = mControlPoints[mSelectedIndex] + ToLocal(windowDelta);
  if (IsFinite(moved)) mControlPoints[mSelectedIndex] = moved;
}

void CubicBSpline::PlaceSelected(const vec2& window) {
  if (mSelectedIndex < 0 || static_cast<std::size_t>(mSelectedIndex) >= mControlPoints.size()) return;
  const vec2 local = ToLocal(window);
  if (!IsFinite(local)) return;
  InvalidateSamples();
  mControlPoints[static_cast<std::size_t>(mSelectedIndex)] = local;
}

void CubicBSpline::TranslateAll(const vec2& delta) {
  InvalidateSamples();
  // All or nothing: a delta that would push any point out of the finite range moves none.
  for (const vec2& p : mControlPoints)
    if (!IsFinite(p + delta)) return;
  for (vec2& p : mControlPoints) p += delta;
}
