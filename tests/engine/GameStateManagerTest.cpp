// The game-state stack: every command, in the order it calls the states' operations.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "GameStateManager.h"
#include "NamedCases.h"

namespace {

std::vector<std::string> gLog;

class RecordingState : public GameState {
public:
  explicit RecordingState(std::string name) : mName(std::move(name)) {}
  void Load() override { gLog.push_back(mName + ".Load"); }
  void Initialize() override { gLog.push_back(mName + ".Initialize"); }
  void Update() override { gLog.push_back(mName + ".Update"); }
  void Free() override { gLog.push_back(mName + ".Free"); }
  void Unload() override { gLog.push_back(mName + ".Unload"); }
  void Pause() override { gLog.push_back(mName + ".Pause"); }
  void Resume() override { gLog.push_back(mName + ".Resume"); }

private:
  std::string mName;
};

class GameStateManagerTest : public ::testing::Test {
protected:
  void SetUp() override {
    mManager->mStates.clear();
    mManager->mCommand = None;
    mManager->mNextState = nullptr;
    gLog.clear();
  }

  // Puts states on the stack directly, then forgets what that logged.
  void Stack(std::initializer_list<GameState*> states) {
    mManager->mStates.assign(states);
    gLog.clear();
  }

  void Request(StateCommand command, GameState* next = nullptr) {
    mManager->mNextState = next;
    mManager->mCommand = command;
  }

  GameStateManager* mManager = GameStateManager::Instance();
  RecordingState mA{"A"}, mB{"B"}, mC{"C"};
};

using Log = std::vector<std::string>;

TEST_F(GameStateManagerTest, ChangeOnEmptyStackLoadsInitializesAndUpdatesInTheSameFrame) {
  Request(Change, &mA);
  mManager->Update();
  EXPECT_EQ(gLog, (Log{"A.Load", "A.Initialize", "A.Update"}));
  EXPECT_EQ(mManager->mCommand, None);
  EXPECT_EQ(mManager->mNextState, &mA);  // kept after use
}

TEST_F(GameStateManagerTest, ChangeResumesEachLowerStateJustBeforeFreeingIt) {
  Stack({&mA, &mB, &mC});
  Request(Change, &mA);
  mManager->Update();
  EXPECT_EQ(gLog, (Log{"C.Free", "C.Unload", "B.Resume", "B.Free", "B.Unload", "A.Resume", "A.Free",
                       "A.Unload", "A.Load", "A.Initialize", "A.Update"}));
  EXPECT_EQ(mManager->mStates, (std::vector<GameState*>{&mA}));
}

// The name of a parameterised case: its `name` field.
// A command given with A and B on the stack and C as the next state.
struct CommandCase {
  const char* name;
  StateCommand command;
  Log expected;
  const char* stackAfter;  // the states' names, bottom first
};

class CommandOnANonEmptyStack : public GameStateManagerTest,
                                public ::testing::WithParamInterface<CommandCase> {
protected:
  std::vector<GameState*> States(const std::string& names) {
    std::vector<GameState*> states;
    for (char name : names) states.push_back(name == 'A' ? &mA : name == 'B' ? &mB : &mC);
    return states;
  }
};

TEST_P(CommandOnANonEmptyStack, CallsTheStatesInOrder) {
  const CommandCase& c = GetParam();
  Stack({&mA, &mB});
  Request(c.command, &mC);
  mManager->Update();
  EXPECT_EQ(gLog, c.expected);
  EXPECT_EQ(mManager->mStates, States(c.stackAfter));
  EXPECT_EQ(mManager->mCommand, None);
}

INSTANTIATE_TEST_SUITE_P(
    Commands, CommandOnANonEmptyStack,
    ::testing::Values(CommandCase{"reload", Reload, {"B.Free", "B.Unload", "B.Load", "B.Update"}, "AB"},
                      CommandCase{"restart", Restart, {"B.Free", "B.Initialize", "B.Update"}, "AB"},
                      CommandCase{"push", Push, {"B.Pause", "C.Load", "C.Initialize", "C.Update"}, "ABC"},
                      CommandCase{"pop", Pop, {"B.Free", "B.Unload", "A.Resume", "A.Update"}, "A"},
                      CommandCase{"none", None, {"B.Update"}, "AB"},
                      // An unknown command acts like None.
                      CommandCase{"unknown", static_cast<StateCommand>(42), {"B.Update"}, "AB"}),
    testsupport::CaseName<CommandCase>);

struct TopCommandCase {
  const char* name;
  StateCommand command;
};

class EmptyStack : public GameStateManagerTest, public ::testing::WithParamInterface<TopCommandCase> {};

TEST_P(EmptyStack, KeepsACommandThatNeedsATop) {
  const StateCommand command = GetParam().command;
  Request(command, &mA);
  mManager->Update();
  EXPECT_TRUE(gLog.empty());
  EXPECT_EQ(mManager->mCommand, command);  // waits until a later request replaces it
  Request(Push, &mA);
  mManager->Update();
  EXPECT_EQ(gLog, (Log{"A.Load", "A.Initialize", "A.Update"}));
}

INSTANTIATE_TEST_SUITE_P(Commands, EmptyStack,
                         ::testing::Values(TopCommandCase{"pop", Pop}, TopCommandCase{"reload", Reload},
                                           TopCommandCase{"restart", Restart}),
                         testsupport::CaseName<TopCommandCase>);

TEST_F(GameStateManagerTest, ChangeToNullChangesNothingButStillUpdatesTheTop) {
  Stack({&mA, &mB});
  Request(Change, nullptr);
  mManager->Update();
  EXPECT_EQ(gLog, (Log{"B.Update"}));
  EXPECT_EQ(mManager->mStates.size(), 2u);
}

TEST_F(GameStateManagerTest, PushingTheTopAgainStacksTheSamePointerTwice) {
  Stack({&mA});
  Request(Push, &mA);
  mManager->Update();
  mManager->mCommand = Push;  // mNextState still names A
  mManager->Update();
  EXPECT_EQ(mManager->mStates, (std::vector<GameState*>{&mA, &mA, &mA}));
}

TEST_F(GameStateManagerTest, ShutdownFreesAndUnloadsFromTheBottomUp) {
  Stack({&mA, &mB});
  mManager->Shutdown();
  EXPECT_EQ(gLog, (Log{"A.Free", "A.Unload", "B.Free", "B.Unload"}));
  EXPECT_TRUE(mManager->mStates.empty());
}

}  // namespace
