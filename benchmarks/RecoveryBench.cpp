// The recovery file's write after a gesture, with its flushes to the disk, beside making its
// text alone.
#include <benchmark/benchmark.h>

#include <optional>
#include <string>

#include "BenchSupport.h"
#include "CubicBSpline.h"
#include "PathFiles.h"
#include "RecoveryFile.h"
#include "TestSupport.h"

namespace {

CubicBSpline BenchPath(std::size_t n) {
  CubicBSpline spline;
  spline.mControlPoints = bench::ControlPoints(n);
  return spline;
}

// The text of the path's file, as the document makes it on the frame that ends a gesture.
void BM_RecoveryText(benchmark::State& state) {
  const CubicBSpline spline = BenchPath(static_cast<std::size_t>(state.range(0)));
  for (auto _ : state) {
    std::optional<std::string> text = PathFiles::FileText(spline);
    benchmark::DoNotOptimize(text->data());
  }
}
BENCHMARK(BM_RecoveryText)->Arg(100)->Arg(1000)->Arg(10000)->UseRealTime()->Unit(benchmark::kMillisecond);

// One whole write in wall time: the text, then the writer thread replacing the file through a
// temporary file flushed to the disk, the rename and the folder's flush, waited for.
void BM_RecoveryWrite(benchmark::State& state) {
  testsupport::TempWorkDir folder;
  const CubicBSpline spline = BenchPath(static_cast<std::size_t>(state.range(0)));
  RecoveryFile recovery;
  recovery.Keep("bench.xml.unsaved",
                *PathFiles::FileText(spline));  // the file is there: replaced from now on
  recovery.Finish();
  for (auto _ : state) {
    recovery.Keep("bench.xml.unsaved", *PathFiles::FileText(spline));
    recovery.Finish();
  }
  if (!recovery.TakeFailures().empty()) state.SkipWithError("a write failed");
}
BENCHMARK(BM_RecoveryWrite)->Arg(100)->Arg(1000)->Arg(10000)->UseRealTime()->Unit(benchmark::kMillisecond);

}  // namespace
