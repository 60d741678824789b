// The game's registry: GetResource loads a file of the working folder under its name, reports
// a failure in one line, and FindPath gives the path back.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "PathResource.h"
#include "RuntimeTestSupport.h"
#include "TestSupport.h"

namespace {

using runtimetest::PathText;
using testsupport::CaptureStdout;
using testsupport::WriteFile;

// The registry lives for the whole program: each test uses names of its own.
class Registry : public ::testing::Test {
protected:
  testsupport::TempWorkDir work;
};

TEST_F(Registry, LoadsAFileUnderItsNameAndFindsIt) {
  WriteFile("found.xml", PathText({{0, 0}, {10, 0}, {20, 0}, {30, 0}}));
  CaptureStdout output;
  EXPECT_TRUE(GetResource("found.xml"));
  EXPECT_EQ("", output.Text());
  const PathResource* path = FindPath("found.xml");
  ASSERT_NE(nullptr, path);
  EXPECT_EQ(4u, path->ControlPoints().size());
  EXPECT_FLOAT_EQ(10.0f, path->Length());
  EXPECT_EQ(nullptr, FindPath("./found.xml"));
  EXPECT_EQ(nullptr, FindPath("never-loaded.xml"));
}

struct FailureCase {
  const char* name;
  const char* file;
  const char* content;  // null: no such file
  const char* line;
};

class RegistryFailure : public Registry, public ::testing::WithParamInterface<FailureCase> {};

TEST_P(RegistryFailure, IsOneLineWithTheNameAndTheReason) {
  const FailureCase& c = GetParam();
  if (c.content != nullptr) WriteFile(c.file, c.content);
  CaptureStdout output;
  EXPECT_FALSE(GetResource(c.file));
  EXPECT_EQ(c.line, output.Text());
  EXPECT_EQ(nullptr, FindPath(c.file));
}

INSTANTIATE_TEST_SUITE_P(
    Files, RegistryFailure,
    ::testing::Values(
        FailureCase{"missing", "missing.xml", nullptr,
                    "Failed to load file: missing.xml (cannot read file: No such file or directory)\n"},
        FailureCase{"not_a_document", "broken.xml", "<resource>",
                    "Failed to load file: broken.xml (not an XML document with a root element)\n"},
        FailureCase{"line_break_in_the_name", "two\nlines.xml", nullptr,
                    "Failed to load file: two?lines.xml (cannot read file: No such file or directory)\n"}),
    testsupport::CaseName<FailureCase>);

TEST_F(Registry, NoNameIsAFailureWithAnEmptyName) {
  CaptureStdout output;
  EXPECT_FALSE(GetResource(nullptr));
  EXPECT_EQ("Failed to load file:  (cannot read file: No such file or directory)\n", output.Text());
}

// A load of the same name again updates the path the earlier pointer shows; a load that
// fails keeps it.
TEST_F(Registry, LoadingANameAgainUpdatesItsPathInPlace) {
  WriteFile("again.xml", PathText({{0, 0}, {10, 0}, {20, 0}, {30, 0}}));
  ASSERT_TRUE(GetResource("again.xml"));
  const PathResource* path = FindPath("again.xml");

  WriteFile("again.xml", PathText({{0, 0}, {10, 0}, {20, 0}, {30, 0}, {40, 0}}));
  ASSERT_TRUE(GetResource("again.xml"));
  EXPECT_EQ(path, FindPath("again.xml"));
  EXPECT_EQ(5u, path->ControlPoints().size());

  WriteFile("again.xml", "not a path");
  CaptureStdout output;
  EXPECT_FALSE(GetResource("again.xml"));
  EXPECT_EQ(path, FindPath("again.xml"));
  EXPECT_EQ(5u, path->ControlPoints().size());
}

}  // namespace
