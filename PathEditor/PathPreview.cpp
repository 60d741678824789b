// Measuring the edited path with the runtime, and where the preview marker is at a moment.
#include "PathPreview.h"

#include <chrono>
#include <cmath>
#include <vector>

#include "PathFrame.h"

double PathPreview::Now() {
  return std::chrono::duration<double>(std::chrono::steady_clock::now().time_since_epoch()).count();
}

void PathPreview::Follow(const CubicBSpline& spline, bool changed, bool dragging, double now) {
  mStale = mStale || changed;
  const bool previewing = mSpeed > 0.0f;
  if (!previewing) {
    mPath.reset();
    mPathRead = false;
  }
  if (!mStale && (mPathRead || !previewing)) return;
  if (dragging && spline.mControlPoints.size() > kLivePoints) return;
  Anchor(now);  // the distance come so far, on the curve as it was
  const vec2 corner = FrameCorner();
  std::vector<PathPoint> framePoints;
  framePoints.reserve(spline.mControlPoints.size());
  for (const vec2& w : spline.WindowPoints())
    framePoints.push_back(PathPoint{w.x - corner.x, w.y - corner.y});
  if (previewing) {
    mPath = PathResource::FromPoints(framePoints, spline.mEnds,
                                     PathPoint{2.0f * gFrameHalfWidth, 2.0f * gFrameHalfHeight});
    mPathRead = true;  // also when the runtime refuses the points: until they change
  }
  if (mStale) mLength.Measure(std::move(framePoints), spline.mEnds);
  mStale = false;
}

void PathPreview::SetSpeed(float speed, double now) {
  if (!(speed >= 0.0f) || !std::isfinite(speed)) return;
  if (mSpeed > 0.0f) {
    Anchor(now);
  } else {
    mAnchorTime = now;
    mAnchorDistance = 0.0;
  }
  mSpeed = speed;
}

void PathPreview::Anchor(double now) {
  mAnchorDistance = DistanceAt(now);
  mAnchorTime = now;
}

double PathPreview::DistanceAt(double now) const {
  const double length = Length();
  if (!(length > 0.0)) return 0.0;
  const double distance =
      std::fmod(mAnchorDistance + static_cast<double>(mSpeed) * (now - mAnchorTime), length);
  return distance < 0.0 ? distance + length : distance;
}

std::optional<vec2> PathPreview::MarkerAt(double now) const {
  if (!(mSpeed > 0.0f) || !mPath || !(Length() > 0.0)) return std::nullopt;
  const PathPoint p = mPath->PointAtDistance(DistanceAt(now));
  return FrameCorner() + vec2(p.x, p.y);
}
