// The one mapping between the pointer, window pixels and the drawing's device coordinates, at
// the size the window opens at and after it was resized.
#include <gtest/gtest.h>

#include "WindowView.h"

namespace {

struct ViewCase {
  const char* name;
  int width, height;
  glm::ivec2 pointer;  // as GLUT gives it, from the top left
  vec2 window;         // the same place in window pixels, from the lower left
  vec2 device;         // and in device coordinates
};

class WindowViewTest : public ::testing::TestWithParam<ViewCase> {
protected:
  void TearDown() override { mView->Resize(gWindowWidth, gWindowHeight); }
  WindowView* mView = WindowView::Instance();
};

TEST_P(WindowViewTest, PointerWindowAndDeviceAgree) {
  const ViewCase& c = GetParam();
  mView->Resize(c.width, c.height);
  EXPECT_EQ(c.window, mView->PointerToWindow(c.pointer.x, c.pointer.y));
  EXPECT_EQ(c.pointer, mView->WindowToPointer(c.window));
  const vec2 device = mView->WindowToDevice(c.window);
  EXPECT_NEAR(c.device.x, device.x, 1e-6f);
  EXPECT_NEAR(c.device.y, device.y, 1e-6f);
  // The drawing puts a window position where the pointer finds it.
  const vec4 clip = mView->Projection() * vec4(c.window, -2.0f, 1.0f);
  EXPECT_NEAR(c.device.x, clip.x / clip.w, 1e-6f);
  EXPECT_NEAR(c.device.y, clip.y / clip.w, 1e-6f);
}

INSTANTIATE_TEST_SUITE_P(
    Sizes, WindowViewTest,
    ::testing::Values(
        ViewCase{"opening_size_centre", 1024, 768, {512, 384}, {512, 384}, {0, 0}},
        ViewCase{"opening_size_frame_corner", 1024, 768, {262, 584}, {262, 184}, {-0.48828125f, -0.5208333f}},
        // Smaller: the scene keeps its origin at the lower-left corner, unscaled.
        ViewCase{"smaller_frame_point", 800, 600, {612, 216}, {612, 384}, {0.53f, 0.28f}},
        ViewCase{"larger_top_left", 1600, 1000, {0, 0}, {0, 1000}, {-1, 1}}),
    [](const ::testing::TestParamInfo<ViewCase>& c) { return std::string(c.param.name); });

TEST(WindowView, AWindowWithoutAreaStillMapsToFiniteValues) {
  WindowView* view = WindowView::Instance();
  view->Resize(0, 0);
  EXPECT_EQ(1, view->Width());
  EXPECT_EQ(1, view->Height());
  EXPECT_TRUE(IsFinite(view->WindowToDevice(vec2(10.0f, 10.0f))));
  view->Resize(gWindowWidth, gWindowHeight);
}

}  // namespace
