// One frame's batch submission by the editor beside copying the same bytes into vectors, and,
// for information, the OpenGL upload and draw of those batches; where a frame's time goes; and
// the frame that writes the recovery file beside an ordinary one.
#include <benchmark/benchmark.h>

#include <GL/glew.h>  // before any other GL header

#include <GL/freeglut.h>

#include <algorithm>
#include <cstddef>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <filesystem>
#include <fstream>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include <malloc.h>  // malloc_trim

#include "BenchSupport.h"
#include "BitmapFontLabels.h"
#include "GlTestContext.h"
#include "TestSupport.h"
#include "GraphicsManager.h"
#include "PathFiles.h"
#include "SafeFile.h"
#include "ShaderLibrary.h"
#include "SplineEditor.h"
#include "TweakBar.h"

namespace {

// The batches as the frame render leaves them: emptied, their capacity kept.
void EmptyBatches(GraphicsManager* graphics) {
  graphics->mLines.clear();
  graphics->mPoints.clear();
  graphics->mTexts.clear();
}

void PreparePath(CubicBSpline& spline, std::size_t n) {
  spline.mControlPoints = bench::ControlPoints(n);
  spline.mSelectedIndex = static_cast<std::int32_t>(n / 2);
  spline.mHoveredIndex = static_cast<std::int32_t>(n / 3);
  spline.mSamplesValid = false;
  spline.RebuildSamples();
}

void BM_SubmitBatches(benchmark::State& state) {
  SplineEditor editor;
  PreparePath(editor.mSpline, static_cast<std::size_t>(state.range(0)));
  GraphicsManager* graphics = GraphicsManager::Instance();
  EmptyBatches(graphics);
  editor.SubmitDrawing();  // the first frame grows the batches; later frames reuse them
  for (auto _ : state) {
    EmptyBatches(graphics);
    editor.SubmitDrawing();
    benchmark::DoNotOptimize(graphics->mLines.data());
    benchmark::DoNotOptimize(graphics->mTexts.data());
    benchmark::ClobberMemory();
  }
  EmptyBatches(graphics);
}
BENCHMARK(BM_SubmitBatches)->Arg(100)->Arg(1000)->Arg(10000);

// The floor: the same number of bytes per batch copied into byte vectors that keep their
// capacity, one copy per batch.
void BM_CopyBatchBytes(benchmark::State& state) {
  SplineEditor editor;
  PreparePath(editor.mSpline, static_cast<std::size_t>(state.range(0)));
  GraphicsManager* graphics = GraphicsManager::Instance();
  EmptyBatches(graphics);
  editor.SubmitDrawing();
  const std::size_t sizes[3] = {graphics->mLines.size() * sizeof(ColorVertex),
                                graphics->mPoints.size() * sizeof(ColorVertex),
                                graphics->mTexts.size() * sizeof(TextLabel)};
  EmptyBatches(graphics);
  std::vector<unsigned char> source[3], target[3];
  for (int b = 0; b < 3; ++b) {
    source[b].assign(sizes[b], static_cast<unsigned char>(b + 1));
    target[b].reserve(sizes[b]);
  }
  const auto copyAll = [&] {
    for (int b = 0; b < 3; ++b) {
      target[b].clear();
      target[b].insert(target[b].end(), source[b].begin(), source[b].end());
      benchmark::DoNotOptimize(target[b].data());
    }
  };
  copyAll();  // touches the target pages once, as the editor's first frame does
  for (auto _ : state) {
    for (int b = 0; b < 3; ++b) {
      target[b].clear();
      target[b].insert(target[b].end(), source[b].begin(), source[b].end());
      benchmark::DoNotOptimize(target[b].data());
    }
    benchmark::ClobberMemory();
  }
}
BENCHMARK(BM_CopyBatchBytes)->Arg(100)->Arg(1000)->Arg(10000);

// Information only: the frame render of those batches in a real context (upload, draw calls,
// bitmap labels, the bar, the swap), with no scene object. Needs an X server.
class RenderFixture {
public:
  static RenderFixture* Get() {
    static std::unique_ptr<RenderFixture> fixture = Make();
    return fixture.get();
  }
  testsupport::TempWorkDir mFolder;

private:
  static std::unique_ptr<RenderFixture> Make() {
    if (std::getenv("DISPLAY") == nullptr) return nullptr;
    auto fixture = std::make_unique<RenderFixture>();
    const std::filesystem::path resources = fixture->mFolder.Resources();
    std::filesystem::remove(resources / "shaders");
    std::filesystem::create_directory_symlink(VEYRUN_RESOURCES "/shaders", resources / "shaders");
    std::filesystem::create_symlink(VEYRUN_RESOURCES "/meshes/sphere.obj",
                                    resources / "meshes" / "sphere.obj");
    testsupport::EnsureGlContext();  // a window made the way Demo makes its own
    GraphicsManager::Instance()->Initialize();
    return fixture;
  }
};

void BM_RenderBatchesGl(benchmark::State& state) {
  if (RenderFixture::Get() == nullptr) {
    state.SkipWithError("no X server (DISPLAY is not set)");
    return;
  }
  SplineEditor editor;
  PreparePath(editor.mSpline, static_cast<std::size_t>(state.range(0)));
  GraphicsManager* graphics = GraphicsManager::Instance();
  const ObjectTable nothing;
  for (auto _ : state) {
    EmptyBatches(graphics);
    editor.SubmitDrawing();
    graphics->RenderFrame(nothing);
    glFinish();
  }
}
BENCHMARK(BM_RenderBatchesGl)->Arg(100)->Arg(1000)->Arg(10000)->UseRealTime()->Unit(benchmark::kMillisecond);

// The figures of a benchmark that gives several, as its label "name=value name=value ...":
// Google Benchmark's CSV output wants every run to carry the same counters, which these do not.
void SetFigures(benchmark::State& state, const std::vector<std::pair<const char*, double>>& figures) {
  std::string label;
  for (const auto& [name, value] : figures)
    label += (label.empty() ? "" : " ") + std::string(name) + "=" + std::to_string(value);
  state.SetLabel(label);
}

// Where a frame's time goes. Frames of an n-point path are drawn in turn with some of their
// parts left out, one frame of each kind after the other, so that a busy spell of the machine
// falls on all of them; each frame is priced in processor time of the whole process (the
// driver's rasteriser threads included), from the start of the render to the end of glFinish.
// The figures are the medians per kind, in milliseconds, over one long run. The bar stays or
// goes for a whole run (argument 1), since a bar made anew takes frames to settle.
struct FrameKind {
  const char* figure;
  bool lines, points, labels;
};

double ProcessSeconds() {
  timespec now{};
  clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &now);
  return static_cast<double>(now.tv_sec) + 1e-9 * static_cast<double>(now.tv_nsec);
}

