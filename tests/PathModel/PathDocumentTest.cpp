// The document without a window: which gestures keep the path in the recovery file, when the
// file goes away, its name, a write that fails and the next that succeeds, what a session that
// only saves and loads leaves alone, and the exit.
#include <gtest/gtest.h>
#include <sys/stat.h>  // chmod, for a read-only working folder

#include <algorithm>
#include <chrono>
#include <cmath>
#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "PathDocument.h"
#include "TestSupport.h"
#include "NamedCases.h"

namespace {

namespace fs = std::filesystem;
using testsupport::CaptureStdout;
using testsupport::ReadFile;
using testsupport::WriteFile;

std::vector<std::string> FolderEntries() {
  std::vector<std::string> names;
  for (const auto& entry : fs::directory_iterator(".")) names.push_back(entry.path().filename().string());
  std::sort(names.begin(), names.end());
  return names;
}

class PathDocumentTest : public ::testing::Test {
public:
  // What a right click or the Push Back button does: one step.
  void Append(const vec2& at) {
    doc.Step([&] { doc.mSpline.PushBack(at); });
  }
  // A drag of the selected point over a few frames, as the editor's mouse handling makes it.
  void Drag(const vec2& by, int frames = 4) {
    doc.BeginGesture(doc.mSpline.Values());
    for (int i = 0; i < frames; ++i) doc.mSpline.MoveSelected(by / static_cast<float>(frames));
    doc.EndGesture();
  }
  void LoadNamed(const std::string& name) {
    doc.RefreshListing();
    const auto& names = doc.mFiles.mFilenames;
    const auto found = std::find(names.begin(), names.end(), name);
    ASSERT_NE(found, names.end()) << name << " is not listed";
    doc.Load(static_cast<std::uint32_t>(found - names.begin()));
  }
  // The recovery file's writes are done, and its console lines printed.
  std::string Settle() {
    CaptureStdout capture;
    doc.FinishRecovery();
    doc.ReportRecovery();
    return capture.Text();
  }
  // The text the recovery file must hold for the path as it is.
  std::string PathText() { return PathFiles::FileText(doc.mSpline).value_or("no text"); }

