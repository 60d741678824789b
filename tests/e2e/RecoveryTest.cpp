// The recovery file through the real program: what a kill -9 leaves, the signals that end the
// program as Escape does, input just before the way out kept, nothing left once everything is
// saved, the names printed at the next start, and a loaded recovery file saved back where it
// came from.
#include <signal.h>  // kill and the signal numbers

#include <algorithm>
#include <chrono>
#include <cmath>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "EditorFixture.h"
#include "NamedCases.h"

namespace editor {
namespace {

namespace fs = std::filesystem;

class RecoveryTest : public EditorTest {
protected:
  static constexpr const char* kRecovery = "untitled.xml.unsaved0";

  // Whether the recovery file holds exactly these window positions (within the file's digits).
  bool Holds(const std::vector<PathPoint>& expected) {
    if (!Exists(kRecovery)) return false;
    const std::vector<PathPoint> kept = PointsOf(File(kRecovery));
    if (kept.size() != expected.size()) return false;
    for (std::size_t i = 0; i < kept.size(); ++i) {
      if (std::abs(kept[i].x - expected[i].x) > 0.01f || std::abs(kept[i].y - expected[i].y) > 0.01f)
        return false;
    }
    return true;
  }
  std::vector<std::string> Entries() {
    std::vector<std::string> names;
    for (const auto& entry : fs::directory_iterator(mDemo->WorkDir()))
      names.push_back(entry.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
  }
  void Kill(int signal) {
    ASSERT_EQ(0, kill(mDemo->Pid(), signal));
    ASSERT_TRUE(mDemo->WaitForExit().has_value());
  }
};

TEST_F(RecoveryTest, AKillAfterADragLeavesTheDragInTheRecoveryFile) {
  AddPoint(400, 300);
  AddPoint(500, 350);
  ASSERT_TRUE(mDemo->WaitFor([&] { return Holds({{400, 300}, {500, 350}}); })) << File(kRecovery);

  mDemo->MoveTo(500, Down(350));
  mDemo->Press(Button::Left);
  for (int step = 1; step <= 4; ++step) mDemo->MoveTo(500 + 15 * step, Down(350 - 10 * step));
  mDemo->Frames(5);
  EXPECT_TRUE(Holds({{400, 300}, {500, 350}})) << "written during the drag: " << File(kRecovery);
  mDemo->Release(Button::Left);
  ASSERT_TRUE(mDemo->WaitFor([&] { return Holds({{400, 300}, {560, 310}}); })) << File(kRecovery);

  Kill(SIGKILL);
  EXPECT_EQ(std::optional<int>(128 + SIGKILL), mDemo->WaitForExit());
  EXPECT_TRUE(Holds({{400, 300}, {560, 310}})) << File(kRecovery);
  EXPECT_EQ(std::vector<std::string>{kRecovery}, Entries());  // no temporary file left either
}

struct SignalCase {
  const char* name;
  int signal;
};

void PrintTo(const SignalCase& signal, std::ostream* out) { *out << signal.name; }

class ExitSignalTest : public RecoveryTest, public ::testing::WithParamInterface<SignalCase> {};

TEST_P(ExitSignalTest, EndsTheProgramAsEscapeDoesAndKeepsThePath) {
  // Demo leaves a signal ignored that was ignored when it started, as a shell does for the
  // interrupts of a job in the background; it inherits this process's.
  struct sigaction inherited {};
  sigaction(GetParam().signal, nullptr, &inherited);
  if (inherited.sa_handler == SIG_IGN)
    GTEST_SKIP() << GetParam().name << " is ignored by the test run itself";
  AddPoint(400, 300);
  ASSERT_TRUE(WaitForColor(400, 300, IsRed));
  Kill(GetParam().signal);  // at once: the exit finishes what the gesture began
  EXPECT_EQ(std::optional<int>(0), mDemo->WaitForExit());
  EXPECT_NE(mDemo->Output().find(std::string("Unsaved changes kept in ") + kRecovery), std::string::npos)
      << mDemo->Output();
  EXPECT_TRUE(Holds({{400, 300}})) << File(kRecovery);
}

INSTANTIATE_TEST_SUITE_P(RecoveryTest, ExitSignalTest,
                         ::testing::Values(SignalCase{"TERM", SIGTERM}, SignalCase{"HUP", SIGHUP},
                                           SignalCase{"INT", SIGINT}),
                         testsupport::CaseName<SignalCase>);

// Input that comes in the same frame as the way out still counts: a whole drag and a quick
// click just before Escape, Alt+F4 or SIGTERM are kept.
struct ExitCase {
  const char* name;
  void (*leave)(DemoSession&);
  int signal;  // the signal `leave` sends, or 0
};

void PrintTo(const ExitCase& exit, std::ostream* out) { *out << exit.name; }

class InputBeforeTheExit : public RecoveryTest, public ::testing::WithParamInterface<ExitCase> {};

TEST_P(InputBeforeTheExit, IsKept) {
  struct sigaction inherited {};
  if (GetParam().signal != 0 && sigaction(GetParam().signal, nullptr, &inherited) == 0 &&
      inherited.sa_handler == SIG_IGN)
    GTEST_SKIP() << GetParam().name << " is ignored by the test run itself";
  AddPoint(300, 300);
  ASSERT_TRUE(mDemo->WaitFor([&] { return Holds({{300, 300}}); }));
  mDemo->AtOnce([&] {
    mDemo->MoveTo(300, Down(300));
    mDemo->Press(Button::Left);
    mDemo->MoveTo(350, Down(300));
    mDemo->MoveTo(400, Down(320));
    mDemo->Release(Button::Left);
    mDemo->MoveTo(500, Down(350));
    mDemo->Press(Button::Right);
    mDemo->Release(Button::Right);
    GetParam().leave(*mDemo);
  });
  EXPECT_EQ(std::optional<int>(0), mDemo->WaitForExit());
  EXPECT_TRUE(Holds({{400, 320}, {500, 350}})) << File(kRecovery);
}

INSTANTIATE_TEST_SUITE_P(
    RecoveryTest, InputBeforeTheExit,
    ::testing::Values(ExitCase{"escape", [](DemoSession& demo) { demo.Key("Escape"); }, 0},
                      ExitCase{"alt_f4", [](DemoSession& demo) { demo.Key("F4", "Alt_L"); }, 0},
                      ExitCase{"term", [](DemoSession& demo) { kill(demo.Pid(), SIGTERM); }, SIGTERM}),
    testsupport::CaseName<ExitCase>);

TEST_F(RecoveryTest, WithEverythingSavedAKillLeavesNoRecoveryFile) {
  AddPoint(400, 300);
  ASSERT_TRUE(mDemo->WaitFor([&] { return Exists(kRecovery); }));
  SetFilename("kept");
  Save();
  ASSERT_TRUE(mDemo->WaitFor([&] { return Exists("kept.xml") && !Exists(kRecovery); }));
  // An edit keeps the path again, and its undo goes back to the saved one.
  AddPoint(500, 350);
  ASSERT_TRUE(mDemo->WaitFor([&] { return Holds({{400, 300}, {500, 350}}); }));
  mDemo->MoveTo(700, Down(500));
  mDemo->Key("z", "Control_L");
  ASSERT_TRUE(mDemo->WaitFor([&] { return !Exists(kRecovery); }));
  Kill(SIGKILL);
  EXPECT_EQ(std::vector<std::string>{"kept.xml"}, Entries());
}

TEST_F(RecoveryTest, TheNextStartNamesTheRecoveryFilesNewestFirst) {
  AddPoint(400, 300);
  ASSERT_TRUE(mDemo->WaitFor([&] { return Holds({{400, 300}}); }));
  Kill(SIGKILL);
  const std::string kept = File(kRecovery);

  Start([&](const fs::path& work) {
    std::ofstream(work / "level.xml.unsaved4") << kept;
    fs::last_write_time(work / "level.xml.unsaved4",
                        fs::file_time_type::clock::now() - std::chrono::hours(1));
    std::ofstream(work / kRecovery) << kept;
  });
  const std::string output = mDemo->Output();
  const std::size_t newest =
      output.find(std::string("Unsaved changes of an earlier session kept in ") + kRecovery);
  const std::size_t older = output.find("Unsaved changes of an earlier session kept in level.xml.unsaved4");
  ASSERT_NE(std::string::npos, newest) << output;
  ASSERT_NE(std::string::npos, older) << output;
  EXPECT_LT(newest, older);
}

TEST_F(RecoveryTest, ALoadedRecoveryFileSavesToItsOriginalName) {
  const std::string older =
      "<resource>\n    <Scale>350 200</Scale>\n    <WorldPos>262 184</WorldPos>\n"
      "    <SplineStart>0 0</SplineStart>\n    <ControlPoint>0.5 0.5</ControlPoint>\n</resource>\n";
  Start([&](const fs::path& work) {
    std::ofstream(work / "a.xml") << older;
    std::ofstream(work / "a.xml.unsaved0")
        << "<resource>\n  <Scale>350 200</Scale>\n  <WorldPos>262 184</WorldPos>\n"
           "  <SplineStart>0 0</SplineStart>\n  <ControlPoint>0.2 0.25</ControlPoint>\n"
           "  <ControlPoint>0.4 0.75</ControlPoint>\n</resource>\n";
  });
  mDemo->Click(kValueX, kLoadY);  // the list: a.xml, a.xml.unsaved0
  mDemo->Click(kValueX, kLoadListFirstY + kLoadListStep);
  ASSERT_TRUE(WaitForColor(402, 284, IsGreen));
  Save();
  ASSERT_TRUE(mDemo->WaitFor([&] { return Exists("a.xml.bak0"); })) << mDemo->Output();
  mDemo->Frames(3);
  const std::vector<PathPoint> saved = PointsOf(File("a.xml"));
  ASSERT_EQ(2u, saved.size()) << File("a.xml");
  EXPECT_NEAR(402.0f, saved[0].x, 0.01f);
  EXPECT_NEAR(284.0f, saved[0].y, 0.01f);
  EXPECT_EQ(older, File("a.xml.bak0"));
  EXPECT_EQ((std::vector<std::string>{"a.xml", "a.xml.bak0", "a.xml.unsaved0"}), Entries());
}

}  // namespace
}  // namespace editor
