// The background image a path names: a plain file name of the path's folder is taken; a name
// that could reach elsewhere is refused with a message, and the path still reads.
#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

#include "PathFileFormat.h"
#include "PathResource.h"
#include "NamedCases.h"

namespace {

struct NameCase {
  const char* name;
  const char* file;  // the background attribute's value
  bool taken;
};

class BackgroundName : public ::testing::TestWithParam<NameCase> {};

TEST_P(BackgroundName, IsTakenOnlyWhenPlain) {
  const NameCase& c = GetParam();
  const std::string text = std::string("<resource background=\"") + c.file +
                           "\"><Scale>350 200</Scale><ControlPoint>0.5 0.5</ControlPoint></resource>";
  std::string error;
  const std::optional<PathResource> path = PathResource::FromText(text, &error);
  ASSERT_TRUE(path) << error;
  EXPECT_EQ((std::vector<PathPoint>{{350, 200}}), path->ControlPoints());
  EXPECT_EQ(c.taken, pathfile::IsPlainFileName(c.file));
  EXPECT_EQ(c.taken ? c.file : "", path->Background());
  const std::vector<std::string> refusal = {std::string("Refused background: ") + c.file +
                                            " (not a plain file name in the working folder)"};
  EXPECT_EQ(c.taken ? std::vector<std::string>{} : refusal, path->Messages());
}

INSTANTIATE_TEST_SUITE_P(Names, BackgroundName,
                         ::testing::Values(NameCase{"plain", "level.png", true},
                                           NameCase{"spaces", "level 1 (art).PNG", true},
                                           NameCase{"dots_inside_the_name", "level..png", true},
                                           NameCase{"leading_dots", "..level.png", true},
                                           NameCase{"utf8", "\xc3\xa9tage.png", true},
                                           NameCase{"folder_part", "art/level.png", false},
                                           NameCase{"folder_part_backslash", "art\\level.png", false},
                                           NameCase{"trailing_separator", "level.png/", false},
                                           NameCase{"parent", "..", false}, NameCase{"current", ".", false},
                                           NameCase{"parent_folder", "../level.png", false},
                                           NameCase{"back_through_a_folder", "art/../../level.png", false},
                                           NameCase{"absolute", "/tmp/level.png", false},
                                           NameCase{"drive_absolute", "C:\\art\\level.png", false},
                                           NameCase{"drive_relative", "C:level.png", false},
                                           NameCase{"network_share", "\\\\server\\art\\level.png", false}),
                         testsupport::CaseName<NameCase>);

TEST(BackgroundName, NoneOrAnEmptyOneIsNoBackgroundAndNoMessage) {
  for (const char* text : {"<resource><ControlPoint>0 0</ControlPoint></resource>",
                           "<resource background=\"\"><ControlPoint>0 0</ControlPoint></resource>"}) {
    const std::optional<PathResource> path = PathResource::FromText(text, nullptr);
    ASSERT_TRUE(path) << text;
    EXPECT_EQ("", path->Background()) << text;
    EXPECT_TRUE(path->Messages().empty()) << text;
  }
}

}  // namespace
