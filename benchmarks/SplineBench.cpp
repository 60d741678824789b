// The sample rebuild beside a plain store loop of as many samples, one drag frame, one zoom
// step, and a measure of the whole path for the bar's Length.
#include <benchmark/benchmark.h>

#include "BenchSupport.h"
#include "CubicBSpline.h"
#include "PathPreview.h"
#include "WindowView.h"

namespace {

// A full rebuild: the scale is set again, which asks for every segment to be evaluated.
void BM_RebuildSamples(benchmark::State& state) {
  CubicBSpline spline;
  spline.mControlPoints = bench::ControlPoints(static_cast<std::size_t>(state.range(0)));
  spline.SetScale(1.0f);
  spline.RebuildSamples();
  for (auto _ : state) {
    spline.SetScale(1.0f);
    spline.RebuildSamples();
    benchmark::DoNotOptimize(spline.mSamples.data());
    benchmark::ClobberMemory();
  }
}
BENCHMARK(BM_RebuildSamples)->Arg(4)->Arg(100)->Arg(1000)->Arg(10000);

// The floor: a loop writing as many vec2 samples into a vector that keeps its capacity.
void BM_WriteSamplesFloor(benchmark::State& state) {
  CubicBSpline spline;
  spline.mControlPoints = bench::ControlPoints(static_cast<std::size_t>(state.range(0)));
  spline.SetScale(1.0f);
  spline.RebuildSamples();
  std::vector<vec2> out(spline.mSamples.size());
  const std::size_t count = out.size();
  for (auto _ : state) {
    vec2* data = out.data();
    benchmark::DoNotOptimize(data);
    for (std::size_t i = 0; i < count; ++i) {
      const float f = static_cast<float>(i);
      data[i] = vec2(f, -f);
    }
    benchmark::ClobberMemory();
  }
}
BENCHMARK(BM_WriteSamplesFloor)->Arg(4)->Arg(100)->Arg(1000)->Arg(10000);

// One drag frame: the point in the middle moves by a pixel, then the samples are rebuilt.
void BM_DragFrame(benchmark::State& state) {
  CubicBSpline spline;
  const auto n = static_cast<std::size_t>(state.range(0));
  spline.mControlPoints = bench::ControlPoints(n);
  spline.mSamplesValid = false;
  spline.RebuildSamples();
  spline.mSelectedIndex = static_cast<std::int32_t>(n / 2);
  float direction = 1.0f;
  for (auto _ : state) {
    spline.MoveSelected(vec2(direction, 0.5f * direction));
    spline.RebuildSamples();
    direction = -direction;  // back and forth, so the path stays where it is
    benchmark::DoNotOptimize(spline.mSamples.data());
    benchmark::ClobberMemory();
  }
}
BENCHMARK(BM_DragFrame)->Arg(100)->Arg(10000);

// What a wheel step adds to a frame, as the drag frame above prices what a drag adds: the view
// zooms about the pointer, the pick radius follows the zoom, and the samples are rebuilt,
// which finds nothing to do: they lie in scene pixels, which the drawing's projection zooms.
void BM_ZoomStep(benchmark::State& state) {
  CubicBSpline spline;
  spline.mControlPoints = bench::ControlPoints(static_cast<std::size_t>(state.range(0)));
  spline.mSamplesValid = false;
  spline.RebuildSamples();
  WindowView* view = WindowView::Instance();
  bool in = true;
  for (auto _ : state) {
    view->ZoomAbout(vec2(500.0f, 350.0f), in);
    in = !in;  // in and out again, so the zoom stays between its limits
    spline.mPickRadiusSq = CubicBSpline::kPickRadiusSq / (view->Zoom() * view->Zoom());
    spline.RebuildSamples();
    benchmark::DoNotOptimize(spline.mSamples.data());
    benchmark::DoNotOptimize(view->SceneProjection());
    benchmark::ClobberMemory();
  }
  view->ResetView();
}
BENCHMARK(BM_ZoomStep)->Arg(10000);
// The whole path measured for the Length, as after a load or a change of the ends (the preview
// off): every segment.
void BM_MeasurePath(benchmark::State& state) {
  CubicBSpline spline;
  spline.mControlPoints = bench::ControlPoints(static_cast<std::size_t>(state.range(0)));
  for (auto _ : state) {
    PathPreview preview;
    preview.Follow(spline, true, false, 0.0);
    benchmark::DoNotOptimize(preview.Length());
  }
}
BENCHMARK(BM_MeasurePath)->Arg(100)->Arg(1000)->Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond);

}  // namespace
