// Reading a path file into frame pixels, and the curve the editor draws through its points.
#include "PathResource.h"

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
  resource.mSamples = SamplesOf(resource.mControlPoints, ends);
  resource.mArcLength = arclength::Table(resource.mControlPoints, ends);
  // Points near the float range can sum to a curve beyond it, or to a length beyond it.
  finite = std::isfinite(resource.Length());
  for (const PathPoint& sample : resource.mSamples) finite = finite && IsFinite(sample);
  if (!finite) return std::nullopt;
  return resource;
}

PathPoint PathResource::Evaluate(float s) const {
  const std::size_t count = mControlPoints.size();
  if (count < splinecurve::MinimumPoints(mEnds)) return PathPoint{0.0f, 0.0f};
  const auto last = static_cast<float>(count);
  const float held = s > 0.0f ? (s < last ? s : last) : 0.0f;  // a NaN gives 0
  return splinecurve::Evaluate(mControlPoints.data(), count, mEnds, held);
}

float PathResource::Length() const { return static_cast<float>(mArcLength.Length()); }

// Length() is the table's length rounded to a float: on an open path, from there on the
// distance is the end. A loop goes round by Length(), so that whole rounds of it come back to
// the start exactly.
double PathResource::TableDistance(float d) const {
  const double length = Length();
  if (mEnds == PathEnds::Loop) {
    if (!(length > 0.0) || !std::isfinite(d)) return 0.0;
    double wrapped = std::fmod(static_cast<double>(d), length);
    if (wrapped < 0.0) wrapped += length;
    return wrapped < length ? wrapped : 0.0;  // a tiny negative rest rounds up to a whole round
  }
  return d >= length ? mArcLength.Length() : d;
}

PathPoint PathResource::PointAtDistance(float d) const { return mArcLength.PointAt(TableDistance(d)); }

PathPoint PathResource::TangentAtDistance(float d) const { return mArcLength.DirectionAt(TableDistance(d)); }
