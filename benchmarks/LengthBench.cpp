// What an edit costs the bar's Length: the path measured again after a click that appends a
// point, after one that moves a point, and after an undo, at 1,000 to 100,000 points, with the
// preview off. (BM_MeasurePath, measuring the whole path, is the peer.)
#include <benchmark/benchmark.h>

#include "BenchSupport.h"
#include "CubicBSpline.h"
#include "PathPreview.h"

namespace {

enum class Edit { Append, Move, Undo };

// Each iteration is one edit and the measure after it. The edits go back and forth, so that the
// path keeps its size: a point appended, then deleted again; a point moved by a pixel and back;
// an undo of that move, then its redo (the history sets the path's values, as here).
void BM_EditMeasure(benchmark::State& state) {
  const auto edit = static_cast<Edit>(state.range(0));
  const auto n = static_cast<std::size_t>(state.range(1));
  CubicBSpline spline;
  spline.mControlPoints = bench::ControlPoints(n);
  PathPreview preview;
  preview.Follow(spline, true, false, 0.0);
  const PathValues before = spline.Values();
  PathValues after = before;
  after.mControlPoints[n / 2] += vec2(1.0f, 0.5f);
  bool forth = true;
  for (auto _ : state) {
    if (edit == Edit::Append) {
      if (forth) {
        spline.PushBack(vec2(500.0f, 300.0f));
      } else {
        spline.mSelectedIndex = static_cast<std::int32_t>(n);
        spline.DeleteSelected();
      }
    } else if (edit == Edit::Move) {
      spline.mSelectedIndex = static_cast<std::int32_t>(n / 2);
      spline.MoveSelected(forth ? vec2(1.0f, 0.5f) : vec2(-1.0f, -0.5f));
    } else {
      spline.SetValues(forth ? after : before);
    }
    forth = !forth;
    preview.Follow(spline, true, false, 0.0);
    benchmark::DoNotOptimize(preview.Length());
  }
}
BENCHMARK(BM_EditMeasure)
    ->ArgsProduct({{static_cast<int>(Edit::Append), static_cast<int>(Edit::Move),
                    static_cast<int>(Edit::Undo)},
                   {1000, 10000, 100000}})
    ->Unit(benchmark::kMicrosecond);

// A drag frame as the editor runs it: the point moved, the samples rebuilt, and the path
// measured for the Length and the preview (a path of up to PathPreview::kLivePoints points at
// once, a longer one when the drag ends).
void BM_DragFrameMeasured(benchmark::State& state) {
  const auto n = static_cast<std::size_t>(state.range(0));
  CubicBSpline spline;
  spline.mControlPoints = bench::ControlPoints(n);
  spline.mSamplesValid = false;
  spline.RebuildSamples();
  PathPreview preview;
  preview.Follow(spline, true, false, 0.0);
  spline.mSelectedIndex = static_cast<std::int32_t>(n / 2);
  float direction = 1.0f;
  for (auto _ : state) {
    spline.MoveSelected(vec2(direction, 0.5f * direction));
    const bool changed = !spline.mSamplesValid;
    spline.RebuildSamples();
    preview.Follow(spline, changed, true, 0.0);
    direction = -direction;
    benchmark::DoNotOptimize(spline.mSamples.data());
    benchmark::DoNotOptimize(preview.Length());
  }
}
BENCHMARK(BM_DragFrameMeasured)->Arg(100)->Arg(10000);

}  // namespace
