// The Load and Background listings: what is left out, and the byte-wise order.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "PathFileFormat.h"
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

// The Background list offers only names that a path file carries back: a name the reader
// would refuse (a separator or a drive's colon, legal in a file name here) would be saved and
// then lost at the next Load.
TEST_F(ResourceListingTest, ImageListingOffersOnlyNamesAPathFileReadsBack) {
  for (const char* name : {"level.png", "Wall.JPG", "a:b.png", "c\\d.tga", "notes.txt", "x.jpeg", ".bmp"})
    WriteFile(name, "");
  std::filesystem::create_directory("folder.png");
  std::vector<std::string> images = {"stale entry"};
  ListImageFiles(images);
  EXPECT_EQ((std::vector<std::string>{".bmp", "Wall.JPG", "level.png", "x.jpeg"}), images);
  for (const std::string& name : images) {
    const auto text = pathfile::WriteResourceFile(
        {{300.0f, 300.0f}}, pathfile::Frame{{262.0f, 184.0f}, {350.0f, 200.0f}}, PathEnds::Free, name);
    ASSERT_TRUE(text.has_value());
    const auto contents = pathfile::ReadResourceFile(*text);
    ASSERT_TRUE(contents.has_value());
    EXPECT_EQ(name, contents->background) << *text;
  }
}

}  // namespace
