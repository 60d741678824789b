// The one mapping between the pointer, window pixels and the drawing's device coordinates, at
// the size the window opens at and after it was resized.
#include <gtest/gtest.h>
#include <cmath>  // pow

#include "WindowView.h"
#include "NamedCases.h"

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
    testsupport::CaseName<ViewCase>);

TEST(WindowView, AWindowWithoutAreaStillMapsToFiniteValues) {
  WindowView* view = WindowView::Instance();
  view->Resize(0, 0);
  EXPECT_EQ(1, view->Width());
  EXPECT_EQ(1, view->Height());
  EXPECT_TRUE(IsFinite(view->WindowToDevice(vec2(10.0f, 10.0f))));
  view->Resize(gWindowWidth, gWindowHeight);
}

}  // namespace

namespace {

// The view of the scene: wheel steps about a window pixel keep the scene point under it, the
// zoom stops at its limits, a pan puts a scene point under a window pixel, and the drawing's
// projection agrees with the mapping.
class SceneView : public ::testing::Test {
protected:
  void TearDown() override { mView->ResetView(); }
  WindowView* mView = WindowView::Instance();
};

TEST_F(SceneView, AStepKeepsThePointUnderThePointerAndScalesAboutIt) {
  const vec2 pointer(500.0f, 350.0f);
  mView->ZoomAbout(pointer, true);
  EXPECT_EQ(1.25f, mView->Zoom());
  EXPECT_EQ(pointer, mView->SceneToWindow(pointer));
  EXPECT_EQ(vec2(375.0f, 287.5f), mView->SceneToWindow(vec2(400.0f, 300.0f)));
  EXPECT_EQ(vec2(400.0f, 300.0f), mView->WindowToScene(vec2(375.0f, 287.5f)));
  const vec4 clip = mView->SceneProjection() * vec4(400.0f, 300.0f, -2.0f, 1.0f);
  const vec2 device = mView->WindowToDevice(vec2(375.0f, 287.5f));
  EXPECT_NEAR(device.x, clip.x / clip.w, 1e-6f);
  EXPECT_NEAR(device.y, clip.y / clip.w, 1e-6f);
  mView->ZoomAbout(pointer, false);
  EXPECT_EQ(1.0f, mView->Zoom());
  EXPECT_EQ(vec2(400.0f, 300.0f), mView->SceneToWindow(vec2(400.0f, 300.0f)));
}

// The limits are reached, and steps back from a limit come back on the powers of the step: as
// many steps out as in return to 1.
TEST_F(SceneView, TheZoomStaysBetweenAQuarterAndSixteenAndComesBackFromEither) {
  const vec2 pointer(300.0f, 200.0f);
  for (int i = 0; i < 40; ++i) mView->ZoomAbout(pointer, true);
  EXPECT_EQ(gMaxZoom, mView->Zoom());
  EXPECT_NEAR(300.0f, mView->SceneToWindow(mView->WindowToScene(pointer)).x, 1e-3f);
  mView->ZoomAbout(pointer, false);
  EXPECT_FLOAT_EQ(std::pow(gZoomStep, 12.0f), mView->Zoom());  // 14.55: the step below 16
  for (int i = 0; i < 12; ++i) mView->ZoomAbout(pointer, false);
  EXPECT_EQ(1.0f, mView->Zoom());
  for (int i = 0; i < 80; ++i) mView->ZoomAbout(pointer, false);
  EXPECT_EQ(gMinZoom, mView->Zoom());
  mView->ZoomAbout(pointer, true);
  EXPECT_FLOAT_EQ(std::pow(gZoomStep, -6.0f), mView->Zoom());  // 0.262: the step above 1/4
  for (int i = 0; i < 6; ++i) mView->ZoomAbout(pointer, true);
  EXPECT_EQ(1.0f, mView->Zoom());
}

TEST_F(SceneView, APanPutsTheScenePointUnderThePointerAndResetComesBack) {
  mView->ZoomAbout(vec2(0.0f), true);
  mView->PanTo(vec2(612.0f, 384.0f), vec2(100.0f, 50.0f));
  EXPECT_EQ(vec2(100.0f, 50.0f), mView->SceneToWindow(vec2(612.0f, 384.0f)));
  EXPECT_EQ(vec2(612.0f, 384.0f), mView->WindowToScene(vec2(100.0f, 50.0f)));
  mView->ResetView();
  EXPECT_EQ(1.0f, mView->Zoom());
  EXPECT_EQ(vec2(262.0f, 184.0f), mView->SceneToWindow(vec2(262.0f, 184.0f)));
  EXPECT_EQ(mView->Projection(), mView->SceneProjection());
}

}  // namespace
