// The window Demo opens, its ways out, and the echo of special keys.
#include <gtest/gtest.h>

#include <X11/Xutil.h>

#include "DemoSession.h"

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

TEST(WindowAndExit, EachWayOutEndsWithExitCodeZero) {
  struct Way {
    const char* name;
    void (*leave)(DemoSession&);
  };
  const Way ways[] = {
      {"Escape", [](DemoSession& demo) { demo.Key("Escape"); }},
      {"Alt+F4", [](DemoSession& demo) { demo.Key("F4", "Alt_L"); }},
      {"closing the window", [](DemoSession& demo) { demo.CloseWindow(); }},
  };
  for (const Way& way : ways) {
    SCOPED_TRACE(way.name);
    DemoSession demo;
    demo.MoveTo(600, 400);
    way.leave(demo);
    EXPECT_EQ(demo.WaitForExit(), std::optional<int>(0));
  }
}

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
