// The line, point and text batches of a frame, as pixels of the window handed to the swap.
#include <GL/glew.h>
#include <gtest/gtest.h>

#include <GL/freeglut.h>

#include <cmath>
#include <string>
#include <vector>

#include "BitmapFontLabels.h"
#include "GraphicsTestSupport.h"
#include "Mesh.h"
#include "MeshLibrary.h"
#include "ObjectManager.h"
#include "SceneObject.h"
#include "ShaderLibrary.h"

namespace {

using graphicstest::FrameSnapshot;
using graphicstest::GraphicsFixture;
using graphicstest::LastFrame;

// Where a batch position lands: the orthographic projection of the 1024 x 768 window
// (x' = 2x/1024 - 1, y' = 2y/768 - 1) followed by the viewport transform of that window.
glm::ivec2 WindowPixel(vec3 position) {
  const float ndcX = 2.0f * position.x / 1024.0f - 1.0f;
  const float ndcY = 2.0f * position.y / 768.0f - 1.0f;
  return glm::ivec2(static_cast<int>((ndcX + 1.0f) * 512.0f), static_cast<int>((ndcY + 1.0f) * 384.0f));
}

// A text position in normalised device coordinates as a window pixel.
glm::ivec2 RasterPixel(vec2 position) {
  return glm::ivec2(static_cast<int>((position.x + 1.0f) * 512.0f),
                    static_cast<int>((position.y + 1.0f) * 384.0f));
}

// The colour at a batch position; lines and points are smoothed, so only inner pixels are exact.
void ExpectColor(vec3 position, unsigned char r, unsigned char g, unsigned char b) {
  const glm::ivec2 at = WindowPixel(position);
  const testsupport::Rgba pixel = LastFrame().Pixel(at.x, at.y);
  EXPECT_EQ(pixel.r, r) << position.x << ", " << position.y;
  EXPECT_EQ(pixel.g, g) << position.x << ", " << position.y;
  EXPECT_EQ(pixel.b, b) << position.x << ", " << position.y;
}

void ExpectBlack(vec3 position) { ExpectColor(position, 0, 0, 0); }

const vec4 kRed(1.0f, 0.0f, 0.0f, 1.0f);
const vec4 kGreen(0.0f, 1.0f, 0.0f, 1.0f);
const vec4 kBlue(0.0f, 0.0f, 1.0f, 1.0f);

class DebugDrawTest : public GraphicsFixture {
protected:
  void RenderFrame(const ObjectTable& drawList) {
    const int swaps = graphicstest::SwapCount();
    mGraphics->RenderFrame(drawList);
    ASSERT_EQ(graphicstest::SwapCount(), swaps + 1);
  }
};

TEST_F(DebugDrawTest, LinesAndPointsLandOnTheirWindowPixelsOverTheScene) {
  // A white square nearer than every batch vertex, from (350, 150) to (450, 250) at z = -2 (the
  // first frame of "Default" draws untextured).
  SceneObject square;
  square.mMesh = mGraphics->mMeshLibrary->GetMesh("UIQuad");  // corners at +-0.5, z = 1
  square.mPosition = vec3(400.0f, 200.0f, -3.0f);
  square.mScale = vec3(100.0f, 100.0f, 1.0f);
  const ObjectTable drawList{{0u, &square}};

  // Pixel centres, so that each 1-pixel line covers exactly one row or column.
  mGraphics->DrawLine(vec3(100.0f, 200.5f, -5.0f), vec3(300.0f, 200.5f, -5.0f), kRed);
  mGraphics->DrawLine(vec3(400.5f, 100.0f, -500.0f), vec3(400.5f, 300.0f, -500.0f), kGreen);
  // In front of the near plane (z > -1): clipped away.
  mGraphics->DrawLine(vec3(100.0f, 600.5f, 5.0f), vec3(300.0f, 600.5f, 5.0f), kRed);
  // One vertex too many: it draws nothing.
  mGraphics->mLines.push_back({vec3(700.0f, 600.0f, -5.0f), kRed});
  // Points on both lines: drawn after them, so they cover them.
  mGraphics->mPoints.push_back({vec3(200.5f, 200.5f, -5.0f), kBlue});
  mGraphics->mPoints.push_back({vec3(400.5f, 180.5f, -5.0f), kRed});
  const size_t lineCapacity = mGraphics->mLines.capacity();

  RenderFrame(drawList);
  const FrameSnapshot& frame = LastFrame();

  ExpectColor(vec3(360.5f, 160.5f, 0.0f), 255, 255, 255);  // the square itself
  ExpectColor(vec3(150.5f, 200.5f, 0.0f), 255, 0, 0);
  ExpectColor(vec3(290.5f, 200.5f, 0.0f), 255, 0, 0);
  ExpectBlack(vec3(150.5f, 203.5f, 0.0f));
  ExpectBlack(vec3(310.5f, 200.5f, 0.0f));
  ExpectColor(vec3(400.5f, 120.5f, 0.0f), 0, 255, 0);
  ExpectColor(vec3(400.5f, 230.5f, 0.0f), 0, 255, 0);  // over the nearer square
  ExpectColor(vec3(403.5f, 230.5f, 0.0f), 255, 255, 255);
  ExpectBlack(vec3(200.5f, 600.5f, 0.0f));
  EXPECT_EQ(frame.Count(650, 550, 750, 650, 255, 0, 0), 0);

  // An 8-pixel point: its inner pixels have its colour, over the line, and nothing 6 pixels off.
  for (vec3 offset : {vec3(0.0f), vec3(2.0f, 0.0f, 0.0f), vec3(-2.0f, 0.0f, 0.0f), vec3(0.0f, 2.0f, 0.0f),
                      vec3(0.0f, -2.0f, 0.0f)}) {
    ExpectColor(vec3(200.5f, 200.5f, 0.0f) + offset, 0, 0, 255);
    ExpectColor(vec3(400.5f, 180.5f, 0.0f) + offset, 255, 0, 0);
  }
  ExpectBlack(vec3(200.5f, 206.5f, 0.0f));
  ExpectColor(vec3(206.5f, 200.5f, 0.0f), 255, 0, 0);  // the line again beside the point

  // The batches left the depth buffer as the scene made it: cleared beside the square, the
  // square's own depth (far behind the near plane, so well below 1) under the green line.
  EXPECT_EQ(frame.Depth(150, 200), 1.0f);
  EXPECT_EQ(frame.Depth(400, 230), frame.Depth(403, 230));
  EXPECT_LT(frame.Depth(400, 230), 0.5f);
  EXPECT_TRUE(glIsEnabled(GL_DEPTH_TEST));
  GLboolean depthWrites = GL_FALSE;
  glGetBooleanv(GL_DEPTH_WRITEMASK, &depthWrites);
  EXPECT_EQ(depthWrites, GL_TRUE);

  EXPECT_TRUE(mGraphics->mLines.empty());
  EXPECT_TRUE(mGraphics->mPoints.empty());
  EXPECT_EQ(mGraphics->mLines.capacity(), lineCapacity);
  EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));
}

