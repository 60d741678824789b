// The bar as a user meets it: buttons that place points, a shortcut pressed while typing, the
// Load field, and values that cannot place a path.
#include "EditorFixture.h"
#include "NamedCases.h"

namespace editor {
namespace {

using BarTest = EditorTest;

constexpr int kInsertBeforeY = 157;

TEST_F(BarTest, ButtonsAndShortcutsOverTheBarPlaceThePointWhereThePointerLastWasInTheScene) {
  mDemo->MoveTo(600, Down(400));
  mDemo->Click(kBarX, kPushBackY);
  EXPECT_TRUE(WaitForColor(600, 400, IsRed));

  mDemo->MoveTo(700, Down(300));
  mDemo->MoveTo(kBarX, 250);  // over the bar, below its buttons
  mDemo->Key("z");
  EXPECT_TRUE(WaitForColor(700, 300, IsRed));
  EXPECT_TRUE(WaitForColor(600, 400, IsGreen));

  mDemo->MoveTo(500, Down(250));
  mDemo->Click(kBarX, kInsertBeforeY);
  EXPECT_TRUE(WaitForColor(500, 250, IsRed));

  // Nothing landed under the bar: the saved file holds the three points, in their order.
  SetFilename("placed");
  Save();
  ASSERT_TRUE(mDemo->WaitFor([&] { return Exists("placed.xml"); }));
  mDemo->Frames(4);
  const std::string text = File("placed.xml");
  const auto at = [&](float x, float y) {
    std::ostringstream line;
    line << (x - 262.0f) / 700.0f << " " << (y - 184.0f) / 400.0f;
    return line.str();
  };
  // Points 600,400 / 500,250 / 700,300: the start of the curve is (0, 0) below four points.
  EXPECT_NE(text.find("<ControlPoint>" + at(600, 400) + "</ControlPoint>\n  <ControlPoint>" + at(500, 250) +
                      "</ControlPoint>\n  <ControlPoint>" + at(700, 300) + "</ControlPoint>"),
            std::string::npos)
      << text;
}

TEST_F(BarTest, CtrlSWhileTypingTheNameSavesUnderThatName) {
  AddPoint(600, 400);
  mDemo->Click(kValueX, kFilenameY);
  mDemo->Key("a", "Control_L");
  mDemo->Type("typed");  // no Return
  mDemo->Key("s", "Control_L");
  EXPECT_TRUE(mDemo->WaitFor([&] { return Exists("typed.xml"); }));
  EXPECT_EQ(mDemo->Output().find("My friend"), std::string::npos) << mDemo->Output();
}

// The Load field's pixels: its value column on the Load row, inside the field.
class LoadFieldTest : public EditorTest {
protected:
  std::vector<Pixel> Field() {
    std::vector<Pixel> pixels;
    for (int y = kLoadY - 5; y <= kLoadY + 5; ++y)
      for (int x = 118; x < 176; ++x) pixels.push_back(mDemo->PixelAt(x, y));
    return pixels;
  }
  static bool HasText(const std::vector<Pixel>& field) {
    for (const Pixel& p : field)
      if (p.r > 200 && p.g > 200 && p.b > 200) return true;
    return false;
  }
};

TEST_F(LoadFieldTest, TheFieldNamesTheFileLastLoadedAndNothingBefore) {
  Start([](const std::filesystem::path& work) {
    std::ofstream(work / "pb.xml") << "<resource>\n  <Scale>350 200</Scale>\n  <WorldPos>262 184</WorldPos>\n"
                                      "  <SplineStart>0 0</SplineStart>\n"
                                      "  <ControlPoint>0.5 0.5</ControlPoint>\n</resource>\n";
  });
  mDemo->Frames(3);
  EXPECT_FALSE(HasText(Field()));

  mDemo->Click(kValueX, kLoadY);
  mDemo->Click(kValueX, kLoadListFirstY);
  ASSERT_TRUE(WaitForColor(612, 384, IsGreen));
  mDemo->MoveTo(600, 700);
  mDemo->Frames(3);
  const std::vector<Pixel> loaded = Field();
  EXPECT_TRUE(HasText(loaded));

  // A save puts aaa.xml first in the list; the field still names pb.xml.
  SetFilename("aaa");
  Save();
  ASSERT_TRUE(mDemo->WaitFor([&] { return Exists("aaa.xml"); }));
  mDemo->MoveTo(600, 700);
  mDemo->Frames(3);
  EXPECT_EQ(Field(), loaded);

  // Once the file is gone from the list, the field is empty again.
  std::filesystem::remove(mDemo->WorkDir() / "pb.xml");
  Save();
  ASSERT_TRUE(mDemo->WaitFor([&] { return Exists("aaa.xml.bak0"); }));
  mDemo->MoveTo(600, 700);
  EXPECT_TRUE(mDemo->WaitFor([&] { return !HasText(Field()); }));
}

TEST_F(LoadFieldTest, OpeningTheListShowsFilesMadeSinceAndLongNamesWhole) {
  AddPoint(400, 300);
  ASSERT_TRUE(WaitForColor(400, 300, IsRed));
  std::ofstream(mDemo->WorkDir() / "a_path_whose_name_is_far_longer_than_the_field.xml")
      << "<resource>\n  <Scale>350 200</Scale>\n  <WorldPos>262 184</WorldPos>\n"
         "  <SplineStart>0 0</SplineStart>\n  <ControlPoint>0.5 0.5</ControlPoint>\n</resource>\n";
  mDemo->Click(kValueX, kLoadY);
  // The open list reaches far past the bar's right edge (x 200) to show the whole name.
  bool textFarRight = false;
  for (int x = 330; x < 400 && !textFarRight; ++x)
    for (int y = kLoadListFirstY - 6; y <= kLoadListFirstY + 6 && !textFarRight; ++y) {
      const Pixel p = mDemo->PixelAt(x, y);
      textFarRight = p.r > 200 && p.g > 200 && p.b > 200;
    }
  EXPECT_TRUE(textFarRight);
  mDemo->Click(kValueX, kLoadListFirstY);
  EXPECT_TRUE(WaitForColor(612, 384, IsRed));  // the load keeps the selection, index 0
  EXPECT_FALSE(IsRed(At(400, 300)));
}

// On a long path the index labels cover everything: the Labels switch hides them.
TEST_F(BarTest, TheLabelsSwitchHidesTheIndexLabels) {
  AddPoint(500, 400);
  const auto labelShows = [&] {
    for (int x = 500; x < 510; ++x)
      for (int y = 420; y < 432; ++y)
        if (Near(At(x, y), 255, 255, 255, 30)) return true;
    return false;
  };
  ASSERT_TRUE(mDemo->WaitFor(labelShows));
  mDemo->Click(kSwitchX, kLabelsY);
  EXPECT_TRUE(mDemo->WaitFor([&] { return !labelShows(); }));
  EXPECT_TRUE(IsRed(At(500, 400)));
  mDemo->Click(kSwitchX, kLabelsY);
  EXPECT_TRUE(mDemo->WaitFor(labelShows));
}

// Rotation and Scale that are not finite would place every point nowhere: they are refused,
// and the path stays where it was and keeps taking new points.
struct NotFiniteCase {
  const char* name;
  const char* value;
};

class NotFiniteBarValue : public EditorTest, public ::testing::WithParamInterface<NotFiniteCase> {};

TEST_P(NotFiniteBarValue, ForRotationOrScaleIsRefused) {
  AddPoint(600, 200);
  ASSERT_TRUE(WaitForColor(600, 200, IsRed));
  TypeInto(kRotationY, GetParam().value);
  TypeInto(kScaleY, GetParam().value);
  mDemo->MoveTo(600, 700);
  mDemo->Frames(3);
  EXPECT_TRUE(IsRed(At(600, 200)));
  AddPoint(700, 300);
  EXPECT_TRUE(WaitForColor(700, 300, IsRed));
  EXPECT_TRUE(WaitForColor(600, 200, IsGreen));
}

INSTANTIATE_TEST_SUITE_P(BarTest, NotFiniteBarValue,
                         ::testing::Values(NotFiniteCase{"infinity", "inf"}, NotFiniteCase{"nan", "nan"},
                                           NotFiniteCase{"beyond_the_float_range", "1e39"}),
                         testsupport::CaseName<NotFiniteCase>);

}  // namespace
}  // namespace editor
