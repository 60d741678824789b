// Numbered backups: when they are made, under which name, and with what content.
#include <unistd.h>  // chdir into the tiny disk

#include <cstdio>
#include <cstdlib>
#include <functional>

#include <tinyxml2.h>

#include "PathFiles.h"
#include "PathFileTestSupport.h"
#include "TinyDisk.h"
#include "NamedCases.h"

namespace {

using pathtest::FolderEntries;
using pathtest::kFourPoints;
using pathtest::PathFileTest;
using testsupport::ReadFile;
using testsupport::WriteFile;

// The golden file as the XML library prints it back: four spaces of indent per level.
const char* const kFourPointsPrinted =
    "<resource>\n"
    "    <Scale>350 200</Scale>\n"
    "    <WorldPos>262 184</WorldPos>\n"
    "    <SplineStart>0.5 0.5</SplineStart>\n"
    "    <ControlPoint>-0.5 -0.5</ControlPoint>\n"
    "    <ControlPoint>0 0</ControlPoint>\n"
    "    <ControlPoint>0.5 0.5</ControlPoint>\n"
    "    <ControlPoint>0.5 -0.5</ControlPoint>\n"
    "</resource>\n";

TEST_F(PathFileTest, ThreeSavesGiveNoBackupThenBak0ThenBak1) {
  SetWindowPoints(kFourPoints);
  SaveAs("a");
  EXPECT_EQ((std::vector<std::string>{"a.xml"}), FolderEntries());
  SaveAs("a");
  EXPECT_EQ((std::vector<std::string>{"a.xml", "a.xml.bak0"}), FolderEntries());
  spline.TranslateAll(vec2(7.0f, 0.0f));
  SaveAs("a");
  EXPECT_EQ((std::vector<std::string>{"a.xml", "a.xml.bak0", "a.xml.bak1"}), FolderEntries());
  EXPECT_EQ(kFourPointsPrinted, ReadFile("a.xml.bak0"));
  EXPECT_EQ(kFourPointsPrinted, ReadFile("a.xml.bak1"));
  EXPECT_EQ((std::vector<std::string>{"a.xml", "a.xml.bak0", "a.xml.bak1"}), files.mFilenames);
}

TEST_F(PathFileTest, ADocumentIsBackedUpAsTheLibraryPrintsIt) {
  WriteFile("p.xml", "<?xml version=\"1.0\"?><path><a>1 2</a><!-- note --><b/></path>");
  SetWindowPoints(kFourPoints);
  SaveAs("p");
  EXPECT_EQ(
      "<?xml version=\"1.0\"?>\n"
      "<path>\n"
      "    <a>1 2</a>\n"
      "    <!-- note -->\n"
      "    <b/>\n"
      "</path>\n",
      ReadFile("p.xml.bak0"));
}

std::vector<vec2> ManyPoints(int count) {
  std::vector<vec2> points;
  for (int i = 0; i < count; ++i)
    points.push_back(vec2(262.0f + 0.37f * static_cast<float>(i), 184.0f + 0.11f * i));
  return points;
}

// What the XML library makes of a file: its indented printing, or the bytes themselves when
// it does not parse.
std::string LibraryBackupOf(const std::string& text) {
  tinyxml2::XMLDocument document;
  if (document.Parse(text.data(), text.size()) != tinyxml2::XML_SUCCESS) return text;
  tinyxml2::XMLPrinter printer(nullptr, false);
  document.Print(&printer);
  return std::string(printer.CStr(), static_cast<std::size_t>(printer.CStrSize() - 1));
}

// The name of a parameterised case: its `name` field.
// Files in the editor's own form and ones that differ from it in one detail are all kept as
// the library prints them.
struct NearlyWrittenCase {
  const char* name;
  const char* text;  // null: a file as the editor writes it, 60 points turned by 17 degrees
};

class NearlyWrittenForm : public PathFileTest, public ::testing::WithParamInterface<NearlyWrittenCase> {};

TEST_P(NearlyWrittenForm, IsBackedUpAsTheLibraryPrintsIt) {
  std::string previous;
  if (GetParam().text != nullptr) {
    previous = GetParam().text;
  } else {
    SetWindowPoints(ManyPoints(60));
    spline.SetRotation(17.0f);
    SaveAs("written");
    previous = ReadFile("written.xml");
  }
  SetWindowPoints(kFourPoints);
  WriteFile("n.xml", previous);
  SaveAs("n");
  EXPECT_EQ(LibraryBackupOf(previous), ReadFile("n.xml.bak0"));
}

INSTANTIATE_TEST_SUITE_P(
    Forms, NearlyWrittenForm,
    ::testing::Values(
        NearlyWrittenCase{"written_by_the_editor", nullptr},
        NearlyWrittenCase{"one_element", "<resource>\n  <Scale>350 200</Scale>\n</resource>\n"},
        NearlyWrittenCase{"crlf_line_ends", "<resource>\r\n  <Scale>350 200</Scale>\r\n</resource>\r\n"},
        NearlyWrittenCase{"tab_indent", "<resource>\n\t<Scale>350 200</Scale>\n</resource>\n"},
        NearlyWrittenCase{"four_space_indent", "<resource>\n    <Scale>350 200</Scale>\n</resource>\n"},
        NearlyWrittenCase{"blank_value", "<resource>\n  <Scale>  </Scale>\n</resource>\n"},
        NearlyWrittenCase{"spaced_value", "<resource>\n  <Scale> 1  -2e+07 </Scale>\n</resource>\n"},
        NearlyWrittenCase{"entity", "<resource>\n  <Scale>1 &amp; 2</Scale>\n</resource>\n"},
        NearlyWrittenCase{"attribute", "<resource>\n  <Scale a=\"1\">350 200</Scale>\n</resource>\n"},
        NearlyWrittenCase{"no_last_line_end", "<resource>\n  <Scale>350 200</Scale>\n</resource>"},
        NearlyWrittenCase{"blank_last_line", "<resource>\n  <Scale>350 200</Scale>\n</resource>\n\n"},
        NearlyWrittenCase{"second_root", "<resource>\n  <Scale>350 200</Scale>\n</resource>\n<more/>\n"},
        NearlyWrittenCase{"mismatched_root_end", "<resource>\n  <Scale>350 200</Scale>\n</resourcex>\n"},
        NearlyWrittenCase{"mismatched_element_end", "<resource>\n  <Scale>350 200</Scal>\n</resource>\n"},
        NearlyWrittenCase{"empty_root", "<resource>\n</resource>\n"},
        NearlyWrittenCase{"empty_element",
                          "<resource>\n  <Scale>350 200</Scale>\n  <Scale/>\n</resource>\n"}),
    testsupport::CaseName<NearlyWrittenCase>);

// A previous file that is not XML is kept byte for byte before it is overwritten.
struct UnparsedCase {
  const char* name;
  std::string text;
};

class UnparsedFile : public PathFileTest, public ::testing::WithParamInterface<UnparsedCase> {};

TEST_P(UnparsedFile, IsStillBackedUp) {
  SetWindowPoints(kFourPoints);
  WriteFile("f.xml", GetParam().text);
  SaveAs("f");
  EXPECT_EQ(GetParam().text, ReadFile("f.xml.bak0"));
  EXPECT_EQ(ReadFile(PATH_GOLDEN_DIR "/four_points.xml"), ReadFile("f.xml"));
}

INSTANTIATE_TEST_SUITE_P(Files, UnparsedFile,
                         ::testing::Values(UnparsedCase{"plain_text", "not xml at all <"},
                                           UnparsedCase{"empty", ""},
                                           UnparsedCase{"unclosed_element", "<resource><open></resource>"},
                                           UnparsedCase{"binary", std::string("bin\0ary\xff", 8)}),
                         testsupport::CaseName<UnparsedCase>);

// Whatever holds a candidate name, parsing or not, is skipped and left as it is.
TEST_F(PathFileTest, ABackupNeverOverwritesAnExistingFile) {
  WriteFile("a.xml", "<resource/>");
  WriteFile("a.xml.bak0", "");  // empty: does not parse
  WriteFile("a.xml.bak1", "garbage <<");
  WriteFile("a.xml.bak2", "<kept/>");
  std::filesystem::create_directory("a.xml.bak3");
  std::filesystem::create_symlink("nowhere", "a.xml.bak4");
  SetWindowPoints(kFourPoints);
  SaveAs("a");
  EXPECT_EQ("", ReadFile("a.xml.bak0"));
  EXPECT_EQ("garbage <<", ReadFile("a.xml.bak1"));
  EXPECT_EQ("<kept/>", ReadFile("a.xml.bak2"));
  EXPECT_TRUE(std::filesystem::is_directory("a.xml.bak3"));
  EXPECT_TRUE(std::filesystem::is_symlink("a.xml.bak4"));
  EXPECT_FALSE(std::filesystem::exists("nowhere"));
  EXPECT_EQ("<resource/>\n", ReadFile("a.xml.bak5"));
}

TEST_F(PathFileTest, NothingToKeepMakesNoBackup) {
  EXPECT_TRUE(BackupExisting("missing.xml"));
  std::filesystem::create_directory("folder.xml");
  EXPECT_TRUE(BackupExisting("folder.xml"));
  EXPECT_EQ((std::vector<std::string>{"folder.xml"}), FolderEntries());
}

// Runs `scenario` in a child process with the working folder on a tmpfs of `kilobytes`; skips,
// with the reason, where this machine gives no right to mount one.
// The scenario returns an empty string on success, else what went wrong.
void OnTinyDisk(int kilobytes, const std::function<std::string()>& scenario) {
  const std::filesystem::path folder = std::filesystem::current_path();
  const std::string refusal = testsupport::TinyDiskRefusal(folder);
  if (!refusal.empty()) GTEST_SKIP() << "no tmpfs could be mounted: " << refusal;
  EXPECT_EXIT(
      {
        const std::string mounted = testsupport::MountTinyDisk(folder, kilobytes);
        if (!mounted.empty() || chdir("/") != 0 || chdir(folder.c_str()) != 0) {
          std::fprintf(stderr, "no tmpfs: %s\n", mounted.c_str());
          std::_Exit(2);
        }
        const std::string problem = scenario();
        std::fprintf(stderr, "%s\n", problem.c_str());
        std::_Exit(problem.empty() ? 0 : 1);
      },
      ::testing::ExitedWithCode(0), "");
}

std::string Check(bool ok, const std::string& what) { return ok ? "" : what + "; "; }

// The backup fits, the new file does not: the folder is left as it was, retry after retry.
TEST_F(PathFileTest, AWriteThatRunsOutOfSpaceLeavesTheFolderAsItWas) {
  OnTinyDisk(64, [this] {
    WriteFile("a.xml", "<resource/>");
    SetWindowPoints(ManyPoints(3000));  // about 150 kB of text
    const std::string output = SaveAs("a") + SaveAs("a");
    return Check(output == "failed to save: a.xml\nfailed to save: a.xml\n", "message was '" + output + "'") +
           Check(ReadFile("a.xml") == "<resource/>", "a.xml changed") +
           Check(FolderEntries() == std::vector<std::string>{"a.xml"}, "leftover files");
  });
}

// Without room for the backup the previous file is not given up either.
TEST_F(PathFileTest, ABackupThatCannotBeWrittenStopsTheSave) {
  OnTinyDisk(64, [this] {
    const std::string previous(40000, 'x');
    WriteFile("a.xml", previous);
    WriteFile("filler", std::string(20000, 'f'));
    SetWindowPoints(kFourPoints);
    const std::string output = SaveAs("a");
    return Check(output == "failed to save: a.xml\n", "message was '" + output + "'") +
           Check(ReadFile("a.xml") == previous, "a.xml changed") +
           Check(FolderEntries() == std::vector<std::string>{"a.xml", "filler"}, "leftover files");
  });
}

}  // namespace
