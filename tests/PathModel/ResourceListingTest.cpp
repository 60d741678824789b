// The Load listing: what is left out, and the byte-wise order.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "ResourceListing.h"
#include "TestSupport.h"

namespace {

using testsupport::WriteFile;

// Each case lists a fresh folder of its own.
class ResourceListingTest : public ::testing::Test {
protected:
  testsupport::TempWorkDir work;
};

std::vector<std::string> Listed(const std::string& prefix = "") {
  std::vector<std::string> names = {"stale entry"};
  ListResourceFiles(prefix, names);
  return names;
}

TEST_F(ResourceListingTest, ListingDropsBinariesAndShortNamesAndSortsByBytes) {
  for (const char* name :
       {"path.xml", "Path2.xml", "abc", "Demo.exe", "tools.dll", "Demo.pdb", "x.xml.bak0", "b.db", "a.xml",
        "FILE.DLL", "a.dll", "x.Exe", "_under", "~tilde", "Zeta", "zeta5", "\xc3\xa9t\xc3\xa9s"})
    WriteFile(name, "");
  std::filesystem::create_directory("meshes");
  std::filesystem::create_directory("..dir");
  EXPECT_EQ(
      (std::vector<std::string>{"..dir", "FILE.DLL", "Path2.xml", "_under", "a.xml", "meshes", "path.xml",
                                "x.Exe", "x.xml.bak0", "zeta5", "~tilde", "\xc3\xa9t\xc3\xa9s"}),
      Listed());
}

TEST_F(ResourceListingTest, ListingOfAnEmptyOrMissingFolderIsEmpty) {
  EXPECT_TRUE(Listed().empty());
  EXPECT_TRUE(Listed("no-such-folder/").empty());
  std::filesystem::create_directory("sub");
  WriteFile("sub/inner.xml", "");
  WriteFile("outer.xml", "");
  EXPECT_EQ((std::vector<std::string>{"inner.xml"}), Listed("sub/"));
}

}  // namespace
