// Shared pieces of the rendering tests: shader files, the manager's drawing steps, pixel reads.
#pragma once

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "GlTestContext.h"
#include "GraphicsManager.h"
#include "TestSupport.h"

namespace graphicstest {

// Writes "<resources>/shaders/<name><extension>".
void WriteShader(const testsupport::TempWorkDir& dir, const std::string& name, const std::string& extension,
                 const std::string& source);
// Copies the program's own shader files into the fixture's resources.
void CopyRepoShaders(const testsupport::TempWorkDir& dir);

// Clears every pending OpenGL error so that a test starts from none.
void DrainGlErrors();

// The colour and depth buffers of the 1024 x 768 window as they were handed to the swap.
// The tests' own glutSwapBuffers takes it just before the real swap, because the back buffer
// is undefined afterwards and the front buffer cannot be read back under Xvfb.
struct FrameSnapshot {
  std::vector<unsigned char> color;  // RGBA rows from the bottom
  std::vector<float> depth;

  testsupport::Rgba Pixel(int x, int y) const;
  float Depth(int x, int y) const;
  // Number of pixels in [x0, x1) x [y0, y1) whose colour is exactly (r, g, b).
  int Count(int x0, int y0, int x1, int y1, unsigned char r, unsigned char g, unsigned char b) const;
};

// The snapshot of the most recent swap, and the number of swaps so far.
const FrameSnapshot& LastFrame();
int SwapCount();

// A GL context, a working folder with the program's shaders, the tweak-bar layer and an
// initialised graphics manager; everything is shut down again afterwards.
class GraphicsFixture : public testing::Test {
protected:
  void SetUp() override;
  void TearDown() override;

  GraphicsManager* mGraphics = nullptr;
  testsupport::TempWorkDir mDir;
};

}  // namespace graphicstest
