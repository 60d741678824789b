// The background layer of a frame: an image read from a file's bytes, drawn under the batches
// and only over its rectangle, placed through the view, sampled by the size it shows at, and
// handed over anew every frame.
#include <GL/glew.h>
#include <gtest/gtest.h>

#include <stb/stb_image_write.h>  // test images as PNG bytes

#include <cstdlib>
#include <string>
#include <vector>

#include "BackgroundLayer.h"
#include "GraphicsTestSupport.h"
#include "WindowView.h"

namespace {

using graphicstest::GraphicsFixture;
using graphicstest::LastFrame;

// The bytes of a PNG file of width x height pixels: red on the left half, blue on the right.
std::string HalvesPng(int width, int height) {
  std::vector<unsigned char> rgb;
  for (int y = 0; y < height; ++y)
    for (int x = 0; x < width; ++x) {
      const unsigned char left = x < width / 2 ? 255 : 0;
      rgb.insert(rgb.end(), {left, 0, static_cast<unsigned char>(255 - left)});
    }
  std::string png;
  stbi_write_png_to_func(
      [](void* context, void* data, int size) {
        static_cast<std::string*>(context)->append(static_cast<const char*>(data),
                                                   static_cast<std::size_t>(size));
      },
      &png, width, height, 3, rgb.data(), width * 3);
  return png;
}

bool Near(const testsupport::Rgba& p, int r, int g, int b) {
  return std::abs(p.r - r) <= 2 && std::abs(p.g - g) <= 2 && std::abs(p.b - b) <= 2;
}

GLint MinFilter(GLuint texture) {
  GLint filter = 0;
  glBindTexture(GL_TEXTURE_2D, texture);
  glGetTexParameteriv(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, &filter);
  glBindTexture(GL_TEXTURE_2D, 0);
  return filter;
}

class BackgroundLayerTest : public GraphicsFixture {
protected:
  void TearDown() override {
    WindowView::Instance()->ResetView();
    GraphicsFixture::TearDown();
  }
};

TEST_F(BackgroundLayerTest, ShowsUnderTheLinesOverItsRectangleOnlyAndGoesWithTheView) {
  glm::ivec2 size(0);
  std::string reason;
  const GLuint texture = LoadImageTexture(HalvesPng(700, 400), &size, &reason);
  ASSERT_NE(0u, texture) << reason;
  EXPECT_EQ(glm::ivec2(700, 400), size);
  const BackgroundLayer layer{texture, size, vec2(262.0f, 184.0f), vec2(962.0f, 584.0f), 0.5f};
  const ObjectTable nothing;

  mGraphics->mBackground = layer;
  mGraphics->DrawLine(vec3(300.5f, 300.0f, -2.0f), vec3(300.5f, 500.0f, -2.0f), vec4(1.0f));
  mGraphics->RenderFrame(nothing);
  EXPECT_TRUE(Near(LastFrame().Pixel(400, 250), 128, 0, 0));
  EXPECT_TRUE(Near(LastFrame().Pixel(800, 250), 0, 0, 128));
  EXPECT_TRUE(Near(LastFrame().Pixel(300, 400), 255, 255, 255));  // the line lies over it
  // Shown at its size, pixel for pixel: its halves meet between two window pixels, unblurred.
  EXPECT_TRUE(Near(LastFrame().Pixel(611, 300), 128, 0, 0));
  EXPECT_TRUE(Near(LastFrame().Pixel(612, 300), 0, 0, 128));
  for (const auto& [x, y] : {std::pair{261, 300}, {962, 300}, {600, 183}, {600, 584}})
    EXPECT_TRUE(Near(LastFrame().Pixel(x, y), 0, 0, 0)) << x << ", " << y;
  EXPECT_EQ(GL_NEAREST, MinFilter(texture));  // shown at its size: pixel by pixel

  mGraphics->RenderFrame(nothing);  // not handed over again: no image
  EXPECT_TRUE(Near(LastFrame().Pixel(400, 250), 0, 0, 0));

  // A step out about the frame's corner: 560 x 320 on the screen, smaller than the image.
  WindowView::Instance()->ZoomAbout(vec2(262.0f, 184.0f), false);
  mGraphics->mBackground = layer;
  mGraphics->RenderFrame(nothing);
  EXPECT_TRUE(Near(LastFrame().Pixel(815, 250), 0, 0, 128));
  EXPECT_TRUE(Near(LastFrame().Pixel(825, 250), 0, 0, 0));
  EXPECT_TRUE(Near(LastFrame().Pixel(300, 500), 128, 0, 0));  // its top edge is at 504 now
  EXPECT_TRUE(Near(LastFrame().Pixel(300, 508), 0, 0, 0));
  EXPECT_EQ(GL_LINEAR_MIPMAP_LINEAR, MinFilter(texture));
  glDeleteTextures(1, &texture);
}

TEST_F(BackgroundLayerTest, BytesThatAreNoImageGiveNoTextureAndTheReason) {
  std::string reason;
  EXPECT_EQ(0u, LoadImageTexture("named like an image, but text", nullptr, &reason));
  EXPECT_FALSE(reason.empty());
}

// A file of a few dozen bytes whose header claims 20000 x 20000 grey pixels is refused by that
// size, before a decoder would take 1.6 GB for them in RGBA.
TEST_F(BackgroundLayerTest, AHeaderClaimingAnImageBeyondTheLargestTextureIsRefusedByItsSize) {
  GLint largest = 0;
  glGetIntegerv(GL_MAX_TEXTURE_SIZE, &largest);
  ASSERT_LT(largest, 20000) << "this GL takes textures of 20000 pixels";
  const std::string header = std::string("\x89PNG\r\n\x1a\n", 8) + std::string("\0\0\0\x0d", 4) + "IHDR" +
                             std::string("\0\0\x4e\x20\0\0\x4e\x20\x08\0\0\0\0", 13) +
                             std::string("\0\0\0\0", 4);  // the chunk's CRC, unchecked
  std::string reason;
  EXPECT_EQ(0u, LoadImageTexture(header, nullptr, &reason));
  EXPECT_EQ("20000 x 20000 pixels, more than the largest texture of " + std::to_string(largest), reason);
}

}  // namespace