TEST_F(DebugDrawTest, BatchUploadIsTheTightlyPackedVertexList) {
  mGraphics->DrawLine(vec3(1.0f, 2.0f, -3.0f), vec3(4.0f, 5.0f, -6.0f), vec4(0.1f, 0.2f, 0.3f, 0.4f));
  RenderFrame(ObjectManager::Instance()->mRenderList);

  GLint size = 0;
  glBindBuffer(GL_ARRAY_BUFFER, mGraphics->mLineBuffer);
  glGetBufferParameteriv(GL_ARRAY_BUFFER, GL_BUFFER_SIZE, &size);
  ASSERT_EQ(size, 56);
  float data[14] = {};
  glGetBufferSubData(GL_ARRAY_BUFFER, 0, 56, data);
  const float expected[14] = {1.0f, 2.0f, -3.0f, 0.1f, 0.2f, 0.3f, 0.4f,
                              4.0f, 5.0f, -6.0f, 0.1f, 0.2f, 0.3f, 0.4f};
  for (int i = 0; i < 14; ++i) EXPECT_EQ(data[i], expected[i]) << i;
  GLint usage = 0;
  glGetBufferParameteriv(GL_ARRAY_BUFFER, GL_BUFFER_USAGE, &usage);
  EXPECT_EQ(usage, GL_STREAM_DRAW);
  glBindBuffer(GL_ARRAY_BUFFER, 0);

  // The point buffer got nothing: its batch was empty.
  glBindBuffer(GL_ARRAY_BUFFER, mGraphics->mPointBuffer);
  glGetBufferParameteriv(GL_ARRAY_BUFFER, GL_BUFFER_SIZE, &size);
  EXPECT_EQ(size, 0);
  glBindBuffer(GL_ARRAY_BUFFER, 0);
}