// The middle value (the upper one of an even count).
double Middle(std::vector<double> values) {
  if (values.empty()) return 0.0;
  std::nth_element(values.begin(), values.begin() + static_cast<std::ptrdiff_t>(values.size() / 2),
                   values.end());
  return values[values.size() / 2];
}

void BM_FrameParts(benchmark::State& state) {
  if (RenderFixture::Get() == nullptr) {
    state.SkipWithError("no X server (DISPLAY is not set)");
    return;
  }
  const bool bar = state.range(1) != 0;
  static const std::vector<FrameKind> kWithBar = {{"frame", true, true, true},
                                                  {"no_labels", true, true, false},
                                                  {"no_points", true, false, true},
                                                  {"lines_bar", true, false, false}};
  static const std::vector<FrameKind> kWithoutBar = {{"lines", true, false, false},
                                                     {"none", false, false, false}};
  const std::vector<FrameKind>& kinds = bar ? kWithBar : kWithoutBar;

  SplineEditor editor;
  PreparePath(editor.mSpline, static_cast<std::size_t>(state.range(0)));
  if (!bar) {
    TwDeleteBar(editor.mBar);
    editor.mBar = nullptr;
  }
  GraphicsManager* graphics = GraphicsManager::Instance();
  const ObjectTable nothing;
  std::vector<std::vector<double>> times(kinds.size());
  for (auto _ : state) {
    for (std::size_t k = 0; k < kinds.size(); ++k) {
      EmptyBatches(graphics);
      editor.SubmitDrawing();
      if (!kinds[k].lines) graphics->mLines.clear();
      if (!kinds[k].points) graphics->mPoints.clear();
      if (!kinds[k].labels) graphics->mTexts.clear();
      const double start = ProcessSeconds();
      graphics->RenderFrame(nothing);
      glFinish();
      times[k].push_back(ProcessSeconds() - start);
    }
  }
  EmptyBatches(graphics);
  std::vector<std::pair<const char*, double>> figures;
  for (std::size_t k = 0; k < kinds.size(); ++k)
    figures.emplace_back(kinds[k].figure, 1e3 * Middle(times[k]));
  SetFigures(state, figures);
}
BENCHMARK(BM_FrameParts)
    ->ArgsProduct({{100, 1000}, {1, 0}})
    ->Iterations(60)
    ->Repetitions(1)
    ->Unit(benchmark::kMillisecond);

// The memory a frame of 100,000 labels takes: the growth of the process's resident size at its
// peak during the frame, over what it held before (free heap pages handed back first), once with
// the editor's labels and once with the same labels drawn by the bitmap font one by one, in MiB.
// Measured once, the editor's way first, so that neither finds pages the other left behind.
long ResidentKiB(const char* field) {
  std::ifstream status("/proc/self/status");
  for (std::string line; std::getline(status, line);) {
    if (line.rfind(field, 0) == 0) return std::stol(line.substr(std::strlen(field)));
  }
  return 0;
}

