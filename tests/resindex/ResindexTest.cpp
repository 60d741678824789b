// Runs the resindex program in temporary folders and checks the output.txt it leaves.
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "TestSupport.h"

namespace fs = std::filesystem;
using testsupport::ReadFile;
using testsupport::WriteFile;

namespace {

// Runs resindex in the current folder, behind an optional command prefix; gives its exit code.
int RunResindex(const std::string& prefix = "") {
  const int status = std::system((prefix + "'" RESINDEX_BINARY "'").c_str());
  if (status == -1 || !WIFEXITED(status)) return -1;
  return WEXITSTATUS(status);
}

enum class RunAs { Root, Unprivileged };

// How this test program can run another as root or as an unprivileged user: a command prefix,
// or why it cannot. Root ignores permission bits, so the system itself stops only a program
// that runs without root.
struct Runner {
  std::string prefix;
  std::string unavailable;
};

Runner RunnerFor(RunAs who) {
  const bool root = geteuid() == 0;
  if (who == RunAs::Root) {
    if (root) return {"", ""};
    if (std::system("sudo -n true >/dev/null 2>&1") == 0) return {"sudo -n ", ""};
    return {"", "running a program as root needs root or sudo without a password"};
  }
  if (!root) return {"", ""};
  const std::string prefix = "setpriv --reuid=65534 --regid=65534 --clear-groups ";
  if (std::system((prefix + "true 2>/dev/null").c_str()) != 0) return {"", "setpriv cannot drop root here"};
  return {prefix, ""};
}

struct FolderCase {
  const char* label;
  std::vector<std::string> files;
  std::vector<std::string> folders;
  std::string expected;
};

// Names the case in failure messages instead of dumping its bytes.
void PrintTo(const FolderCase& folderCase, std::ostream* out) { *out << folderCase.label; }

class ResindexFolder : public ::testing::TestWithParam<FolderCase> {};

TEST_P(ResindexFolder, WritesSortedGetResourceLines) {
  testsupport::TempWorkDir work;
  for (const std::string& file : GetParam().files) WriteFile(file, "<resource/>");
  for (const std::string& file : GetParam().files) ASSERT_TRUE(fs::exists(file)) << file;
  for (const std::string& folder : GetParam().folders) fs::create_directory(folder);

  ASSERT_EQ(RunResindex(), 0);
  ASSERT_TRUE(fs::is_regular_file("output.txt"));
  EXPECT_EQ(ReadFile("output.txt"), GetParam().expected);
}

const FolderCase kFolderCases[] = {
    {"EmptyFolderGivesEmptyFile", {}, {}, ""},
    {"NoMatchGivesEmptyFile", {"notes.txt", "a.xml.bak0", "xml", "axml", "b.xmll"}, {"maps"}, ""},
    {"SortsNamesWrittenInOtherOrder",
     {"b.xml", "A.xml"},
     {},
     "void init()\n{\n  GetResource(\"A.xml\");\n  GetResource(\"b.xml\");\n}\n"},
    {"UpperCaseBeforeLowerCase",
     {"alpha.xml", "Zeta.xml"},
     {},
     "void init()\n{\n  GetResource(\"Zeta.xml\");\n  GetResource(\"alpha.xml\");\n}\n"},
    {"PrefixSortsFirst",
     {"a.xml2.xml", "a.xml", "A.xml"},
     {},
     "void init()\n{\n  GetResource(\"A.xml\");\n  GetResource(\"a.xml\");\n"
     "  GetResource(\"a.xml2.xml\");\n}\n"},
    {"ExtensionMatchIgnoresCase",
     {"upper.XML", "mixed.Xml", "lower.xml", "notes.txt", ".xml"},
     {},
     "void init()\n{\n  GetResource(\".xml\");\n  GetResource(\"lower.xml\");\n"
     "  GetResource(\"mixed.Xml\");\n  GetResource(\"upper.XML\");\n}\n"},
    {"SubfolderIsListedLikeAFile",
     {"path.xml"},
     {"maps.xml", "textures"},
     "void init()\n{\n  GetResource(\"maps.xml\");\n  GetResource(\"path.xml\");\n}\n"},
    {"OutputFileIsNotListed",
     {"output.txt", "only.xml"},
     {},
     "void init()\n{\n  GetResource(\"only.xml\");\n}\n"},
    {"QuoteBackslashAndNewlineAreEscaped",
     {"say\"hi\".xml", "back\\slash.xml", "line\nbreak.xml"},
     {},
     "void init()\n{\n  GetResource(\"back\\\\slash.xml\");\n"
     "  GetResource(\"line\\nbreak.xml\");\n  GetResource(\"say\\\"hi\\\".xml\");\n}\n"},
    {"OtherControlCharactersAreOctal",
     {"tab\t.xml", "bell\a7.xml", "del\x7f.xml", "cr\r.xml"},
     {},
     "void init()\n{\n  GetResource(\"bell\\0077.xml\");\n  GetResource(\"cr\\r.xml\");\n"
     "  GetResource(\"del\\177.xml\");\n  GetResource(\"tab\\t.xml\");\n}\n"},
    {"Utf8AndTrigraphs",
     {"caf\xc3\xa9.xml",
      "what?"
      "?=.xml",
      "one?.xml"},
     {},
     "void init()\n{\n  GetResource(\"caf\xc3\xa9.xml\");\n  GetResource(\"one?.xml\");\n"
     "  GetResource(\"what?\\?=.xml\");\n}\n"},
};

INSTANTIATE_TEST_SUITE_P(Folders, ResindexFolder, ::testing::ValuesIn(kFolderCases),
                         [](const auto& test) { return std::string(test.param.label); });

TEST(Resindex, SecondRunReplacesTheFile) {
  testsupport::TempWorkDir work;
  WriteFile("a.xml", "");
  WriteFile("b.xml", "");
  ASSERT_EQ(RunResindex(), 0);
  fs::remove("b.xml");
  ASSERT_EQ(RunResindex(), 0);
  EXPECT_EQ(ReadFile("output.txt"), "void init()\n{\n  GetResource(\"a.xml\");\n}\n");

  fs::remove("a.xml");
  ASSERT_EQ(RunResindex(), 0);
  EXPECT_EQ(ReadFile("output.txt"), "");
}

// What the permission bits protect stays as it is, whoever runs the tool.
struct ProtectedCase {
  const char* label;
  RunAs who;
  fs::perms output;  // of an output.txt holding "old text\n"; perms::unknown: there is none
  fs::perms folder;
  std::string expected;  // in output.txt afterwards; "<none>": there is none
};

void PrintTo(const ProtectedCase& protectedCase, std::ostream* out) { *out << protectedCase.label; }

class ResindexProtected : public ::testing::TestWithParam<ProtectedCase> {};

TEST_P(ResindexProtected, KeepsWhatTheBitsProtect) {
  const ProtectedCase& c = GetParam();
  const Runner runner = RunnerFor(c.who);
  if (!runner.unavailable.empty()) GTEST_SKIP() << runner.unavailable;
  testsupport::TempWorkDir work;
  WriteFile("a.xml", "");
  if (c.output != fs::perms::unknown) {
    WriteFile("output.txt", "old text\n");
    fs::permissions("output.txt", c.output);
  }
  fs::permissions(".", c.folder);

  EXPECT_EQ(RunResindex(runner.prefix), 0);
  fs::permissions(".", fs::perms::owner_all);
  EXPECT_EQ(fs::exists("output.txt") ? ReadFile("output.txt") : "<none>", c.expected);
}

constexpr fs::perms kReadOnly = fs::perms::owner_read | fs::perms::group_read | fs::perms::others_read;
constexpr fs::perms kOpenFolder = fs::perms::owner_all | fs::perms::group_all | fs::perms::others_all;
constexpr fs::perms kReadOnlyFolder = fs::perms::owner_read | fs::perms::owner_exec | fs::perms::group_read |
                                      fs::perms::group_exec | fs::perms::others_read | fs::perms::others_exec;
const std::string kListing = "void init()\n{\n  GetResource(\"a.xml\");\n}\n";

const ProtectedCase kProtectedCases[] = {
    {"RootKeepsAReadOnlyOutput", RunAs::Root, kReadOnly, kOpenFolder, "old text\n"},
    {"UserKeepsAReadOnlyOutput", RunAs::Unprivileged, kReadOnly, kOpenFolder, "old text\n"},
    // Any write bit lets root write, as the system would let someone.
    {"RootReplacesAnOutputItsGroupMayWrite", RunAs::Root, kReadOnly | fs::perms::group_write, kOpenFolder,
     kListing},
    {"RootMakesNoOutputInAReadOnlyFolder", RunAs::Root, fs::perms::unknown, kReadOnlyFolder, "<none>"},
    // The folder's bits guard its entries, not the content of a file that may be written.
    {"RootReplacesAWritableOutputInAReadOnlyFolder", RunAs::Root, kReadOnly | fs::perms::owner_write,
     kReadOnlyFolder, kListing},
};

INSTANTIATE_TEST_SUITE_P(Bits, ResindexProtected, ::testing::ValuesIn(kProtectedCases),
                         [](const auto& test) { return std::string(test.param.label); });

TEST(Resindex, UnlistableFolderGivesEmptyFile) {
  const Runner runner = RunnerFor(RunAs::Unprivileged);
  if (!runner.unavailable.empty()) GTEST_SKIP() << runner.unavailable;
  testsupport::TempWorkDir work;
  WriteFile("a.xml", "");
  // Entering and creating files is allowed, reading the folder's entries is not.
  fs::permissions(
      ".", fs::perms::owner_write | fs::perms::owner_exec | fs::perms::others_write | fs::perms::others_exec);

  EXPECT_EQ(RunResindex(runner.prefix), 0);
  fs::permissions(".", fs::perms::owner_all);
  ASSERT_TRUE(fs::is_regular_file("output.txt"));
  EXPECT_EQ(ReadFile("output.txt"), "");
}

// The file is meant to be compiled: each literal must give back the name it was made from.
TEST(Resindex, OutputCompilesAndYieldsTheNames) {
  testsupport::TempWorkDir work;
  const std::vector<std::string> sorted = {
      "\x01"
      "1.xml",
      "Q\"\\\"\\.xml",
      "a\\x41b.xml",
      "bad\");.xml",
      "tri?"
      "?=?"
      "?(?"
      "?'.xml",
      "z\n\t\r.xml"};
  for (const std::string& name : sorted) WriteFile(name, "");
  for (const std::string& name : sorted) ASSERT_TRUE(fs::exists(name)) << name;
  ASSERT_EQ(RunResindex(), 0);

  WriteFile("harness.cpp",
            "#include <cstdio>\n#include <cstring>\n"
            "static void GetResource(const char* name) { std::fwrite(name, 1, std::strlen(name) + 1,"
            " stdout); }\n#include \"output.txt\"\nint main() { init(); }\n");
  // Trigraphs on: the text must stay valid where a compiler still reads them.
  const std::string build =
      std::string("'") + RESINDEX_TEST_CXX + "' -std=c++11 -trigraphs -Wall -Werror -o harness harness.cpp";
  ASSERT_EQ(std::system(build.c_str()), 0) << ReadFile("output.txt");
  ASSERT_EQ(std::system("./harness > names.bin"), 0);

  std::string expected;
  for (const std::string& name : sorted) expected += name + '\0';
  EXPECT_EQ(ReadFile("names.bin"), expected);
}

}  // namespace
