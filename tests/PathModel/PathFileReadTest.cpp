// Loading: the reading rules of the elements, the conversion back to window positions, and
// the failures that leave the path as it was.
#include <cmath>
#include <sstream>

#include "BadPathFiles.h"
#include "PathFileFormat.h"
#include "PathFileTestSupport.h"
#include "NamedCases.h"

namespace {

using pathtest::PathFileTest;
using testsupport::WriteFile;

std::string Document(const std::string& children) { return "<resource>\n" + children + "</resource>\n"; }

TEST_F(PathFileTest, LoadTurnsFileValuesBackIntoWindowPositions) {
  WriteFile("a.xml", Document("<Scale>350 200</Scale><WorldPos>262 184</WorldPos>"
                              "<SplineStart>0.5 0.5</SplineStart>"
                              "<ControlPoint>-0.5 -0.5</ControlPoint>"
                              "<ControlPoint>0 0</ControlPoint>"
                              "<ControlPoint>0.5 0.25</ControlPoint>"));
  WriteFile("b.xml", "<x/>");
  spline.SetRotation(45.0f);
  spline.SetScale(3.0f);
  spline.mSamplesValid = true;
  EXPECT_EQ("", LoadNamed("a.xml"));
  EXPECT_EQ((std::vector<vec2>{{262, 184}, {612, 384}, {962, 484}}), spline.mControlPoints);
  EXPECT_EQ(0.0f, spline.mRotation);
  EXPECT_EQ(1.0f, spline.mScale);
  EXPECT_EQ(vec2(0.5f, 0.5f), files.mFileSplineStart);
  EXPECT_EQ("a.xml", files.mFilename);
  EXPECT_EQ(0, files.mLoadIndex);
  EXPECT_FALSE(spline.mSamplesValid);
}

TEST_F(PathFileTest, TheRootMayHaveAnyName) {
  WriteFile("odd.xml", "<path><WorldPos>5 6</WorldPos><ControlPoint>1 1</ControlPoint></path>");
  LoadNamed("odd.xml");
  EXPECT_EQ((std::vector<vec2>{{5, 6}}), spline.mControlPoints);
}

// Two readings into a target that starts at (7, 8): a failed reading keeps its component and
// the reading after it fails too. A stream of floats is the reference for each text.
struct ReadingCase {
  const char* name;
  const char* text;
  vec2 expected;
};

class ElementText : public ::testing::TestWithParam<ReadingCase> {};

TEST_P(ElementText, IsReadAsUpToTwoFloatsLikeAStream) {
  const ReadingCase& c = GetParam();
  pathfile::Contents contents;
  contents.worldPos = PathPoint{7, 8};
  pathfile::ApplyElement("WorldPos", c.text, contents);
  EXPECT_EQ(c.expected, vec2(contents.worldPos.x, contents.worldPos.y)) << "'" << c.text << "'";

  std::istringstream stream(c.text);
  vec2 reference(7, 8);
  float value = 0;
  if (stream >> value && std::isfinite(value)) {
    reference.x = value;
    if (stream >> value && std::isfinite(value)) reference.y = value;
  }
  EXPECT_EQ(reference, vec2(contents.worldPos.x, contents.worldPos.y)) << "stream reference";
}

INSTANTIATE_TEST_SUITE_P(
    Readings, ElementText,
    ::testing::Values(
        ReadingCase{"empty", "", {7, 8}}, ReadingCase{"one", "1", {1, 8}}, ReadingCase{"two", "1 2", {1, 2}},
        ReadingCase{"three", "1 2 3", {1, 2}}, ReadingCase{"word_first", "x 2", {7, 8}},
        ReadingCase{"word_second", "1 x", {1, 8}}, ReadingCase{"overflow", "1e999 2", {7, 8}},
        ReadingCase{"negative_overflow", "-1e999 2", {7, 8}},
        ReadingCase{"overflow_second", "2 1e999", {2, 8}}, ReadingCase{"inf", "inf 1", {7, 8}},
        ReadingCase{"nan", "nan 1", {7, 8}}, ReadingCase{"bare_exponent", "1e 2", {7, 8}},
        ReadingCase{"signed_bare_exponent", "1e+ 2", {7, 8}}, ReadingCase{"underflow", "1e-999 2", {0, 2}},
        ReadingCase{"white_space", "\t\n 3.5e1\r\n-4E-1 ", {35, -0.4f}},
        ReadingCase{"leading_points", ".5 .25", {0.5f, 0.25f}},
        ReadingCase{"second_point", "1.5.25", {1.5f, 0.25f}}, ReadingCase{"signs", "+2 -3", {2, -3}},
        ReadingCase{"hex", "0x10 4", {0, 8}}, ReadingCase{"comma", "1,5 2", {1, 8}},
        ReadingCase{"lone_sign", "- 1", {7, 8}}, ReadingCase{"lone_point", ". 1", {7, 8}},
        ReadingCase{"exponent_first", "e5 1", {7, 8}}, ReadingCase{"plus_exponent", "5e+2 1", {500, 1}},
        ReadingCase{"two_exponents", "1e5e3", {100000, 8}},
        ReadingCase{"zeros", "00012.50 -0", {12.5f, -0.0f}},
        ReadingCase{"largest_float", "3.4028235e38 1", {3.4028235e38f, 1}}),
    testsupport::CaseName<ReadingCase>);

TEST(PathFileElements, EachTagReadsIntoItsField) {
  pathfile::Contents contents;
  pathfile::ApplyElement("Scale", "350 200", contents);
  pathfile::ApplyElement("SplineStart", "0.25 0.75", contents);
  pathfile::ApplyElement("ControlPoint", "", contents);
  pathfile::ApplyElement("ControlPoint", "4", contents);
  pathfile::ApplyElement("ControlPoint", "bad 9", contents);
  pathfile::ApplyElement("Other", "1 1", contents);
  EXPECT_EQ((PathPoint{350, 200}), contents.scale);
  EXPECT_EQ((PathPoint{0.25f, 0.75f}), contents.splineStart);
  EXPECT_EQ((std::vector<PathPoint>{{0, 0}, {4, 0}, {0, 0}}), contents.controlPoints);
  EXPECT_EQ((std::vector<std::string>{"Unrecognised tag: Other"}), contents.messages);
}

TEST_F(PathFileTest, UnknownTagsAreReportedAndSkipped) {
  WriteFile("a.xml", Document("<Foo>1 2</Foo><WorldPos>10 20</WorldPos>"
                              "<controlpoint>1 1</controlpoint><ControlPoint>0 0</ControlPoint>"
                              "<ControlPoints/>"));
  EXPECT_EQ(
      "Unrecognised tag: Foo\nUnrecognised tag: controlpoint\n"
      "Unrecognised tag: ControlPoints\n",
      LoadNamed("a.xml"));
  EXPECT_EQ((std::vector<vec2>{{10, 20}}), spline.mControlPoints);
}

// Elements may come in any order and repeat; the last Scale, WorldPos and SplineStart apply
// to every point.
TEST_F(PathFileTest, TheLastValuesApplyToAllPoints) {
  WriteFile("a.xml", Document("<ControlPoint>1 1</ControlPoint><Scale>1 1</Scale>"
                              "<WorldPos>100 100</WorldPos><ControlPoint>2 2</ControlPoint>"
                              "<Scale>5 10</Scale><WorldPos>0 1</WorldPos>"));
  LoadNamed("a.xml");
  EXPECT_EQ((std::vector<vec2>{{10, 21}, {20, 41}}), spline.mControlPoints);
}

TEST_F(PathFileTest, AMissingSplineStartKeepsThePreviousOne) {
  WriteFile("first.xml", Document("<SplineStart>1 2</SplineStart><Scale>0.5 0.5</Scale>"
                                  "<ControlPoint>0 0</ControlPoint>"));
  WriteFile("second.xml", Document("<Scale>0.5 0.5</Scale><ControlPoint>0 0</ControlPoint>"));
  LoadNamed("second.xml");
  EXPECT_EQ((std::vector<vec2>{{0, 0}}), spline.mControlPoints);
  LoadNamed("first.xml");
  LoadNamed("second.xml");
  EXPECT_EQ((std::vector<vec2>{{1, 2}}), spline.mControlPoints);
}

// Only the first child of an element counts as its text, and only when it is text.
TEST_F(PathFileTest, TextIsTheFirstChildWhenThatIsText) {
  WriteFile("a.xml", Document("<Scale>1 1</Scale>"
                              "<ControlPoint><!-- c -->3 3</ControlPoint>"
                              "<ControlPoint><![CDATA[4 5]]></ControlPoint>"
                              "<ControlPoint><ControlPoint>6 6</ControlPoint></ControlPoint>"
                              "<ControlPoint>7 &#56;</ControlPoint>"));
  LoadNamed("a.xml");
  EXPECT_EQ((std::vector<vec2>{{0, 0}, {8, 10}, {0, 0}, {14, 16}}), spline.mControlPoints);
}

TEST_F(PathFileTest, LoadReportsABadIndex) {
  std::string output;
  {
    testsupport::CaptureStdout capture;
    files.LoadResourceFile(0, spline);
    files.LoadResourceFile(4294967295u, spline);
    output = capture.Text();
  }
  EXPECT_EQ("Invalid loading index: 0\nInvalid loading index: 4294967295\n", output);
  EXPECT_EQ(0, files.mLoadIndex);
}

// Each of these fails with the message and leaves the path and the file names as they were.
class BadFile : public PathFileTest, public ::testing::WithParamInterface<testsupport::BadPathFile> {};

TEST_P(BadFile, FailsToLoadAndLeavesThePath) {
  const testsupport::BadPathFile& bad = GetParam();
  bad.make(".");
  spline.mControlPoints = {{1, 2}, {3, 4}};
  spline.mSelectedIndex = 1;
  spline.SetRotation(10.0f);
  files.mFilename = "mine";
  files.mFileSplineStart = vec2(0.1f, 0.2f);
  files.RefreshListing();
  ASSERT_EQ(std::vector<std::string>{bad.name}, files.mFilenames);
  if (bad.goneAfterListing) std::filesystem::remove(bad.name);
  std::string output;
  {
    testsupport::CaptureStdout capture;
    EXPECT_FALSE(files.LoadResourceFile(0, spline));
    output = capture.Text();
  }
  EXPECT_EQ("Failed to load file: " + std::string(bad.name) + "\n", output);
  EXPECT_EQ((std::vector<vec2>{{1, 2}, {3, 4}}), spline.mControlPoints);
  EXPECT_EQ(1, spline.mSelectedIndex);
  EXPECT_EQ(10.0f, spline.mRotation);
  EXPECT_EQ("mine", files.mFilename);
  EXPECT_EQ(vec2(0.1f, 0.2f), files.mFileSplineStart);
  EXPECT_EQ(0, files.mLoadIndex);
}

INSTANTIATE_TEST_SUITE_P(Load, BadFile, ::testing::ValuesIn(testsupport::BadPathFiles()),
                         [](const ::testing::TestParamInfo<testsupport::BadPathFile>& c) {
                           return testsupport::BadPathFileCaseName(c.param);
                         });

TEST_F(PathFileTest, ASelectionBeyondTheLoadedPointsIsDropped) {
  WriteFile("two.xml", Document("<ControlPoint>0 0</ControlPoint><ControlPoint>1 1</ControlPoint>"));
  spline.mControlPoints.assign(5, vec2(0, 0));
  spline.mSelectedIndex = 1;
  LoadNamed("two.xml");
  EXPECT_EQ(1, spline.mSelectedIndex);
  spline.mControlPoints.assign(5, vec2(0, 0));
  spline.mSelectedIndex = 4;
  LoadNamed("two.xml");
  EXPECT_EQ(-1, spline.mSelectedIndex);
}

TEST_F(PathFileTest, AHundredThousandPointsLoad) {
  std::string children = "<Scale>350 200</Scale><WorldPos>262 184</WorldPos>\n";
  for (int i = 0; i < 100000; ++i)
    children += "  <ControlPoint>0." + std::to_string(i % 1000) + " -0.5</ControlPoint>\n";
  WriteFile("big.xml", Document(children));
  LoadNamed("big.xml");
  ASSERT_EQ(100000u, spline.mControlPoints.size());
  EXPECT_EQ(vec2(262.0f + 0.999f * 700.0f, -16.0f), spline.mControlPoints[999]);
}

}  // namespace