  testsupport::TempWorkDir work;
  PathDocument doc;
};

// Each gesture starts from a path of two points, unsaved and kept already, the second selected.
struct GestureCase {
  const char* name;
  std::function<void(PathDocumentTest&, PathDocument&)> gesture;
  std::uint64_t writes;  // files written after it
};

void PrintTo(const GestureCase& gesture, std::ostream* out) { *out << gesture.name; }

class GestureWrites : public PathDocumentTest, public ::testing::WithParamInterface<GestureCase> {};

TEST_P(GestureWrites, OnlyAGestureThatChangesThePathWritesIt) {
  Append({300, 300});
  Append({400, 300});
  Settle();
  const std::uint64_t before =
      doc.Recovery().Writes();  // 1 or 2: a newer text may replace one not yet written
  ASSERT_EQ(PathText(), ReadFile("untitled.xml.unsaved0"));
  GetParam().gesture(*this, doc);
  EXPECT_EQ("", Settle());
  EXPECT_EQ(before + GetParam().writes, doc.Recovery().Writes());
  EXPECT_EQ(PathText(), ReadFile("untitled.xml.unsaved0"));
  EXPECT_EQ((std::vector<std::string>{"untitled.xml.unsaved0"}), FolderEntries());
}

INSTANTIATE_TEST_SUITE_P(
    PathDocumentTest, GestureWrites,
    ::testing::Values(
        GestureCase{"Click",
                    [](PathDocumentTest& test, PathDocument&) {
                      test.Append({500, 350});
                    },
                    1},
        GestureCase{"Drag",
                    [](PathDocumentTest& test, PathDocument&) {
                      test.Drag({30, -20});
                    },
                    1},
        GestureCase{"Button",
                    [](PathDocumentTest&, PathDocument& d) { d.Step([&] { d.mSpline.DeleteSelected(); }); },
                    1},
        GestureCase{"CommittedValue",
                    [](PathDocumentTest&, PathDocument& d) { d.Step([&] { d.mSpline.SetRotation(30.0f); }); },
                    1},
        GestureCase{
            "Ends",
            [](PathDocumentTest&, PathDocument& d) { d.Step([&] { d.mSpline.SetEnds(PathEnds::Pinned); }); },
            1},
        GestureCase{"Nudge",
                    [](PathDocumentTest&, PathDocument& d) {
                      d.StepInRun(1, [&] { d.mSpline.MoveSelected({1, 0}); });
                    },
                    1},
        GestureCase{"Undo", [](PathDocumentTest&, PathDocument& d) { d.Undo(); }, 1},
        GestureCase{"Redo",
                    [](PathDocumentTest& test, PathDocument& d) {
                      d.Undo();
                      test.Settle();
                      d.Redo();
                    },
                    2},
        // Gestures that leave the path as it was: nothing to write.
        GestureCase{"SelectionAlone",
                    [](PathDocumentTest&, PathDocument& d) {
                      const PathValues before = d.mSpline.Values();
                      d.mSpline.mSelectedIndex = 0;
                      d.BeginGesture(before);
                      d.EndGesture();
                    },
                    0},
        GestureCase{"CancelledDrag",
                    [](PathDocumentTest&, PathDocument& d) {
                      d.BeginGesture(d.mSpline.Values());
                      d.mSpline.MoveSelected({40, 40});
                      d.CancelGesture();
                      d.EndGesture();  // the release
                    },
                    0},
        GestureCase{"RefusedValue",
                    [](PathDocumentTest&, PathDocument& d) { d.Step([&] { d.mSpline.SetScale(NAN); }); }, 0},
        GestureCase{"RedoWithNothingUndone", [](PathDocumentTest&, PathDocument& d) { d.Redo(); }, 0}),
    testsupport::CaseName<GestureCase>);

TEST_F(PathDocumentTest, ADragWritesAtItsReleaseNotBefore) {
  Append({300, 300});
  Settle();
  const std::string before = ReadFile("untitled.xml.unsaved0");
  doc.BeginGesture(doc.mSpline.Values());
  for (int frame = 0; frame < 5; ++frame) {
    doc.mSpline.MoveSelected({10, 0});
    doc.Step([&] {});  // a step that changes nothing, in the middle of the drag
    Settle();
    EXPECT_EQ(before, ReadFile("untitled.xml.unsaved0")) << frame;
  }
  doc.EndGesture();
  Settle();
  EXPECT_EQ(PathText(), ReadFile("untitled.xml.unsaved0"));
  EXPECT_EQ(2u, doc.Recovery().Writes());
}

TEST_F(PathDocumentTest, ASaveAndAnUndoBackToTheSavedPathRemoveTheFile) {
  Append({300, 300});
  Append({400, 300});
  Settle();
  ASSERT_TRUE(fs::exists("untitled.xml.unsaved0"));

  doc.mFiles.mFilename = "a";
  {
    CaptureStdout quiet;
    doc.Save();
  }
  Settle();
  EXPECT_EQ((std::vector<std::string>{"a.xml"}), FolderEntries());

  Append({500, 300});
  Settle();
  EXPECT_EQ(PathText(), ReadFile("untitled.xml.unsaved0"));  // the session's name, taken once
  doc.Undo();
  Settle();
  EXPECT_EQ((std::vector<std::string>{"a.xml"}), FolderEntries());
  doc.Redo();
  Settle();
  EXPECT_EQ(PathText(), ReadFile("untitled.xml.unsaved0"));

  // Loading makes the path a file's again; undoing the load brings the unsaved path back.
  LoadNamed("a.xml");
  Settle();
  EXPECT_EQ((std::vector<std::string>{"a.xml"}), FolderEntries());
  doc.Undo();
  Settle();
  EXPECT_EQ(PathText(), ReadFile("untitled.xml.unsaved0"));

  // An empty path has nothing to keep.
  doc.Step([&] { doc.mSpline.Clear(); });
  Settle();
  EXPECT_EQ((std::vector<std::string>{"a.xml"}), FolderEntries());
}

TEST_F(PathDocumentTest, TheNameIsTakenOnceAndNoOtherSessionsFileIsWritten) {
  WriteFile("level.xml.unsaved0", "an earlier session's");
  doc.mFiles.mFilename = "level";
  Append({300, 300});
  Settle();
  EXPECT_EQ("level.xml.unsaved1", doc.Recovery().Name());
  doc.mFiles.mFilename = "other";  // a new name later changes nothing
  Append({400, 300});
  Settle();
  EXPECT_EQ(PathText(), ReadFile("level.xml.unsaved1"));
  EXPECT_FALSE(fs::exists("other.xml.unsaved0"));

  // Removed after an undo back to the start; meanwhile another session takes the name.
  doc.Undo();
  doc.Undo();
  Settle();
  ASSERT_FALSE(fs::exists("level.xml.unsaved1"));
  WriteFile("level.xml.unsaved1", "another session's");
  Append({500, 300});
  Settle();
  EXPECT_EQ("another session's", ReadFile("level.xml.unsaved1"));
  EXPECT_EQ("an earlier session's", ReadFile("level.xml.unsaved0"));
  EXPECT_EQ("other.xml.unsaved0", doc.Recovery().Name());
  EXPECT_EQ(PathText(), ReadFile("other.xml.unsaved0"));
}

TEST_F(PathDocumentTest, AFailedWritePrintsALineAndTheNextGestureWritesAgain) {
  ASSERT_EQ(0, chmod(".", 0555));
  Append({300, 300});
  EXPECT_EQ("failed to keep the unsaved changes: untitled.xml.unsaved\n", Settle());
  EXPECT_EQ(1u, doc.mHistory.UndoSteps());  // editing goes on
  ASSERT_EQ(0, chmod(".", 0755));
  // A gesture that changes nothing still tries again.
  const PathValues before = doc.mSpline.Values();
  doc.BeginGesture(before);
  doc.EndGesture();
  EXPECT_EQ("", Settle());
  EXPECT_EQ(PathText(), ReadFile("untitled.xml.unsaved0"));

  // A replacement that fails leaves the file as it was, until the next gesture.
  const std::string kept = ReadFile("untitled.xml.unsaved0");
  ASSERT_EQ(0, chmod(".", 0555));
  Append({400, 300});
  EXPECT_EQ("failed to keep the unsaved changes: untitled.xml.unsaved0\n", Settle());
  EXPECT_EQ(kept, ReadFile("untitled.xml.unsaved0"));
  ASSERT_EQ(0, chmod(".", 0755));
  Append({500, 300});
  EXPECT_EQ("", Settle());
  EXPECT_EQ(PathText(), ReadFile("untitled.xml.unsaved0"));
  EXPECT_EQ((std::vector<std::string>{"untitled.xml.unsaved0"}), FolderEntries());
}

TEST_F(PathDocumentTest, ValuesBeyondTheFloatRangeAreReportedAndTheFileKeepsTheLastPath) {
  Append({300, 300});
  Settle();
  const std::string kept = ReadFile("untitled.xml.unsaved0");
  CaptureStdout capture;
  doc.Step([&] { doc.mSpline.SetScale(1e38f); });
  EXPECT_EQ("failed to keep the unsaved changes: untitled.xml.unsaved0\n", capture.Text());
  EXPECT_EQ(kept, ReadFile("untitled.xml.unsaved0"));
}

TEST(PathDocumentStart, RecoveryFilesAreNamedNewestFirstAndASessionThatOnlySavesAndLoadsTouchesNone) {
  testsupport::TempWorkDir work;
  const std::string path = "<resource>\n  <ControlPoint>0.5 0.5</ControlPoint>\n</resource>\n";
  WriteFile("a.xml", path);
  WriteFile("old.xml.unsaved0", "old");
  WriteFile("new.xml.unsaved0", "new");
  WriteFile("untitled.xml.unsaved3", "middle");
  WriteFile("notes.unsaved0", "not a recovery file");
  const auto now = fs::file_time_type::clock::now();
  fs::last_write_time("old.xml.unsaved0", now - std::chrono::hours(2));
  fs::last_write_time("untitled.xml.unsaved3", now - std::chrono::hours(1));
  fs::last_write_time("new.xml.unsaved0", now);
  const std::vector<std::string> before = FolderEntries();

  CaptureStdout capture;
  {
    PathDocument doc;
    EXPECT_EQ(
        "Unsaved changes of an earlier session kept in new.xml.unsaved0\n"
        "Unsaved changes of an earlier session kept in untitled.xml.unsaved3\n"
        "Unsaved changes of an earlier session kept in old.xml.unsaved0\n",
        capture.Text());
    doc.RefreshListing();
    doc.Load(0);  // a.xml
    doc.mFiles.mFilename = "a";
    doc.Save();
    doc.KeepUnsavedEdits();
    EXPECT_EQ(0u, doc.Recovery().Writes());
  }
  std::vector<std::string> after = before;
  after.push_back("a.xml.bak0");
  std::sort(after.begin(), after.end());
  EXPECT_EQ(after, FolderEntries());
  EXPECT_EQ("old", ReadFile("old.xml.unsaved0"));
  EXPECT_EQ("middle", ReadFile("untitled.xml.unsaved3"));
}

TEST_F(PathDocumentTest, TheExitKeepsUnsavedWorkAndNamesItOrLeavesNothing) {
  Append({300, 300});
  doc.BeginGesture(doc.mSpline.Values());
  doc.mSpline.MoveSelected({25, 0});  // a drag going on when the program ends
  {
    CaptureStdout capture;
    doc.KeepUnsavedEdits();
    EXPECT_EQ("Unsaved changes kept in untitled.xml.unsaved0\n", capture.Text());
  }
  EXPECT_EQ(PathText(), ReadFile("untitled.xml.unsaved0"));

  doc.Undo();
  doc.Undo();
  CaptureStdout capture;
  doc.KeepUnsavedEdits();
  EXPECT_EQ("", capture.Text());
  EXPECT_TRUE(FolderEntries().empty());
}

TEST_F(PathDocumentTest, TheSessionsOwnRecoveryFileIsNotOfferedForLoading) {
  WriteFile("earlier.xml.unsaved0", "<resource/>");
  Append({300, 300});
  doc.RefreshListing();
  EXPECT_EQ((std::vector<std::string>{"earlier.xml.unsaved0"}), doc.mFiles.mFilenames);
  EXPECT_TRUE(fs::exists("untitled.xml.unsaved0"));
}

// A recovery file loaded back saves to the file it was kept from, with that file's backup.
TEST_F(PathDocumentTest, ALoadedRecoveryFileSavesWhereItWasKeptFrom) {
  // As the XML library prints it, which is what a backup holds.
  const std::string older = "<resource>\n    <ControlPoint>0 0</ControlPoint>\n</resource>\n";
  WriteFile("a.xml", older);
  Append({300, 300});
  Append({400, 300});
  const std::string text = PathText();
  WriteFile("a.xml.unsaved0", text);
  WriteFile("untitled.xml.unsaved7", text);
  CaptureStdout quiet;
  LoadNamed("untitled.xml.unsaved7");
  EXPECT_EQ("", doc.mFiles.mFilename);
  LoadNamed("a.xml.unsaved0");
  EXPECT_EQ("a.xml", doc.mFiles.mFilename);
  EXPECT_EQ("a.xml.unsaved0", doc.mFiles.mLoadedFile);
  doc.Save();
  EXPECT_EQ(PathText(), ReadFile("a.xml"));
  EXPECT_EQ(older, ReadFile("a.xml.bak0"));
  EXPECT_FALSE(fs::exists("a.xml.unsaved0.xml"));
}

struct NameCase {
  const char* name;
  std::string filename;
  std::string stem;
};

void PrintTo(const NameCase& name, std::ostream* out) { *out << name.name; }

class RecoveryNames : public ::testing::TestWithParam<NameCase> {};

TEST_P(RecoveryNames, StemFollowsTheFilenameAndLeadsBackToIt) {
  EXPECT_EQ(GetParam().stem, RecoveryStem(GetParam().filename));
  const std::optional<std::string> from = KeptFrom(GetParam().stem + "12");
  ASSERT_TRUE(from.has_value());
  EXPECT_EQ(GetParam().stem, RecoveryStem(*from));  // the same stem again after a load
}

INSTANTIATE_TEST_SUITE_P(PathDocumentTest, RecoveryNames,
                         ::testing::Values(NameCase{"NoName", "", "untitled.xml.unsaved"},
                                           NameCase{"Plain", "level", "level.xml.unsaved"},
                                           NameCase{"WithXml", "level.xml", "level.xml.unsaved"},
                                           NameCase{"OtherCase", "level.XML", "level.XML.xml.unsaved"},
                                           NameCase{"InAFolder", "sub/level", "level.xml.unsaved"},
                                           NameCase{"Dot", ".", "untitled.xml.unsaved"},
                                           NameCase{"ARecoveryFile", "level.xml.unsaved3",
                                                    "level.xml.unsaved"}),
                         testsupport::CaseName<NameCase>);

TEST(RecoveryNameTest, OtherNamesAreNoRecoveryFiles) {
  for (const char* name : {"a.xml", "a.xml.unsaved", "a.xml.unsaved1x", "notes.unsaved0", "a.xml.bak0"})
    EXPECT_FALSE(KeptFrom(name).has_value()) << name;
  EXPECT_EQ("", KeptFrom("untitled.xml.unsaved0"));
}

}  // namespace
