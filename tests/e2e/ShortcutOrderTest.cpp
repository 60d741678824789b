// A bar's shortcut key among scene input faster than the frames: it acts on what the input
// before it did, as if each had had a frame of its own.
#include <cmath>
#include <functional>

#include "EditorFixture.h"
#include "NamedCases.h"

namespace editor {
namespace {

struct ShortcutCase {
  const char* name;
  std::vector<std::pair<int, int>> points;  // right clicks first; the last one stays selected
  std::function<void(DemoSession&)> send;   // ends with input sent at once, the key last
  bool saves;                               // the key saves the path itself
  std::string expected;                     // the points order.xml holds at the end
};

std::string Listed(const std::vector<PathPoint>& points) {
  std::string text;
  for (const PathPoint& p : points)
    text += std::to_string(std::lround(p.x)) + "," + std::to_string(std::lround(p.y)) + " ";
  return text;
}

// A left drag of the point at (400, 300) to 500; then its last motion to 560, the release and
// the key, all between two frames.
void DragThen(DemoSession& demo, const std::string& key, const std::string& modifiers) {
  demo.MoveTo(400, Down(300));
  demo.Press(Button::Left);
  demo.MoveTo(450, Down(300));
  demo.MoveTo(500, Down(300));
  demo.AtOnce([&] {
    demo.MoveTo(560, Down(300));
    demo.Release(Button::Left);
    demo.Key(key, modifiers);
  });
}

class ShortcutOrder : public EditorTest, public ::testing::WithParamInterface<ShortcutCase> {};

TEST_P(ShortcutOrder, TheKeyActsAfterTheInputBeforeIt) {
  const ShortcutCase& c = GetParam();
  SetFilename("order");
  for (const auto& [x, y] : c.points) AddPoint(x, y);
  if (!c.points.empty()) {
    ASSERT_TRUE(WaitForColor(c.points.back().first, c.points.back().second, IsRed));
  }
  c.send(*mDemo);
  if (!c.saves) Save();
  ASSERT_TRUE(mDemo->WaitFor([&] { return Exists("order.xml"); })) << mDemo->Output();
  EXPECT_EQ(c.expected, Listed(PointsOf(File("order.xml"))));
}

INSTANTIATE_TEST_SUITE_P(Keys, ShortcutOrder,
                         ::testing::Values(
                             // Delete removes the point just clicked, not the one selected before.
                             ShortcutCase{"click_then_delete",
                                          {{300, 300}, {400, 300}, {500, 300}},
                                          [](DemoSession& demo) {
                                            demo.AtOnce([&] {
                                              demo.MoveTo(300, Down(300));
                                              demo.Press(Button::Left);
                                              demo.Release(Button::Left);
                                              demo.Key("Delete");
                                            });
                                          },
                                          false,
                                          "400,300 500,300 "},
                             // z puts its point where the pointer went.
                             ShortcutCase{"move_then_z",
                                          {},
                                          [](DemoSession& demo) {
                                            demo.MoveTo(700, Down(500));
                                            demo.AtOnce([&] {
                                              demo.MoveTo(400, Down(300));
                                              demo.Key("z");
                                            });
                                          },
                                          false,
                                          "400,300 "},
                             // x inserts before the point the right click made, at the pointer moved since.
                             ShortcutCase{"right_click_move_then_x",
                                          {{300, 300}, {400, 300}},
                                          [](DemoSession& demo) {
                                            demo.AtOnce([&] {
                                              demo.MoveTo(500, Down(300));
                                              demo.Press(Button::Right);
                                              demo.Release(Button::Right);
                                              demo.MoveTo(600, Down(400));
                                              demo.Key("x");
                                            });
                                          },
                                          false,
                                          "300,300 400,300 600,400 500,300 "},
                             // Undo takes back the whole drag, which ended where it was released.
                             ShortcutCase{"drag_release_then_undo",
                                          {{400, 300}},
                                          [](DemoSession& demo) { DragThen(demo, "z", "Control_L"); },
                                          false,
                                          "400,300 "},
                             // Save writes the point where the drag dropped it.
                             ShortcutCase{"drag_release_then_save",
                                          {{400, 300}},
                                          [](DemoSession& demo) { DragThen(demo, "s", "Control_L"); },
                                          true,
                                          "560,300 "}),
                         testsupport::CaseName<ShortcutCase>);

}  // namespace
}  // namespace editor
