// Reading a path file into frame pixels, and the curve the editor draws through its points.
#include "PathResource.h"

#include <algorithm>
#include <cfloat>
#include <cmath>

#include "PathFileFormat.h"
#include "SampleParameters.h"
#include "SplineCurve.h"
#include "WholeFile.h"

namespace {

const char kNotAPathDocument[] = "not an XML document with a root element";
const char kBeyondFloatRange[] = "a value beyond the float range";

void SetError(std::string* error, std::string text) {
  if (error != nullptr) *error = std::move(text);
}

std::vector<PathPoint> SamplesOf(const std::vector<PathPoint>& points, PathEnds ends) {
  std::vector<PathPoint> samples;
  const std::size_t segments = splinecurve::SegmentCount(points.size(), ends);
  if (segments == 0) return samples;
  samples.reserve(100 * segments + 2);
  sampleparameters::ForEachSampleParameter(static_cast<float>(segments), [&](float s) {
    samples.push_back(splinecurve::Evaluate(points.data(), points.size(), ends, s));
  });
  return samples;
}

// Whether every sample of the curve is finite. Each is a weighted sum of at most four points
// whose weights come to less than 3 in size (a pinned end carries 2 P0 - P1 onto its points), so
// points within an eighth of the float range cannot sum beyond it; only larger ones need the
// samples made.
bool SamplesAreFinite(const std::vector<PathPoint>& points, PathEnds ends) {
  float largest = 0.0f;
  for (const PathPoint& p : points) largest = std::max({largest, std::abs(p.x), std::abs(p.y)});
  if (largest <= FLT_MAX / 8.0f) return true;
  const std::vector<PathPoint> samples = SamplesOf(points, ends);
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
  std::optional<PathResource> resource;
  if (points) {
    resource = FromPoints(std::move(*points), contents->ends,
                          PathPoint{2.0f * contents->scale.x, 2.0f * contents->scale.y});
  }
  if (!resource) {
    SetError(error, kBeyondFloatRange);
    return std::nullopt;
  }
  resource->mBackground = std::move(contents->background);
  resource->mMessages = std::move(contents->messages);
  SetError(error, "");
  return resource;
}

std::optional<PathResource> PathResource::FromPoints(std::vector<PathPoint> framePoints, PathEnds ends,
                                                     PathPoint frameSize) {
  bool finite = IsFinite(frameSize);
  for (const PathPoint& p : framePoints) finite = finite && IsFinite(p);
  if (!finite) return std::nullopt;

  PathResource resource;
  resource.mControlPoints = std::move(framePoints);
  resource.mFrameSize = frameSize;
  resource.mEnds = ends;
  // Points near the float range can sum to a curve beyond it, or to a length beyond it.
  if (!SamplesAreFinite(resource.mControlPoints, ends)) return std::nullopt;
  resource.mArcLength = arclength::Table(resource.mControlPoints, ends);
  if (!(resource.Length() <= FLT_MAX)) return std::nullopt;
  return resource;
}

PathPoint PathResource::Evaluate(float s) const {
  const std::size_t count = mControlPoints.size();
  if (count < splinecurve::MinimumPoints(mEnds)) return PathPoint{0.0f, 0.0f};
  const auto last = static_cast<float>(count);
  const float held = s > 0.0f ? (s < last ? s : last) : 0.0f;  // a NaN gives 0
  return splinecurve::Evaluate(mControlPoints.data(), count, mEnds, held);
}

std::vector<PathPoint> PathResource::Samples() const { return SamplesOf(mControlPoints, mEnds); }
