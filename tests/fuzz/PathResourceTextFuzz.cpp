// Fuzz target: bytes as a path text into the runtime's reader. A refused text must say why; a
// path read, whatever its ends, must have a finite curve and length, positions by distance that
// start and end where the drawn curve does, unit tangents, poses that agree with both, and
// nearest points on the curve.
#include <algorithm>
#include <cmath>
#include <cstdint>
#include <limits>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "FuzzSupport.h"
#include "PathResource.h"

namespace {

using fuzzsupport::Fail;

double Apart(const PathPoint& a, const PathPoint& b) {
  return std::hypot(static_cast<double>(a.x) - b.x, static_cast<double>(a.y) - b.y);
}

void CheckDistances(const PathResource& path, const std::vector<PathPoint>& samples) {
  const double length = path.Length();
  if (!(length >= 0.0) || !std::isfinite(length)) Fail("a length that is not a finite number");
  double size = 0.0;
  for (const PathPoint& p : path.ControlPoints())
    size = std::max({size, std::abs(double{p.x}), std::abs(double{p.y})});
  // The samples are summed in single precision, the positions by distance in double.
  const double tolerance = 1e-5 * size + 1e-3;
  if (Apart(path.PointAtDistance(0.0), samples.front()) > tolerance) Fail("distance 0 is not the start");
  if (Apart(path.PointAtDistance(length), samples.back()) > tolerance) Fail("the length is not the end");
  const double nan = std::numeric_limits<double>::quiet_NaN(),
               infinity = std::numeric_limits<double>::infinity();
  for (double d : {0.0, length / 3.0, length / 2.0, length, -1.0, nan, infinity}) {
    const PathPoint point = path.PointAtDistance(d), tangent = path.TangentAtDistance(d);
    if (!IsFinite(point)) Fail("a position by distance that is not finite");
    const double norm = std::hypot(tangent.x, tangent.y);
    if (!(norm == 0.0 || std::abs(norm - 1.0) <= 1e-5)) Fail("a tangent that is neither a unit vector nor 0");
    if (norm == 0.0 && length > 0.0) Fail("no tangent on a curve that has a length");
    const PathPose pose = path.PoseAtDistance(d);
    if (pose.position != point || pose.direction != tangent)
      Fail("a pose that is not the point and the tangent");
  }
  for (const PathPoint& p : {samples.front(), samples[samples.size() / 2], PathPoint{0.0f, 0.0f}}) {
    const double along = path.NearestDistance(p);
    if (!(along >= 0.0 && along <= length)) Fail("a nearest distance off the curve");
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  std::string error;
  const std::optional<PathResource> path = PathResource::FromText(text, &error);
  if (!path) {
    if (error.empty()) Fail("a text refused without a reason");
    return 0;
  }
  if (!error.empty()) Fail("a path read with a reason to refuse it");
  const std::size_t count = path->ControlPoints().size();
  if (!std::all_of(path->ControlPoints().begin(), path->ControlPoints().end(), IsFinite))
    Fail("a control point that is not finite");
  const std::vector<PathPoint> samples = path->Samples();
  if (!std::all_of(samples.begin(), samples.end(), IsFinite)) Fail("a sample that is not finite");
  const bool curve = count >= splinecurve::MinimumPoints(path->Ends());
  if (curve == samples.empty()) Fail("samples for no curve, or no samples for a curve");
  for (float s :
       {0.0f, 0.5f, static_cast<float>(count), -1.0f, 1e30f, std::numeric_limits<float>::quiet_NaN()})
    if (!IsFinite(path->Evaluate(s))) Fail("a curve point that is not finite");
  if (curve) {
    CheckDistances(*path, samples);
  } else if (path->Length() != 0.0) {
    Fail("a length for no curve");
  }
  return 0;
}
