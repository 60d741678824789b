// Reading a path file into frame pixels, and the curve the editor draws through its points.
#include "PathResource.h"

#include <algorithm>
#include <cfloat>
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

// Whether every sample of the curve is finite. Each is a weighted sum of four points whose
// weights come to 1, so points within an eighth of the float range cannot sum beyond it; only
// larger ones need the samples made.
bool SamplesAreFinite(const std::vector<PathPoint>& points) {
  float largest = 0.0f;
  for (const PathPoint& p : points) largest = std::max({largest, std::abs(p.x), std::abs(p.y)});
  if (largest <= FLT_MAX / 8.0f) return true;
  const std::vector<PathPoint> samples = SamplesOf(points);
  return std::all_of(samples.begin(), samples.end(), [](const PathPoint& s) { return IsFinite(s); });
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
  // Points near the float range can sum to a curve beyond it, or to a length beyond it.
  if (!SamplesAreFinite(resource.mControlPoints)) {
    SetError(error, kBeyondFloatRange);
    return std::nullopt;
  }
  resource.mArcLength = arclength::Table(resource.mControlPoints);
  if (!(resource.Length() <= FLT_MAX)) {
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

std::vector<PathPoint> PathResource::Samples() const { return SamplesOf(mControlPoints); }
