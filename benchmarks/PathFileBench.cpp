// Save and Load of a 10,000-point path beside tinyxml2 parsing and printing the same file.
#include <benchmark/benchmark.h>

#include <tinyxml2.h>

#include <algorithm>
#include <filesystem>

#include "BenchSupport.h"
#include "TestSupport.h"
#include "CubicBSpline.h"
#include "PathFiles.h"

namespace {

namespace fs = std::filesystem;

constexpr std::size_t kPoints = 10000;

// The path, saved once as bench.xml in a work folder of its own.
struct SavedPath {
  SavedPath() {
    spline.mControlPoints = bench::ControlPoints(kPoints);
    files.mFilename = "bench";
    files.Save(spline);
  }
  std::uint32_t Index() const {
    const auto at = std::find(files.mFilenames.begin(), files.mFilenames.end(), "bench.xml");
    return static_cast<std::uint32_t>(at - files.mFilenames.begin());
  }
  testsupport::TempWorkDir folder;
  CubicBSpline spline;
  PathFiles files;
};

// Saving over the existing file: its previous content is kept as bench.xml.bak0 first.
void BM_SaveOverExisting(benchmark::State& state) {
  SavedPath path;
  for (auto _ : state) {
    path.files.Save(path.spline);
    state.PauseTiming();
    fs::remove("bench.xml.bak0");
    state.ResumeTiming();
  }
}
BENCHMARK(BM_SaveOverExisting)->Unit(benchmark::kMillisecond);

// Saving under a new name: no backup to make.
void BM_SaveNew(benchmark::State& state) {
  SavedPath path;
  for (auto _ : state) {
    state.PauseTiming();
    fs::remove("bench.xml");
    state.ResumeTiming();
    path.files.Save(path.spline);
  }
}
BENCHMARK(BM_SaveNew)->Unit(benchmark::kMillisecond);

void BM_Load(benchmark::State& state) {
  SavedPath path;
  const std::uint32_t index = path.Index();
  for (auto _ : state) {
    path.files.LoadResourceFile(index, path.spline);
    benchmark::DoNotOptimize(path.spline.mControlPoints.data());
  }
  if (path.spline.mControlPoints.size() != kPoints) state.SkipWithError("the path did not load");
}
BENCHMARK(BM_Load)->Unit(benchmark::kMillisecond);

void BM_XmlParse(benchmark::State& state) {
  SavedPath path;
  for (auto _ : state) {
    tinyxml2::XMLDocument document;
    if (document.LoadFile("bench.xml") != tinyxml2::XML_SUCCESS) state.SkipWithError("no parse");
    benchmark::DoNotOptimize(document.FirstChildElement());
  }
}
BENCHMARK(BM_XmlParse)->Unit(benchmark::kMillisecond);

// Printing the parsed file to another file, indented, as the library does by default.
void BM_XmlPrint(benchmark::State& state) {
  SavedPath path;
  tinyxml2::XMLDocument document;
  document.LoadFile("bench.xml");
  for (auto _ : state) {
    if (document.SaveFile("printed.xml") != tinyxml2::XML_SUCCESS) state.SkipWithError("no print");
  }
}
BENCHMARK(BM_XmlPrint)->Unit(benchmark::kMillisecond);

}  // namespace
