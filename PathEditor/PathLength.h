// The edited curve's length as the runtime measures the same points, kept per segment: after an
// edit only the segments whose control points changed are measured again.
#pragma once

#include <cstdint>
#include <vector>

#include "PathPoint.h"
#include "SplineCurve.h"  // PathEnds

class PathLength {
public:
  // Measures the curve of these control points (frame pixels) with these ends. A segment whose
  // four elements of the control sequence are made of the same points, with the same weights,
  // as a segment of the last measure keeps that segment's length: the points are compared from
  // both ends, so that a point inserted or deleted shifts the segments after it without
  // measuring them again. A change of the ends measures every segment.
  void Measure(std::vector<PathPoint> framePoints, PathEnds ends);

  // The runtime's Length of those points, bit for bit: each segment measured as the runtime
  // measures it (arclength::SegmentLength), summed in the same order. 0 without a curve, and
  // where the runtime would refuse the points (a coordinate not finite, or a curve or length
  // beyond the float range).
  double Length() const { return mLength; }
  // Segments measured so far: an edit adds those it changed.
  std::uint64_t MeasuredSegments() const { return mMeasuredSegments; }

private:
  std::vector<PathPoint> mPoints;  // as last measured
  PathEnds mEnds = PathEnds::Free;
  std::vector<double> mSegmentLengths;
  double mLength = 0.0;
  std::uint64_t mMeasuredSegments = 0;
};
