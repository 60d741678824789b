// The window Demo opens, its ways out, and the echo of special keys.
#include <gtest/gtest.h>

#include <X11/Xutil.h>

#include "DemoSession.h"
#include "NamedCases.h"

namespace {

using e2e::DemoSession;

TEST(WindowAndExit, WindowHasItsTitleAndSize) {
  DemoSession demo;
  XWindowAttributes attributes;
  ASSERT_TRUE(XGetWindowAttributes(demo.XDisplay(), demo.WindowId(), &attributes));
  EXPECT_EQ(attributes.width, 1024);
  EXPECT_EQ(attributes.height, 768);
  char* name = nullptr;
  ASSERT_TRUE(XFetchName(demo.XDisplay(), demo.WindowId(), &name));
  EXPECT_STREQ(name, "Veyrun Path Editor");
  XFree(name);
}

struct Way {
  const char* name;
  void (*leave)(DemoSession&);
};

class WayOut : public ::testing::TestWithParam<Way> {};

TEST_P(WayOut, EndsWithExitCodeZero) {
  DemoSession demo;
  demo.MoveTo(600, 400);
  GetParam().leave(demo);
  EXPECT_EQ(demo.WaitForExit(), std::optional<int>(0));
}

INSTANTIATE_TEST_SUITE_P(WindowAndExit, WayOut,
                         ::testing::Values(Way{"escape", [](DemoSession& demo) { demo.Key("Escape"); }},
                                           Way{"alt_f4", [](DemoSession& demo) { demo.Key("F4", "Alt_L"); }},
                                           Way{"closing_the_window",
                                               [](DemoSession& demo) { demo.CloseWindow(); }}),
                         testsupport::CaseName<Way>);

TEST(WindowAndExit, SpecialKeysAreEchoedAndF4AloneDoesNotEndTheProgram) {
  DemoSession demo;
  demo.MoveTo(600, 400);
  demo.Key("F4");
  demo.Key("F5");
  demo.Key("Left");
  EXPECT_TRUE(demo.WaitForOutput("4\n5\n100\n"));
  EXPECT_TRUE(demo.Running());
  demo.Key("F4", "Control_L");                  // Ctrl+F4: the modifier must be Alt alone
  EXPECT_TRUE(demo.WaitForOutput("114\n4\n"));  // Ctrl alone is a special key too
  EXPECT_TRUE(demo.Running());
}

}  // namespace