template <typename Draw>
double PeakGrowthMiB(Draw draw) {
  glFinish();
  malloc_trim(0);
  std::ofstream("/proc/self/clear_refs") << "5";  // the peak starts again from the current size
  const long before = ResidentKiB("VmRSS:");
  draw();
  glFinish();
  return static_cast<double>(ResidentKiB("VmHWM:") - before) / 1024.0;
}

void BM_LabelFrameMemory(benchmark::State& state) {
  if (RenderFixture::Get() == nullptr) {
    state.SkipWithError("no X server (DISPLAY is not set)");
    return;
  }
  GraphicsManager* graphics = GraphicsManager::Instance();
  std::vector<TextLabel> labels;
  for (int i = 0; i < 100000; ++i) {
    const auto [x, y] = bench::FigureAt(static_cast<double>(i) / 100000.0);
    labels.push_back({std::to_string(i), vec2(x / 512.0f - 1.0f, y / 384.0f - 1.0f)});
  }
  const ObjectTable nothing;
  EmptyBatches(graphics);
  graphics->mTexts = labels;
  graphics->RenderFrame(nothing);  // the glyphs are captured on the first frame with labels
  for (auto _ : state) {
    const double editor = PeakGrowthMiB([&] {
      graphics->mTexts = labels;
      graphics->RenderFrame(nothing);
    });
    const double font = PeakGrowthMiB([&] {
      testsupport::DrawLabelsWithTheFont(*graphics->mShaderLibrary, labels);
      glutSwapBuffers();
    });
    SetFigures(state, {{"editor_mib", editor}, {"font_mib", font}});
  }
}
BENCHMARK(BM_LabelFrameMemory)->Iterations(1)->Repetitions(1)->Unit(benchmark::kMillisecond);

// The frame that ends a gesture of a 1,000-point path and so writes the recovery file, beside an
// ordinary frame of a drag and beside the same frame writing the file itself, all in wall time
// from the edit to the end of glFinish, one frame of each kind after the other. The writer
// finishes between frames, outside the timing, as it has long before the next gesture. The
// figures are the medians per kind, in milliseconds.
double WallSeconds() {
  timespec now{};
  clock_gettime(CLOCK_MONOTONIC, &now);
  return static_cast<double>(now.tv_sec) + 1e-9 * static_cast<double>(now.tv_nsec);
}

void BM_RecoveryFrame(benchmark::State& state) {
  if (RenderFixture::Get() == nullptr) {
    state.SkipWithError("no X server (DISPLAY is not set)");
    return;
  }
  enum Kind { Ordinary, Writing, WritingHere, kKinds };
  std::vector<std::vector<double>> times(kKinds);
  {
    SplineEditor editor;
    PreparePath(editor.mSpline, static_cast<std::size_t>(state.range(0)));
    PathDocument& document = editor.mDocument;
    CubicBSpline& spline = editor.mSpline;
    GraphicsManager* graphics = GraphicsManager::Instance();
    const ObjectTable nothing;
    const auto frame = [&](Kind kind) {
      const double start = WallSeconds();
      const vec2 step(0.5f, 0.0f);
      if (kind == Writing) {
        document.Step([&] { spline.MoveSelected(step); });  // an edit that ends a gesture
      } else {
        spline.MoveSelected(step);
      }
      if (kind == WritingHere) safefile::ReplaceFile("here.xml.unsaved0", *PathFiles::FileText(spline));
      spline.RebuildSamples();
      EmptyBatches(graphics);
      editor.SubmitDrawing();
      graphics->RenderFrame(nothing);
      glFinish();
      times[kind].push_back(WallSeconds() - start);
      document.FinishRecovery();
    };
    frame(Writing);  // the recovery file's first write takes its name
    frame(WritingHere);
    times.assign(kKinds, {});
    for (auto _ : state) {
      for (int kind = 0; kind < kKinds; ++kind) frame(static_cast<Kind>(kind));
    }
    EmptyBatches(graphics);
  }
  // Later benchmarks' editors would name the files left behind.
  std::filesystem::remove("here.xml.unsaved0");
  std::filesystem::remove("untitled.xml.unsaved0");
  SetFigures(state, {{"ordinary", 1e3 * Middle(times[Ordinary])},
                     {"writing", 1e3 * Middle(times[Writing])},
                     {"writing_here", 1e3 * Middle(times[WritingHere])}});
}
BENCHMARK(BM_RecoveryFrame)->Arg(1000)->Iterations(60)->Repetitions(1)->Unit(benchmark::kMillisecond);

}  // namespace
