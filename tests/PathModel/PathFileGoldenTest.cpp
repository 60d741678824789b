// The path file format against golden files: texts written from named paths, and what the
// reader takes from named texts (each beside a .expected listing of its values).
#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <vector>

#include "CubicBSpline.h"
#include "PathFileFormat.h"
#include "PathFrame.h"
#include "TestSupport.h"
#include "NamedCases.h"

namespace {

std::string Golden(const std::string& name) { return testsupport::ReadFile(PATH_GOLDEN_DIR "/" + name); }

std::string Number(float value) {
  char text[32];
  std::snprintf(text, sizeof text, "%.9g", static_cast<double>(value));
  return text;
}

std::string Line(const char* what, const PathPoint& p) {
  return std::string(what) + " " + Number(p.x) + " " + Number(p.y) + "\n";
}

// Everything the reader made of a text, one value per line, exact to the bit.
std::string Listing(const std::string& text) {
  const PathPoint previousStart{0.25f, 0.75f};  // what a file without SplineStart keeps
  const std::optional<pathfile::Contents> contents = pathfile::ReadResourceFile(text, previousStart);
  if (!contents) return "refused\n";
  std::string listing = contents->background.empty() ? "" : "Background " + contents->background + "\n";
  listing += Line("Scale", contents->scale) + Line("WorldPos", contents->worldPos) +
             Line("SplineStart", contents->splineStart);
  for (const PathPoint& p : contents->controlPoints) listing += Line("ControlPoint", p);
  if (contents->ends != PathEnds::Free)
    listing += contents->ends == PathEnds::Pinned ? "Ends pinned\n" : "Ends loop\n";
  for (const std::string& message : contents->messages) listing += "message " + message + "\n";
  const auto positions = pathfile::WindowPositions(*contents);
  if (!positions) return listing + "window positions refused\n";
  for (const PathPoint& p : *positions) listing += Line("Window", p);
  return listing;
}

class ReadGolden : public ::testing::TestWithParam<const char*> {};

TEST_P(ReadGolden, GivesTheExpectedValues) {
  const std::string name = GetParam();
  EXPECT_EQ(Golden(name + ".expected"), Listing(Golden(name + ".xml")));
}

INSTANTIATE_TEST_SUITE_P(Files, ReadGolden,
                         ::testing::Values("four_points", "one_point", "three_points",
                                           "rotation_and_scale_baked", "unknown_tags", "missing_spline_start",
                                           "hostile_numbers", "beyond_float_range", "not_xml", "no_element",
                                           "loop", "pinned", "unknown_ends", "four_points_over_background",
                                           "background_name_with_markup", "refused_background",
                                           "loop_over_background"),
                         [](const ::testing::TestParamInfo<const char*>& c) { return std::string(c.param); });

// A path given as window points of the model, placed with a rotation and a scale.
struct WriteCase {
  const char* name;
  std::vector<vec2> points;  // local
  float rotation;
  float scale;
  PathEnds ends = PathEnds::Free;
  const char* background = "";
};

class WriteGolden : public ::testing::TestWithParam<WriteCase> {};

TEST_P(WriteGolden, GivesTheGoldenText) {
  const WriteCase& c = GetParam();
  CubicBSpline spline;
  spline.mControlPoints = c.points;
  spline.SetRotation(c.rotation);
  spline.SetScale(c.scale);
  std::vector<PathPoint> window;
  for (const vec2& w : spline.WindowPoints()) window.push_back(PathPoint{w.x, w.y});
  const std::optional<std::string> text =
      pathfile::WriteResourceFile(window, FileFrame(), c.ends, c.background);
  ASSERT_TRUE(text.has_value());
  EXPECT_EQ(Golden(std::string(c.name) + ".xml"), *text);
}

INSTANTIATE_TEST_SUITE_P(
    Paths, WriteGolden,
    ::testing::Values(
        WriteCase{"four_points", {{262, 184}, {612, 384}, {962, 584}, {962, 184}}, 0.0f, 1.0f},
        WriteCase{"one_point", {{612, 384}}, 0.0f, 1.0f},
        WriteCase{"three_points", {{300.5f, 200.25f}, {401, 517}, {733, 250}}, 0.0f, 1.0f},
        WriteCase{"rotation_and_scale_baked",
                  {{400, 100}, {450, 150}, {480, 260}, {420, 330}, {380, 240}},
                  30.0f,
                  1.5f},
        // Four corners of a room, gone round.
        WriteCase{"loop", {{312, 234}, {912, 234}, {912, 534}, {312, 534}}, 0.0f, 1.0f, PathEnds::Loop},
        // The curve starts on the first point: SplineStart is that point, and the
        // point itself is written as 0 0.
        WriteCase{"pinned", {{300.5f, 200.25f}, {401, 517}, {733, 250}}, 0.0f, 1.0f, PathEnds::Pinned},
        WriteCase{"four_points_over_background",
                  {{262, 184}, {612, 384}, {962, 584}, {962, 184}},
                  0.0f,
                  1.0f,
                  PathEnds::Free,
                  "level.png"},
        WriteCase{"background_name_with_markup",
                  {{612, 384}},
                  0.0f,
                  1.0f,
                  PathEnds::Free,
                  "Level 1 & \"Art\" <v2>\tx.png"},
        // Both attributes: the ends first.
        WriteCase{"loop_over_background",
                  {{312, 234}, {912, 234}, {912, 534}, {312, 534}},
                  0.0f,
                  1.0f,
                  PathEnds::Loop,
                  "level.png"}),
    testsupport::CaseName<WriteCase>);

TEST(WriteFormat, APathPlacedBeyondTheFloatRangeHasNoText) {
  CubicBSpline spline;
  spline.mControlPoints = {{262, 184}, {612, 384}};
  spline.SetScale(1e38f);
  std::vector<PathPoint> window;
  for (const vec2& w : spline.WindowPoints()) window.push_back(PathPoint{w.x, w.y});
  EXPECT_FALSE(pathfile::WriteResourceFile(window, FileFrame()).has_value());
}

}  // namespace
