// The whole-file reader: every byte of a regular file, and the reason for whatever else.
#include <gtest/gtest.h>

#include <sys/stat.h>  // mkfifo, chmod
#include <unistd.h>    // geteuid

#include <filesystem>
#include <functional>
#include <string>

#include "TestSupport.h"
#include "WholeFile.h"
#include "NamedCases.h"

namespace {

TEST(WholeFile, ReadsEveryByteOfAFileOfAnySize) {
  testsupport::TempWorkDir work;
  // Bytes of every value, over several reads of the reader's buffer, and an empty file.
  std::string bytes;
  for (int i = 0; i < 200000; ++i) bytes.push_back(static_cast<char>(i * 7 % 256));
  testsupport::WriteFile("big.xml", bytes);
  testsupport::WriteFile("empty.xml", "");
  std::string out = "left over", reason = "unchanged";
  ASSERT_TRUE(wholefile::Read("big.xml", out, &reason));
  EXPECT_EQ(bytes, out);
  EXPECT_EQ("unchanged", reason);
  ASSERT_TRUE(wholefile::Read("empty.xml", out));
  EXPECT_EQ("", out);
}

struct RefusedCase {
  const char* name;
  std::function<void()> make;  // makes "x.xml", or not
  const char* reason;
};

class RefusedFile : public ::testing::TestWithParam<RefusedCase> {};

TEST_P(RefusedFile, GivesNothingAndTheReason) {
  testsupport::TempWorkDir work;
  GetParam().make();
  std::string out = "left over", reason;
  EXPECT_FALSE(wholefile::Read("x.xml", out, &reason));
  EXPECT_EQ(GetParam().reason, reason);
  EXPECT_EQ("", out);
}

INSTANTIATE_TEST_SUITE_P(
    Files, RefusedFile,
    ::testing::Values(
        RefusedCase{"missing", [] {}, "No such file or directory"},
        RefusedCase{"folder", [] { std::filesystem::create_directory("x.xml"); }, "not a regular file"},
        // A pipe nobody writes to: refused at once rather than waited on.
        RefusedCase{"pipe", [] { ASSERT_EQ(0, mkfifo("x.xml", 0600)); }, "not a regular file"},
        RefusedCase{"dangling_link", [] { std::filesystem::create_symlink("gone.xml", "x.xml"); },
                    "No such file or directory"}),
    testsupport::CaseName<RefusedCase>);

TEST(WholeFile, AnUnreadableFileGivesTheSystemsReason) {
  if (geteuid() == 0) GTEST_SKIP() << "root reads a file whatever its permission bits say";
  testsupport::TempWorkDir work;
  testsupport::WriteFile("x.xml", "<resource/>");
  ASSERT_EQ(0, chmod("x.xml", 0));
  std::string out, reason;
  EXPECT_FALSE(wholefile::Read("x.xml", out, &reason));
  EXPECT_EQ("Permission denied", reason);
}

}  // namespace
