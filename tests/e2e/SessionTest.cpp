// One whole session of the real program from the first point to the quit: the session the
// memcheck run watches.
#include "EditorFixture.h"

namespace editor {
namespace {

namespace fs = std::filesystem;

class Session : public EditorTest {
protected:
  void SetUp() override {
    Start([](const fs::path& work) {
      std::ofstream(work / "start.xml") << "<resource><ControlPoint>0.2 0.3</ControlPoint></resource>";
    });
  }
};

// Edit, save, load and quit: the whole life of a session, ending with exit code 0.
TEST_F(Session, WholeSessionFromTheFirstPointToTheQuit) {
  AddPoint(400, 300);
  AddPoint(500, 450);
  AddPoint(650, 300);
  AddPoint(800, 450);
  ASSERT_TRUE(WaitForColor(800, 450, IsRed));
  mDemo->Drag(500, Down(450), 520, Down(480), Button::Left, 3);
  ASSERT_TRUE(WaitForColor(520, 480, IsRed));
  SetFilename("session");
  Save();
  ASSERT_TRUE(mDemo->WaitFor([&] { return Exists("session.xml"); }));
  mDemo->Key("p");
  ASSERT_TRUE(WaitForColor(400, 300, [](const Pixel& p) { return !IsGreen(p) && !IsRed(p); }));
  // The list now holds session.xml and start.xml, in that order.
  mDemo->Click(kValueX, kLoadY);
  mDemo->Click(kValueX, kLoadListFirstY);
  EXPECT_TRUE(WaitForColor(400, 300, IsGreen));
  EXPECT_TRUE(WaitForColor(520, 480, IsGreen));
  mDemo->Key("Escape");
  EXPECT_EQ(mDemo->WaitForExit(std::chrono::seconds(30)), std::optional<int>(0));
  EXPECT_EQ(mDemo->Output().find("ailed"), std::string::npos) << mDemo->Output();
}

}  // namespace
}  // namespace editor
