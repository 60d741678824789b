// Shared pieces of the rendering tests.
#include "GraphicsTestSupport.h"

#include <GL/glew.h>
#include <GL/freeglut.h>
#include <dlfcn.h>  // dlsym: the real glutSwapBuffers behind the test's

#include <vector>

#include "ObjectManager.h"
#include "TweakBar.h"

namespace graphicstest {

namespace fs = std::filesystem;

void WriteShader(const testsupport::TempWorkDir& dir, const std::string& name, const std::string& extension,
                 const std::string& source) {
  testsupport::WriteFile(dir.Resources() / "shaders" / (name + extension), source);
}

void CopyRepoShaders(const testsupport::TempWorkDir& dir) {
  for (const char* file :
       {"Default.vert", "Default.frag", "Lines.vert", "Lines.frag", "Background.vert", "Background.frag"}) {
    fs::copy_file(fs::path(VEYRUN_SHADER_DIR) / file, dir.Resources() / "shaders" / file,
                  fs::copy_options::overwrite_existing);
  }
}

void DrainGlErrors() {
  while (glGetError() != GL_NO_ERROR) {
  }
}

namespace {

constexpr int kWidth = 1024;
constexpr int kHeight = 768;

FrameSnapshot gLastFrame;
int gSwapCount = 0;

}  // namespace

testsupport::Rgba FrameSnapshot::Pixel(int x, int y) const {
  const size_t at = (static_cast<size_t>(y) * kWidth + static_cast<size_t>(x)) * 4;
  return testsupport::Rgba{color[at], color[at + 1], color[at + 2], color[at + 3]};
}

float FrameSnapshot::Depth(int x, int y) const {
  return depth[static_cast<size_t>(y) * kWidth + static_cast<size_t>(x)];
}

int FrameSnapshot::Count(int x0, int y0, int x1, int y1, unsigned char r, unsigned char g,
                         unsigned char b) const {
  int count = 0;
  for (int y = y0; y < y1; ++y) {
    for (int x = x0; x < x1; ++x) {
      const testsupport::Rgba pixel = Pixel(x, y);
      if (pixel.r == r && pixel.g == g && pixel.b == b) ++count;
    }
  }
  return count;
}

const FrameSnapshot& LastFrame() { return gLastFrame; }
int SwapCount() { return gSwapCount; }

void GraphicsFixture::SetUp() {
  testsupport::EnsureGlContext();
  DrainGlErrors();
  CopyRepoShaders(mDir);
  TwInit(TW_OPENGL, nullptr);
  TwWindowSize(1024, 768);
  mGraphics = GraphicsManager::Instance();
  mGraphics->Initialize();
}

void GraphicsFixture::TearDown() {
  mGraphics->Shutdown();
  ObjectManager::Instance()->Shutdown();
  TwTerminate();
  DrainGlErrors();
}

}  // namespace graphicstest

// Takes the place of freeglut's swap in the test program: snapshots the back buffer, then
// hands over to the real swap.
extern "C" void glutSwapBuffers() {
  using graphicstest::gLastFrame;
  gLastFrame.color.resize(static_cast<size_t>(graphicstest::kWidth * graphicstest::kHeight) * 4);
  gLastFrame.depth.resize(static_cast<size_t>(graphicstest::kWidth * graphicstest::kHeight));
  glReadBuffer(GL_BACK);
  glPixelStorei(GL_PACK_ALIGNMENT, 1);
  glReadPixels(0, 0, graphicstest::kWidth, graphicstest::kHeight, GL_RGBA, GL_UNSIGNED_BYTE,
               gLastFrame.color.data());
  glReadPixels(0, 0, graphicstest::kWidth, graphicstest::kHeight, GL_DEPTH_COMPONENT, GL_FLOAT,
               gLastFrame.depth.data());
  ++graphicstest::gSwapCount;
  using Swap = void (*)();
  static const auto real = reinterpret_cast<Swap>(dlsym(RTLD_NEXT, "glutSwapBuffers"));
  if (real != nullptr) real();
}
