// Labels from the label overlay against the same labels drawn by the bitmap font one by one, pixel
// for pixel, over smoothed points and lines whose edge pixels hold differently coloured samples.
#include <GL/glew.h>
#include <gtest/gtest.h>

#include <GL/freeglut.h>

#include <cmath>
#include <cstring>
#include <limits>
#include <ostream>
#include <string>
#include <utility>
#include <vector>

#include "BitmapFontLabels.h"
#include "GraphicsTestSupport.h"
#include "LabelOverlay.h"
#include "ShaderLibrary.h"

namespace {

using Labels = std::vector<TextLabel>;

// Device coordinates of window pixel position (x, y) of the 1024 x 768 window.
vec2 Device(float x, float y) { return vec2(x / 512.0f - 1.0f, y / 384.0f - 1.0f); }

// The editor's case: index labels of a long path, crowded enough to overlap one another.
Labels PathDigits() {
  Labels labels;
  for (int i = 0; i < 600; ++i) {
    const float u = static_cast<float>(i) / 600.0f;
    labels.push_back({std::to_string(i), Device(612.0f + 330.0f * std::sin(18.85f * u),
                                                404.0f + 180.0f * std::sin(25.13f * u + 0.5f))});
  }
  return labels;
}

// Starts on each edge and corner, and texts that run out of the window from a valid start.
Labels WindowEdges() {
  Labels labels;
  for (float x : {-1.0f, -0.5f, 0.97f, 1.0f}) {
    for (float y : {-1.0f, -0.99f, 0.0f, 0.985f, 1.0f}) labels.push_back({"gjpqy 0123456789 W", vec2(x, y)});
  }
  labels.push_back({std::string(200, '8'), vec2(-0.9f, 0.3f)});  // far past the right edge
  return labels;
}

// Starts just outside the window, whose texts would reach into it, and positions that are
// not numbers: a bitmap at an invalid raster position draws nothing at all.
Labels InvalidStarts() {
  const float nan = std::numeric_limits<float>::quiet_NaN();
  const float inf = std::numeric_limits<float>::infinity();
  Labels labels;
  for (vec2 at : {vec2(std::nextafter(-1.0f, -2.0f), 0.2f), vec2(-1.05f, 0.4f), vec2(0.3f, -1.01f),
                  vec2(0.3f, std::nextafter(-1.0f, -2.0f)), vec2(std::nextafter(1.0f, 2.0f), 0.1f),
                  vec2(0.2f, std::nextafter(1.0f, 2.0f)), vec2(nan, 0.0f), vec2(0.0f, nan), vec2(inf, 0.5f),
                  vec2(-0.5f, -inf)}) {
    labels.push_back({"WWWWWWWWWWWW 000", at});
  }
  labels.push_back({"inside", vec2(0.0f, 0.0f)});
  return labels;
}

// Raster positions a hair below and above pixel edges, where the driver's rounding decides.
Labels SubpixelStarts() {
  Labels labels;
  int row = 0;
  for (float offset : {-3e-4f, -1.2e-4f, -1e-4f, -8e-5f, -5e-5f, -1e-5f, 0.0f, 1e-5f, 5e-5f, 1e-4f, 0.5f}) {
    for (int column = 0; column < 6; ++column) {
      const float x = 40.0f + 160.0f * static_cast<float>(column) + offset;
      const float y = 40.0f + 60.0f * static_cast<float>(row) + (column % 2 == 0 ? offset : -offset);
      labels.push_back({"17|" + std::to_string(column), Device(x, y)});
    }
    ++row;
  }
  return labels;
}

// Every byte the font has, line breaks among them, in texts of sixteen.
Labels EveryByte() {
  Labels labels;
  for (int first = 1; first < 256; first += 16) {
    std::string text;
    for (int c = first; c < first + 16 && c < 256; ++c) text += static_cast<char>(c);
    labels.push_back(
        {text, Device(30.0f + 3.0f * static_cast<float>(first), 720.0f - 2.7f * static_cast<float>(first))});
  }
  return labels;
}

// Texts the font treats specially: empty, line breaks (which go back to the start of the line),
// and a NUL byte, where the text ends.
Labels BreaksAndEnds() {
  return {{"", vec2(0.0f, 0.0f)},
          {"\n", vec2(0.1f, 0.1f)},
          {"12\n345\n\n6789", vec2(-0.3f, 0.2f)},
          {std::string("12\0"
                       "34",
                       5),
           vec2(0.3f, -0.2f)},
          {"WWWW\nW", vec2(0.99f, -0.9f)},
          {"after", vec2(-0.8f, -0.8f)}};
}

struct LabelCase {
  const char* name;
  Labels (*labels)();
  int minimumChanged;  // pixels the labels must change, so that the case shows something
};

const LabelCase kLabelCases[] = {
    {"PathDigits", PathDigits, 5000},     {"WindowEdges", WindowEdges, 1000},
    {"InvalidStarts", InvalidStarts, 20}, {"SubpixelStarts", SubpixelStarts, 1000},
    {"EveryByte", EveryByte, 1000},       {"BreaksAndEnds", BreaksAndEnds, 100},
};

void PrintTo(const LabelCase& labelCase, std::ostream* out) { *out << labelCase.name; }

class LabelOverlayPixels : public graphicstest::GraphicsFixture,
                           public testing::WithParamInterface<LabelCase> {
protected:
  void TearDown() override {
    mOverlay.Release();
    GraphicsFixture::TearDown();
  }

  // Points and lines in several colours with the editor's smoothing, 8-pixel points and
  // blending: their edge pixels are made of samples of different colours.
  void DrawBackground() {
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    TextState();
    glBegin(GL_POINTS);
    for (int i = 0; i < 2000; ++i) {
      glColor4f(static_cast<float>(i % 3) * 0.5f, static_cast<float>(i % 5) * 0.25f, 1.0f, 1.0f);
      glVertex2f(static_cast<float>(i % 50) * 0.04f - 0.99f + 0.003f * static_cast<float>(i % 7),
                 static_cast<float>(i / 50) * 0.05f - 0.99f);
    }
    glEnd();
    glBegin(GL_LINES);
    for (int i = 0; i < 80; ++i) {
      glColor4f(1.0f, static_cast<float>(i % 4) * 0.3f, 0.2f, 1.0f);
      const float t = static_cast<float>(i) / 80.0f;
      glVertex2f(-1.0f, 2.0f * t - 1.0f);
      glVertex2f(1.0f, 1.0f - 2.0f * t * t);
    }
    glEnd();
  }

  // The state the frame's text step draws in.
  void TextState() {
    glDisable(GL_DEPTH_TEST);
    glDepthMask(GL_FALSE);
    glDisable(GL_LIGHTING);
    mGraphics->mShaderLibrary->UseProgram("");
    glColor3f(1.0f, 1.0f, 1.0f);
  }

  static std::vector<unsigned char> ReadWindow() {
    std::vector<unsigned char> pixels(1024 * 768 * 4);
    glReadBuffer(GL_BACK);
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glReadPixels(0, 0, 1024, 768, GL_RGBA, GL_UNSIGNED_BYTE, pixels.data());
    return pixels;
  }

  LabelOverlay mOverlay;
};

TEST_P(LabelOverlayPixels, MatchTheBitmapFontDrawingThemOneByOne) {
  const Labels labels = GetParam().labels();

  DrawBackground();
  const std::vector<unsigned char> background = ReadWindow();

  DrawBackground();
  testsupport::DrawLabelsWithTheFont(*mGraphics->mShaderLibrary, labels);
  const std::vector<unsigned char> expected = ReadWindow();

  // Twice: the first draw also captures the glyphs; between the two, other labels, which must
  // leave nothing behind.
  for (int pass = 0; pass < 2; ++pass) {
    if (pass == 1) {
      TextState();
      mOverlay.Draw({{"8888888888888888", vec2(-0.9f, 0.0f)}, {"WWWW", vec2(0.9f, 0.9f)}});
    }
    DrawBackground();
    TextState();
    mOverlay.Draw(labels);
    const std::vector<unsigned char> drawn = ReadWindow();

    int changed = 0, differing = 0;
    std::size_t first = drawn.size();
    for (std::size_t i = 0; i < drawn.size(); i += 4) {
      changed += std::memcmp(&expected[i], &background[i], 4) != 0;
      if (std::memcmp(&expected[i], &drawn[i], 4) != 0) {
        if (differing++ == 0) first = i / 4;
      }
    }
    EXPECT_GE(changed, GetParam().minimumChanged);
    EXPECT_EQ(differing, 0) << "pass " << pass << ", first at x " << first % 1024 << ", y " << first / 1024;
  }
  EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));
}

