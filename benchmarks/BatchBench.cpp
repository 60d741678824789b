// One frame's batch submission by the editor beside copying the same bytes into vectors, and,
// for information, the OpenGL upload and draw of those batches.
#include <benchmark/benchmark.h>

#include <GL/glew.h>  // before any other GL header

#include <GL/freeglut.h>

#include <cstdlib>
#include <cstring>
#include <memory>

#include "BenchSupport.h"
#include "GraphicsManager.h"
#include "SplineEditor.h"

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
  bench::WorkFolder mFolder;

private:
  static std::unique_ptr<RenderFixture> Make() {
    if (std::getenv("DISPLAY") == nullptr) return nullptr;
    auto fixture = std::make_unique<RenderFixture>();
    std::filesystem::create_directory_symlink(VEYRUN_RESOURCES "/shaders",
                                              fixture->mFolder.Resources() / "shaders");
    std::filesystem::create_symlink(VEYRUN_RESOURCES "/meshes/sphere.obj",
                                    fixture->mFolder.Resources() / "meshes" / "sphere.obj");
    int argc = 1;
    char name[] = "perf_inprocess";
    char* argv[] = {name, nullptr};
    glutInit(&argc, argv);
    glutInitContextVersion(2, 0);
    glutInitDisplayMode(GLUT_RGBA | GLUT_DOUBLE | GLUT_DEPTH | GLUT_STENCIL | GLUT_MULTISAMPLE);
    glutInitWindowSize(1024, 768);
    glutCreateWindow("perf_inprocess");
    glutDisplayFunc([] {});
    glewInit();
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

}  // namespace
