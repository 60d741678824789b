// Durable saves: the order of flushes and renames, seen at the C library calls themselves,
// and replacing the file a symbolic link points to while the link stays.
#include <dlfcn.h>     // dlsym: the C library's own fsync and rename behind the test's
#include <sys/stat.h>  // the permission bits

#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

#include "PathFileTestSupport.h"
#include "SafeFile.h"
#include "NamedCases.h"

namespace {

std::vector<std::string>* gCalls = nullptr;  // the calls seen while a test records them

// A file name as the record shows it: the random part of a temporary name as '*', and the
// working folder as "./".
std::string Shown(const std::filesystem::path& path) {
  if (std::filesystem::is_directory(path)) return "./";
  std::string name = path.filename().string();
  const std::size_t temp = name.find(".tmp");
  if (temp != std::string::npos) name = name.substr(0, temp + 4) + "*";
  return name;
}

std::string PathOfDescriptor(int fd) {
  std::error_code error;
  return Shown(std::filesystem::read_symlink("/proc/self/fd/" + std::to_string(fd), error));
}

template <typename Function>
Function Real(const char* name) {
  return reinterpret_cast<Function>(dlsym(RTLD_NEXT, name));
}

}  // namespace

// The test program's own fsync, rename and link stand in front of the C library's, so that the
// path library's calls pass through them.
extern "C" int fsync(int fd) {
  static const auto real = Real<int (*)(int)>("fsync");
  if (gCalls != nullptr) gCalls->push_back("fsync " + PathOfDescriptor(fd));
  return real(fd);
}

extern "C" int rename(const char* from, const char* to) noexcept {
  static const auto real = Real<int (*)(const char*, const char*)>("rename");
  if (gCalls != nullptr) gCalls->push_back("rename " + Shown(from) + " " + Shown(to));
  return real(from, to);
}

extern "C" int link(const char* from, const char* to) noexcept {
  static const auto real = Real<int (*)(const char*, const char*)>("link");
  if (gCalls != nullptr) gCalls->push_back("link " + Shown(from) + " " + Shown(to));
  return real(from, to);
}

namespace {

using pathtest::FolderEntries;
using pathtest::kFourPoints;
using pathtest::PathFileTest;
using testsupport::ReadFile;
using testsupport::WriteFile;

class SafeFileTest : public PathFileTest {
protected:
  void TearDown() override { gCalls = nullptr; }
  std::vector<std::string> calls;
};

TEST_F(SafeFileTest, EveryFileIsFlushedBeforeItTakesItsNameAndTheFolderAfter) {
  WriteFile("a.xml", ReadFile(PATH_GOLDEN_DIR "/four_points.xml"));
  SetWindowPoints({{300, 200}, {400, 300}});
  gCalls = &calls;
  EXPECT_EQ("", SaveAs("a"));
  gCalls = nullptr;
  EXPECT_EQ((std::vector<std::string>{
                "fsync a.xml.bak0.tmp*", "link a.xml.bak0.tmp* a.xml.bak0", "fsync ./",  // the backup, whole
                "fsync a.xml.tmp*", "rename a.xml.tmp* a.xml", "fsync ./"  // the file, then the rename
            }),
            calls);
}

// A new file (a recovery file, a backup) takes its name only when it is whole, and never that
// of a file already there; no temporary file stays behind either way.
TEST_F(SafeFileTest, ANewFileTakesItsNameWholeOrNotAtAll) {
  gCalls = &calls;
  EXPECT_EQ(safefile::CreateResult::Created, safefile::CreateNewFile("a.xml.unsaved0", "new"));
  EXPECT_EQ(safefile::CreateResult::Exists, safefile::CreateNewFile("a.xml.unsaved0", "other"));
  gCalls = nullptr;
  EXPECT_EQ((std::vector<std::string>{"fsync a.xml.unsaved0.tmp*", "link a.xml.unsaved0.tmp* a.xml.unsaved0",
                                      "fsync ./"}),
            calls);
  EXPECT_EQ("new", ReadFile("a.xml.unsaved0"));
  EXPECT_EQ((std::vector<std::string>{"a.xml.unsaved0"}), FolderEntries());
}

struct LinkCase {
  const char* name;
  bool targetExists;
};

class LinkChain : public SafeFileTest, public ::testing::WithParamInterface<LinkCase> {};

TEST_P(LinkChain, IsKeptAndTheFileAtItsEndReplaced) {
  const LinkCase& c = GetParam();
  const std::string target = std::string(c.name) + "-target.xml";
  if (c.targetExists) WriteFile(target, "old");
  std::filesystem::create_directory(c.name);
  std::filesystem::create_symlink("../" + target, std::string(c.name) + "/inner.xml");
  std::filesystem::create_symlink(std::string(c.name) + "/inner.xml", std::string(c.name) + ".xml");
  EXPECT_TRUE(safefile::CanReplace(std::string(c.name) + ".xml"));
  EXPECT_TRUE(safefile::ReplaceFile(std::string(c.name) + ".xml", "new"));
  EXPECT_TRUE(std::filesystem::is_symlink(std::string(c.name) + ".xml"));
  EXPECT_TRUE(std::filesystem::is_symlink(std::string(c.name) + "/inner.xml"));
  EXPECT_EQ("new", ReadFile(target));
  EXPECT_EQ((std::vector<std::string>{c.name, target, std::string(c.name) + ".xml"}), FolderEntries());
}

INSTANTIATE_TEST_SUITE_P(Targets, LinkChain,
                         ::testing::Values(LinkCase{"existing", true}, LinkCase{"dangling", false}),
                         testsupport::CaseName<LinkCase>);

// A loop of links names no file: refused, and nothing is made.
TEST_F(SafeFileTest, ALoopOfLinksIsRefused) {
  std::filesystem::create_symlink("loop2.xml", "loop1.xml");
  std::filesystem::create_symlink("loop1.xml", "loop2.xml");
  EXPECT_FALSE(safefile::CanReplace("loop1.xml"));
  EXPECT_FALSE(safefile::ReplaceFile("loop1.xml", "new"));
  EXPECT_EQ((std::vector<std::string>{"loop1.xml", "loop2.xml"}), FolderEntries());
}

}  // namespace
