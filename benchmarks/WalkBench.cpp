// Walking along a path by distance, as a game does: the runtime's points and directions beside a
// table of points baked every 5 px and interpolated linearly (a game engine's usual answer), a
// frame of 10,000 objects, the curve's nearest point, how far each walk is from the curve, and
// what loading a path costs in time and memory.
#include <benchmark/benchmark.h>
#include <malloc.h>  // mallinfo2, for the bytes a loaded path holds
#include <tinyxml2.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <optional>
#include <random>
#include <string>
#include <vector>

#include "BenchPaths.h"
#include "CurveReference.h"
#include "PathResource.h"

namespace {

constexpr std::size_t kPoints = 1000;
constexpr double kBakeStep = 5.0;  // pixels between baked points

const PathResource& Path() {
  static const PathResource path = *PathResource::FromText(bench::PathFileText(kPoints), nullptr);
  return path;
}

// Random distances along the path, the same every run; more than fit in the first-level cache
// with the tables, as many objects at scattered places would be.
const std::vector<double>& Distances() {
  static const std::vector<double> distances = [] {
    std::mt19937 random(7);
    std::uniform_real_distribution<double> along(0.0, Path().Length());
    std::vector<double> values(8192);
    for (double& d : values) d = along(random);
    return values;
  }();
  return distances;
}

// Points every kBakeStep pixels of distance, then the end; a lookup interpolates linearly.
class BakedPath {
public:
  explicit BakedPath(const PathResource& path) : mLength(path.Length()) {
    for (double d = 0.0; d < mLength; d += kBakeStep) mPoints.push_back(path.PointAtDistance(d));
    mPoints.push_back(path.PointAtDistance(mLength));
  }
  PathPoint At(double d) const {
    d = std::clamp(d, 0.0, mLength);
    const double x = d * (1.0 / kBakeStep);
    const std::size_t i = std::min(static_cast<std::size_t>(x), mPoints.size() - 2);
    const auto f = static_cast<float>(x - static_cast<double>(i));
    const PathPoint& a = mPoints[i];
    const PathPoint& b = mPoints[i + 1];
    return PathPoint{a.x + f * (b.x - a.x), a.y + f * (b.y - a.y)};
  }

private:
  double mLength;
  std::vector<PathPoint> mPoints;
};

const BakedPath& Baked() {
  static const BakedPath baked(Path());
  return baked;
}

// A figure for the label, to three significant digits.
std::string Figure(const char* name, double value) {
  char text[64];
  std::snprintf(text, sizeof text, "%s=%.3g", name, value);
  return text;
}

// One lookup per iteration, over the random distances in turn.
template <typename Lookup>
void RunLookups(benchmark::State& state, Lookup&& lookup) {
  const std::vector<double>& distances = Distances();
  std::size_t i = 0;
  for (auto _ : state) {
    benchmark::DoNotOptimize(lookup(distances[i]));
    i = (i + 1) & (distances.size() - 1);
  }
}

void BM_BakedLookup(benchmark::State& state) {
  const BakedPath& baked = Baked();
  RunLookups(state, [&baked](double d) { return baked.At(d); });
}
BENCHMARK(BM_BakedLookup);

void BM_PointAtDistance(benchmark::State& state) {
  const PathResource& path = Path();
  RunLookups(state, [&path](double d) { return path.PointAtDistance(d); });
}
BENCHMARK(BM_PointAtDistance);

void BM_TangentAtDistance(benchmark::State& state) {
  const PathResource& path = Path();
  RunLookups(state, [&path](double d) { return path.TangentAtDistance(d); });
}
BENCHMARK(BM_TangentAtDistance);

// Position and direction together.
void BM_PoseAtDistance(benchmark::State& state) {
  const PathResource& path = Path();
  RunLookups(state, [&path](double d) { return path.PoseAtDistance(d); });
}
BENCHMARK(BM_PoseAtDistance);

// A frame of 10,000 objects moving along the path at their own speeds, going back to the start
// at its end: each object's position and direction, written where a game would draw from.
void BM_WalkFrame(benchmark::State& state) {
  const PathResource& path = Path();
  constexpr std::size_t kObjects = 10000;
  std::vector<double> along(Distances().begin(), Distances().begin() + kObjects / 2);
  along.insert(along.end(), Distances().begin(), Distances().begin() + kObjects / 2);
  std::vector<double> speed(kObjects);
  for (std::size_t i = 0; i < kObjects; ++i) speed[i] = 100.0 + static_cast<double>(i % 200);
  std::vector<PathPoint> positions(kObjects), headings(kObjects);
  const double length = path.Length();
  for (auto _ : state) {
    for (std::size_t i = 0; i < kObjects; ++i) {
      along[i] += speed[i] / 60.0;
      if (along[i] > length) along[i] -= length;
      const PathPose pose = path.PoseAtDistance(along[i]);
      positions[i] = pose.position;
      headings[i] = pose.direction;
    }
    benchmark::DoNotOptimize(positions.data());
    benchmark::DoNotOptimize(headings.data());
    benchmark::ClobberMemory();
  }
}
BENCHMARK(BM_WalkFrame)->Unit(benchmark::kMicrosecond);

// How far the walks are from the true curve: the largest distance, over 2,000 random distances,
// between a lookup and the point of an independent reference at that distance (pixels), and
// that reference's length beside the runtime's.
void BM_WalkAccuracy(benchmark::State& state) {
  const PathResource& path = Path();
  std::vector<curvereference::Point> sequence;
  for (const PathPoint& p : path.ControlPoints()) sequence.push_back({p.x, p.y});
  const curvereference::Curve reference(sequence);
  double runtime = 0.0, baked = 0.0;
  for (auto _ : state) {
    for (std::size_t i = 0; i < 2000; ++i) {
      const double d = Distances()[i];
      const curvereference::Point truth = reference.AtDistance(d);
      const PathPoint a = path.PointAtDistance(d), b = Baked().At(d);
      runtime = std::max(runtime, std::hypot(a.x - truth.x, a.y - truth.y));
      baked = std::max(baked, std::hypot(b.x - truth.x, b.y - truth.y));
    }
  }
  state.SetLabel(Figure("runtime_px", runtime) + " " + Figure("baked_px", baked) + " " +
                 Figure("length_difference_px", std::abs(path.Length() - reference.Length())));
}
BENCHMARK(BM_WalkAccuracy)->Iterations(1)->Repetitions(1)->Unit(benchmark::kMillisecond);

// The distance along the path of its point nearest to points scattered over the frame and
// beyond it.
void BM_NearestDistance(benchmark::State& state) {
  const PathResource& path = Path();
  std::mt19937 random(9);
  std::uniform_real_distribution<float> x(-100.0f, 800.0f), y(-100.0f, 500.0f);
  std::vector<PathPoint> points(1024);
  for (PathPoint& p : points) p = PathPoint{x(random), y(random)};
  std::size_t i = 0;
  for (auto _ : state) {
    benchmark::DoNotOptimize(path.NearestDistance(points[i]));
    i = (i + 1) & (points.size() - 1);
  }
}
BENCHMARK(BM_NearestDistance)->Unit(benchmark::kMicrosecond);

// Loading the path from its text: reading, the length table and the walk index.
void BM_LoadPath(benchmark::State& state) {
  const std::string text = bench::PathFileText(kPoints);
  for (auto _ : state) benchmark::DoNotOptimize(PathResource::FromText(text, nullptr));
}
BENCHMARK(BM_LoadPath)->Unit(benchmark::kMillisecond);

// Its floor: tinyxml2 parsing the same text.
void BM_ParsePathText(benchmark::State& state) {
  const std::string text = bench::PathFileText(kPoints);
  for (auto _ : state) {
    tinyxml2::XMLDocument document;
    document.Parse(text.data(), text.size());
    benchmark::DoNotOptimize(document.FirstChildElement());
  }
}
BENCHMARK(BM_ParsePathText)->Unit(benchmark::kMillisecond);

// The heap in use: small blocks and those mapped on their own (large vectors).
std::size_t HeapInUse() {
  const struct mallinfo2 info = mallinfo2();
  return info.uordblks + info.hblkhd;
}

// The bytes a loaded path holds (the heap in use with it, less without it), and those its
// samples take when asked for, at 100 and 1,000 points.
void BM_PathMemory(benchmark::State& state) {
  std::string label;
  for (auto _ : state) {
    for (const std::size_t n : {std::size_t{100}, kPoints}) {
      const std::string text = bench::PathFileText(n);
      const std::size_t before = HeapInUse();
      const std::optional<PathResource> path = PathResource::FromText(text, nullptr);
      const auto held = static_cast<double>(HeapInUse() - before);
      const auto samples = static_cast<double>(path->Samples().size() * sizeof(PathPoint));
      const std::string points = std::to_string(n);
      label += (label.empty() ? "" : " ") + Figure(("held_kib_" + points).c_str(), held / 1024.0) + " " +
               Figure(("samples_kib_" + points).c_str(), samples / 1024.0);
    }
  }
  state.SetLabel(label);
}
BENCHMARK(BM_PathMemory)->Iterations(1)->Repetitions(1);

}  // namespace