INSTANTIATE_TEST_SUITE_P(Cases, LabelOverlayPixels, testing::ValuesIn(kLabelCases),
                         [](const auto& test) { return std::string(test.param.name); });

// The GL state that the frame's later steps (the bar, the next frame's programs) rely on, as
// named values.
std::vector<std::pair<std::string, double>> GlState() {
  std::vector<std::pair<std::string, double>> state;
  const auto integers = [&](const char* name, GLenum query, int count) {
    GLint values[4] = {};
    glGetIntegerv(query, values);
    for (int i = 0; i < count; ++i) state.emplace_back(name + std::to_string(i), values[i]);
  };
  const auto floats = [&](const char* name, GLenum query, int count) {
    GLfloat values[16] = {};
    glGetFloatv(query, values);
    for (int i = 0; i < count; ++i) state.emplace_back(name + std::to_string(i), values[i]);
  };
  integers("program", GL_CURRENT_PROGRAM, 1);
  integers("active texture", GL_ACTIVE_TEXTURE, 1);
  integers("client active texture", GL_CLIENT_ACTIVE_TEXTURE, 1);
  integers("texture binding", GL_TEXTURE_BINDING_2D, 1);
  integers("array buffer", GL_ARRAY_BUFFER_BINDING, 1);
  integers("element buffer", GL_ELEMENT_ARRAY_BUFFER_BINDING, 1);
  integers("draw framebuffer", GL_DRAW_FRAMEBUFFER_BINDING, 1);
  integers("read framebuffer", GL_READ_FRAMEBUFFER_BINDING, 1);
  integers("draw buffer", GL_DRAW_BUFFER, 1);
  integers("read buffer", GL_READ_BUFFER, 1);
  integers("viewport", GL_VIEWPORT, 4);
  integers("matrix mode", GL_MATRIX_MODE, 1);
  integers("blend source", GL_BLEND_SRC_RGB, 1);
  integers("blend destination", GL_BLEND_DST_RGB, 1);
  integers("alpha test function", GL_ALPHA_TEST_FUNC, 1);
  integers("pack alignment", GL_PACK_ALIGNMENT, 1);
  integers("unpack alignment", GL_UNPACK_ALIGNMENT, 1);
  floats("colour", GL_CURRENT_COLOR, 4);
  floats("clear colour", GL_COLOR_CLEAR_VALUE, 4);
  floats("projection", GL_PROJECTION_MATRIX, 16);
  floats("model-view", GL_MODELVIEW_MATRIX, 16);
  floats("point size", GL_POINT_SIZE, 1);
  for (const auto& [name, capability] : {std::pair{"texture 2D", GL_TEXTURE_2D},
                                         {"alpha test", GL_ALPHA_TEST},
                                         {"blend", GL_BLEND},
                                         {"cull face", GL_CULL_FACE},
                                         {"polygon smooth", GL_POLYGON_SMOOTH},
                                         {"line smooth", GL_LINE_SMOOTH},
                                         {"point smooth", GL_POINT_SMOOTH},
                                         {"multisample", GL_MULTISAMPLE},
                                         {"depth test", GL_DEPTH_TEST},
                                         {"lighting", GL_LIGHTING},
                                         {"scissor test", GL_SCISSOR_TEST},
                                         {"stencil test", GL_STENCIL_TEST},
                                         {"vertex array", GL_VERTEX_ARRAY},
                                         {"texture coordinate array", GL_TEXTURE_COORD_ARRAY}}) {
    state.emplace_back(name, glIsEnabled(capability));
  }
  return state;
}

TEST_F(LabelOverlayPixels, DrawingLeavesTheGlStateAsItFoundIt) {
  // As in a frame: the Lines program first, then none, which leaves the last texture unit active.
  mGraphics->mShaderLibrary->UseProgram("Lines");
  TextState();
  const auto before = GlState();
  const Labels labels = {{"0123", vec2(0.0f, 0.0f)}, {"4\n5", vec2(0.5f, 0.5f)}};
  for (int pass = 0; pass < 2; ++pass) {  // the first pass also captures the glyphs
    mOverlay.Draw(labels);
    const auto after = GlState();
    ASSERT_EQ(after.size(), before.size());
    for (std::size_t i = 0; i < before.size(); ++i) {
      EXPECT_EQ(after[i].second, before[i].second) << before[i].first << ", pass " << pass;
    }
  }
  EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));
}

}  // namespace
