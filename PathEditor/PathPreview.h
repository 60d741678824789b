// The edited path as a game reads the same points: measured for the bar's Length, and walked by
// the preview marker at the preview speed, by the clock.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>

#include "CubicBSpline.h"
#include "PathLength.h"
#include "PathResource.h"
#include "glm_types.h"

class PathPreview {
public:
  // While a drag goes on, a path of up to this many points is measured again every frame that
  // changed it (about a millisecond at most); a longer one when the drag ends, so that
  // measuring never slows a drag.
  static constexpr std::size_t kLivePoints = 250;

  // The clock the marker moves by: seconds of a steady clock.
  static double Now();

  // Measures the path again if it changed (`changed` this frame, or earlier while a drag held
  // the measure back): the segments the change touched (PathLength), and while the preview
  // runs, the whole path as the runtime reads it for the marker. The marker goes on from the
  // distance it had come at `now` (seconds).
  void Follow(const CubicBSpline& spline, bool changed, bool dragging, double now);

  // The curve's length in frame pixels, as the runtime gives it for these points; 0 without a
  // curve.
  double Length() const { return mLength.Length(); }
  // Segments measured for the length so far.
  std::uint64_t MeasuredSegments() const { return mLength.MeasuredSegments(); }
  // The preview speed in frame pixels a second; 0 is off. A speed below 0 or not finite is
  // refused. A change keeps the marker where it is; from off it starts at the curve's start.
  float Speed() const { return mSpeed; }
  void SetSpeed(float speed, double now);

  // How far along the curve the marker is at `now`: it goes round a loop and starts again at
  // the start of an open curve when it reaches the end.
  double DistanceAt(double now) const;
  // The marker's window position at `now`, through the runtime's PointAtDistance; nothing while
  // the preview is off, before the path is read for it (the Follow after the speed is set), or
  // without a curve.
  std::optional<vec2> MarkerAt(double now) const;

private:
  // The marker has come mAnchorDistance along the curve at mAnchorTime, and goes on at mSpeed.
  void Anchor(double now);

  PathLength mLength;
  // The path in frame pixels, from the frame's lower-left corner, as the marker walks it: read
  // only while the preview runs (a path of 10,000 points takes about 20 ms).
  std::optional<PathResource> mPath;
  bool mPathRead = false;  // mPath is the path as it is, or nothing where the runtime refuses it
  bool mStale = false;     // changed since it was measured
  float mSpeed = 0.0f;
  double mAnchorTime = 0.0;
  double mAnchorDistance = 0.0;
};
