// perf_inprocess: Google Benchmark's runner with the tweak-bar layer up, since the editor builds
// its bar on construction.
#include <benchmark/benchmark.h>

#include "TweakBar.h"

int main(int argc, char** argv) {
  TwInit(TW_OPENGL, nullptr);
  benchmark::Initialize(&argc, argv);
  if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  TwTerminate();
  return 0;
}
