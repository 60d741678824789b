// Reading path files: the frame pixels of the points, the rules shared with the editor's Load,
// and the texts and files that are refused with a reason.
#include <gtest/gtest.h>

#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "PathResource.h"
#include "RuntimeTestSupport.h"
#include "TestSupport.h"

namespace {

struct ReadCase {
  const char* name;
  const char* text;
  std::vector<PathPoint> controlPoints;
  std::vector<std::string> messages;
};

class ReadText : public ::testing::TestWithParam<ReadCase> {};

TEST_P(ReadText, GivesThePointsInFramePixels) {
  const ReadCase& c = GetParam();
  std::string error = "unchanged";
  const std::optional<PathResource> path = PathResource::FromText(c.text, &error);
  ASSERT_TRUE(path) << error;
  EXPECT_EQ("", error);
  EXPECT_EQ(c.controlPoints, path->ControlPoints());
  EXPECT_EQ(c.messages, path->Messages());
}

INSTANTIATE_TEST_SUITE_P(
    Texts, ReadText,
    ::testing::Values(
        // As the editor saves four points at the frame's corners and centre.
        ReadCase{"saved_by_the_editor",
                 "<resource>\n  <Scale>350 200</Scale>\n  <WorldPos>262 184</WorldPos>\n"
                 "  <SplineStart>0.5 0.5</SplineStart>\n  <ControlPoint>-0.5 -0.5</ControlPoint>\n"
                 "  <ControlPoint>0 0</ControlPoint>\n  <ControlPoint>0.5 0.5</ControlPoint>\n"
                 "  <ControlPoint>0.5 -0.5</ControlPoint>\n</resource>\n",
                 {{0, 0}, {350, 200}, {700, 400}, {700, 0}},
                 {}},
        // WorldPos places the frame in the editor's window; frame pixels do not depend on it.
        ReadCase{"world_pos_ignored",
                 "<resource><WorldPos>-5000 7</WorldPos><Scale>350 200</Scale>"
                 "<ControlPoint>0.25 0.5</ControlPoint></resource>",
                 {{175, 200}},
                 {}},
        ReadCase{"no_spline_start_starts_at_the_origin",
                 "<resource><Scale>350 200</Scale><ControlPoint>0.5 0.5</ControlPoint></resource>",
                 {{350, 200}},
                 {}},
        ReadCase{
            "later_values_win_for_every_point",
            "<resource><Scale>1 1</Scale><ControlPoint>1 1</ControlPoint><Scale>350 200</Scale>"
            "<SplineStart>0 1</SplineStart><ControlPoint>0 -1</ControlPoint><SplineStart>0.5 0</SplineStart>"
            "</resource>",
            {{1050, 400}, {350, -400}},
            {}},
        ReadCase{"unknown_tags_skipped_and_kept_as_messages",
                 "<path><Foo>1 2</Foo><Scale>350 200</Scale><ControlPoint>1 0<!-- x --></ControlPoint>"
                 "<controlpoint>3 3</controlpoint></path>",
                 {{700, 0}},
                 {"Unrecognised tag: Foo", "Unrecognised tag: controlpoint"}},
        // Unreadable numbers keep their defaults: no Scale leaves a frame of size 0.
        ReadCase{"empty_and_partial_numbers",
                 "<resource><Scale>350 200</Scale><SplineStart>0.5 x</SplineStart><ControlPoint/>"
                 "<ControlPoint>0.25</ControlPoint><ControlPoint>nan 1</ControlPoint></resource>",
                 {{350, 0}, {525, 0}, {350, 0}},
                 {}},
        ReadCase{"no_scale_is_a_frame_of_size_0",
                 "<resource><ControlPoint>3 4</ControlPoint></resource>",
                 {{0, 0}},
                 {}},
        ReadCase{"declaration_and_comments_around_the_root",
                 "<?xml version=\"1.0\"?><!-- path --><resource><Scale>0.5 0.5</Scale>"
                 "<ControlPoint>1.5 -2</ControlPoint></resource><!-- end -->",
                 {{1.5f, -2}},
                 {}}),
    testsupport::CaseName<ReadCase>);

struct RefusedCase {
  const char* name;
  std::string text;
  const char* error;
};

class RefusedText : public ::testing::TestWithParam<RefusedCase> {};

TEST_P(RefusedText, GivesNothingAndTheReason) {
  std::string error;
  EXPECT_FALSE(PathResource::FromText(GetParam().text, &error));
  EXPECT_EQ(GetParam().error, error);
  EXPECT_FALSE(PathResource::FromText(GetParam().text, nullptr)) << "without a place for the reason";
}

const char kNotADocument[] = "not an XML document with a root element";
const char kBeyond[] = "a value beyond the float range";

INSTANTIATE_TEST_SUITE_P(
    Texts, RefusedText,
    ::testing::Values(
        RefusedCase{"empty", "", kNotADocument},
        RefusedCase{"unclosed", "<resource><Scale>1 1</Scale>", kNotADocument},
        RefusedCase{"declaration_and_comment_only", "<?xml version=\"1.0\"?><!-- nothing -->", kNotADocument},
        RefusedCase{"plain_text", "350 200", kNotADocument},
        RefusedCase{"nul_inside", std::string("<resource>\0</resource>", 22), kNotADocument},
        RefusedCase{"point_beyond_the_float_range",
                    "<resource><Scale>1e38 1</Scale><ControlPoint>2 1</ControlPoint></resource>", kBeyond},
        RefusedCase{"frame_beyond_the_float_range", "<resource><Scale>3e38 1</Scale></resource>", kBeyond},
        // Every point fits, the curve between them is longer than the float range.
        RefusedCase{"length_beyond_the_float_range",
                    "<resource><Scale>1.5e38 1</Scale><ControlPoint>1 0</ControlPoint><ControlPoint>-1 "
                    "0</ControlPoint>"
                    "<ControlPoint>1 0</ControlPoint><ControlPoint>-1 0</ControlPoint><ControlPoint>1 "
                    "0</ControlPoint>"
                    "<ControlPoint>-1 0</ControlPoint><ControlPoint>1 0</ControlPoint></resource>",
                    kBeyond}),
    testsupport::CaseName<RefusedCase>);

class ShortPath : public ::testing::TestWithParam<std::size_t> {};

TEST_P(ShortPath, BelowFourPointsTheCurveIsEmpty) {
  const std::size_t count = GetParam();
  const std::vector<PathPoint> points(count, PathPoint{10.0f, 20.0f});
  const std::optional<PathResource> path = PathResource::FromText(runtimetest::PathText(points), nullptr);
  ASSERT_TRUE(path) << count;
  EXPECT_EQ(points, path->ControlPoints());
  EXPECT_TRUE(path->Samples().empty()) << count;
  EXPECT_EQ(0.0f, path->Length()) << count;
  EXPECT_EQ(PathPoint({0, 0}), path->Evaluate(0.5f)) << count;
  EXPECT_EQ(PathPoint({0, 0}), path->PointAtDistance(1.0f)) << count;
  EXPECT_EQ(PathPoint({0, 0}), path->TangentAtDistance(1.0f)) << count;
}

INSTANTIATE_TEST_SUITE_P(Counts, ShortPath, ::testing::Range<std::size_t>(0, 4),
                         [](const ::testing::TestParamInfo<std::size_t>& c) {
                           return "points_" + std::to_string(c.param);
                         });

// The hostile inputs of the editor's loader, as files: each is read or refused with a reason.
struct SeedCase {
  const char* file;
  const char* error;  // "" for a file that is read
  std::size_t points;
};

class LoaderSeed : public ::testing::TestWithParam<SeedCase> {};

TEST_P(LoaderSeed, IsReadOrRefusedWithAReason) {
  const SeedCase& c = GetParam();
  std::string error = "unchanged";
  const std::optional<PathResource> path =
      PathResource::FromFile(std::string(PATH_LOAD_SEEDS_DIR) + "/" + c.file, &error);
  EXPECT_EQ(c.error, error);
  ASSERT_EQ(c.error[0] == '\0', path.has_value());
  if (path) {
    EXPECT_EQ(c.points, path->ControlPoints().size());
  }
}

INSTANTIATE_TEST_SUITE_P(
    Seeds, LoaderSeed,
    ::testing::Values(SeedCase{"binary.xml", kNotADocument, 0}, SeedCase{"four_points.xml", "", 4},
                      SeedCase{"nested.xml", "", 0}, SeedCase{"no_element.xml", kNotADocument, 0},
                      SeedCase{"odd_elements.xml", "", 4}, SeedCase{"one_point.xml", "", 1},
                      SeedCase{"overflow.xml", kBeyond, 0}, SeedCase{"unclosed.xml", kNotADocument, 0}),
    [](const ::testing::TestParamInfo<SeedCase>& seed) {
      const std::string file = seed.param.file;
      return file.substr(0, file.find('.'));
    });

TEST(ReadFile, FilesThatCannotBeReadAreRefusedWithTheReason) {
  testsupport::TempWorkDir work;
  std::filesystem::create_directory("folder.xml");
  std::string error;
  EXPECT_FALSE(PathResource::FromFile("missing.xml", &error));
  EXPECT_EQ("cannot read file: No such file or directory", error);
  EXPECT_FALSE(PathResource::FromFile("folder.xml", &error));
  EXPECT_EQ("cannot read file: not a regular file", error);
  EXPECT_FALSE(PathResource::FromFile("", &error));
  EXPECT_EQ("cannot read file: No such file or directory", error);

  testsupport::WriteFile("a.xml", runtimetest::PathText({{1, 2}}));
  const std::optional<PathResource> path = PathResource::FromFile("a.xml", &error);
  ASSERT_TRUE(path) << error;
  EXPECT_EQ(std::vector<PathPoint>({{1, 2}}), path->ControlPoints());
}

}  // namespace
