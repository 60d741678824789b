// Reading a path file into frame pixels, and the curve the editor draws through its points.
#include "PathResource.h"

#include <cmath>
#include <cstdint>

#include "PathFileFormat.h"
#include "SampleParameters.h"
#include "SplineWeights.h"
#include "WholeFile.h"

namespace {

const char kNotAPathDocument[] = "not an XML document with a root element";
const char kBeyondFloatRange[] = "a value beyond the float range";

void SetError(std::string* error, std::string text) {
  if (error != nullptr) *error = std::move(text);
}

// The curve at s as the editor evaluates it, for 0 <= s < 2^32: segment s truncated, its four
// points wrapping past the last, at t = s - segment.
PathPoint EvaluateAt(const std::vector<PathPoint>& points, float s) {
  const auto i = static_cast<std::uint32_t>(s);
  const float t = s - static_cast<float>(i);
  const splineweights::Weights w = splineweights::WeightsAt(t);
  const splineweights::SegmentIndices at = splineweights::IndicesOf(i, points.size());
  const PathPoint &p0 = points[at.i0], &p1 = points[at.i1], &p2 = points[at.i2], &p3 = points[at.i3];
  return PathPoint{splineweights::Sum(w, p0.x, p1.x, p2.x, p3.x),
                   splineweights::Sum(w, p0.y, p1.y, p2.y, p3.y)};
}

std::vector<PathPoint> SamplesOf(const std::vector<PathPoint>& points) {
  std::vector<PathPoint> samples;
  if (points.size() < 4) return samples;
  const auto end = static_cast<float>(points.size() - 3);
  samples.reserve(100 * (points.size() - 3) + 2);
  sampleparameters::ForEachSampleParameter(end, [&](float s) { samples.push_back(EvaluateAt(points, s)); });
  return samples;
}

}  // namespace

std::optional<PathResource> PathResource::FromFile(const std::string& fileName, std::string* error) {
  std::string text, reason;
  if (!wholefile::Read(fileName, text, &reason)) {
    SetError(error, "cannot read file: " + reason);
    return std::nullopt;
  }
  return FromText(text, error);
}

std::optional<PathResource> PathResource::FromText(std::string_view text, std::string* error) {
  std::optional<pathfile::Contents> contents = pathfile::ReadResourceFile(text, PathPoint{0.0f, 0.0f});
  if (!contents) {
    SetError(error, kNotAPathDocument);
    return std::nullopt;
  }
  // Frame pixels are the window positions of a frame whose lower-left corner is the origin.
  contents->worldPos = PathPoint{0.0f, 0.0f};
  std::optional<std::vector<PathPoint>> points = pathfile::WindowPositions(*contents);
  const PathPoint frameSize{2.0f * contents->scale.x, 2.0f * contents->scale.y};
  if (!points || !IsFinite(frameSize)) {
    SetError(error, kBeyondFloatRange);
    return std::nullopt;
  }

  PathResource resource;
  resource.mControlPoints = std::move(*points);
  resource.mFrameSize = frameSize;
  resource.mMessages = std::move(contents->messages);
  resource.mSamples = SamplesOf(resource.mControlPoints);
  resource.mArcLength = arclength::Table(resource.mControlPoints);
  // Points near the float range can sum to a curve beyond it, or to a length beyond it.
  bool finite = std::isfinite(resource.Length());
  for (const PathPoint& sample : resource.mSamples) finite = finite && IsFinite(sample);
  if (!finite) {
    SetError(error, kBeyondFloatRange);
    return std::nullopt;
  }
  SetError(error, "");
  return resource;
}

PathPoint PathResource::Evaluate(float s) const {
  if (mControlPoints.size() < 4) return PathPoint{0.0f, 0.0f};
  const auto count = static_cast<float>(mControlPoints.size());
  return EvaluateAt(mControlPoints, s > 0.0f ? (s < count ? s : count) : 0.0f);  // a NaN gives 0
}

float PathResource::Length() const { return static_cast<float>(mArcLength.Length()); }

// Length() is the table's length rounded to a float: from there on the distance is the end.
double PathResource::TableDistance(float d) const { return d >= Length() ? mArcLength.Length() : d; }

PathPoint PathResource::PointAtDistance(float d) const {
  return mArcLength.PointAt(mControlPoints, TableDistance(d));
}

PathPoint PathResource::TangentAtDistance(float d) const {
  return mArcLength.DirectionAt(mControlPoints, TableDistance(d));
}