TEST_F(DebugDrawTest, FrameWithoutBatchesNeverAsksForTheLinesProgram) {
  mGraphics->mTexts.push_back({"text only", vec2(0.0f, 0.0f)});
  RenderFrame(ObjectManager::Instance()->mRenderList);
  EXPECT_EQ(mGraphics->mShaderLibrary->mPrograms.count("Lines"), 0u);
  EXPECT_EQ(mGraphics->mShaderLibrary->mPrograms.count("Default"), 1u);
  EXPECT_TRUE(mGraphics->mTexts.empty());
}

TEST_F(DebugDrawTest, TextsAreWhiteAtTheirRasterPositionAndOutsideOnesAreDropped) {
  // A line first, so that the texts follow the Lines program as in the editor's frames.
  mGraphics->DrawLine(vec3(10.0f, 10.5f, -5.0f), vec3(20.0f, 10.5f, -5.0f), kRed);
  glColor4f(1.0f, 0.0f, 0.0f, 1.0f);

  const vec2 inside(-0.5f, 0.0f);
  const vec2 outside(-1.05f, 0.5f);  // starts left of the window; its end would reach into it
  mGraphics->mTexts.push_back({"WWWWWW", inside});
  mGraphics->mTexts.push_back({"WWWWWW", outside});
  RenderFrame(ObjectManager::Instance()->mRenderList);
  const FrameSnapshot& frame = LastFrame();

  // The glyphs sit on the baseline, starting at the raster position, about 12 pixels high.
  const glm::ivec2 start = RasterPixel(inside);
  EXPECT_GT(frame.Count(start.x, start.y, start.x + 60, start.y + 12, 255, 255, 255), 20);
  EXPECT_EQ(frame.Count(start.x - 20, start.y, start.x, start.y + 12, 255, 255, 255), 0);
  EXPECT_EQ(frame.Count(start.x, start.y + 14, start.x + 60, start.y + 30, 255, 255, 255), 0);
  // Nothing of the dropped label, where its later letters would have appeared.
  const glm::ivec2 dropped = RasterPixel(outside);
  EXPECT_EQ(frame.Count(0, dropped.y - 4, 80, dropped.y + 16, 255, 255, 255), 0);

  EXPECT_TRUE(mGraphics->mTexts.empty());
  EXPECT_EQ(mGraphics->mShaderLibrary->mCurrent, nullptr);
  GLint program = -1;
  glGetIntegerv(GL_CURRENT_PROGRAM, &program);
  EXPECT_EQ(program, 0);
  EXPECT_TRUE(glIsEnabled(GL_DEPTH_TEST));
  EXPECT_TRUE(glIsEnabled(GL_LIGHTING));
  GLboolean depthWrites = GL_FALSE;
  glGetBooleanv(GL_DEPTH_WRITEMASK, &depthWrites);
  EXPECT_EQ(depthWrites, GL_TRUE);
  EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));
}

// Many overlapping labels, some off the window: the frame holds exactly the pixels of drawing
// each one with glRasterPos2f and glutBitmapString in insertion order, in white.
TEST_F(DebugDrawTest, ManyLabelsGiveThePixelsOfDrawingThemInTurn) {
  std::vector<TextLabel> labels;
  for (int i = 0; i < 400; ++i) {
    const float u = static_cast<float>(i) / 400.0f;
    const vec2 at(0.6f * std::sin(18.85f * u) + 0.02f * static_cast<float>(i % 3),
                  0.5f * std::sin(25.13f * u + 0.5f) - 0.01f * static_cast<float>(i % 5));
    labels.push_back({std::to_string(i * 7919 % 1000), at});
  }
  labels.push_back({"left of the window", vec2(-1.2f, 0.1f)});
  labels.push_back({"WW", vec2(0.98f, 0.98f)});

  const ObjectTable nothing;
  mGraphics->mTexts = labels;
  RenderFrame(nothing);
  const std::vector<unsigned char> drawn = LastFrame().color;

  glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
  testsupport::DrawLabelsWithTheFont(*mGraphics->mShaderLibrary, labels);
  std::vector<unsigned char> expected(drawn.size());
  glReadPixels(0, 0, 1024, 768, GL_RGBA, GL_UNSIGNED_BYTE, expected.data());
  int white = 0;
  for (std::size_t i = 0; i < expected.size(); i += 4) white += expected[i] == 255 && expected[i + 1] == 255;
  EXPECT_GT(white, 4000);  // the labels show
  EXPECT_TRUE(expected == drawn);
}

}  // namespace
