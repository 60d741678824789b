// The game-state stack: every command, in the order it calls the states' operations.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "GameStateManager.h"

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

TEST_F(GameStateManagerTest, CommandsOnANonEmptyStack) {
  struct Case {
    StateCommand command;
    Log expected;
    std::vector<GameState*> stackAfter;
  };
  const std::vector<Case> cases = {
      {Reload, {"B.Free", "B.Unload", "B.Load", "B.Update"}, {&mA, &mB}},
      {Restart, {"B.Free", "B.Initialize", "B.Update"}, {&mA, &mB}},
      {Push, {"B.Pause", "C.Load", "C.Initialize", "C.Update"}, {&mA, &mB, &mC}},
      {Pop, {"B.Free", "B.Unload", "A.Resume", "A.Update"}, {&mA}},
      {None, {"B.Update"}, {&mA, &mB}},
      {static_cast<StateCommand>(42), {"B.Update"}, {&mA, &mB}},  // unknown acts like None
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(static_cast<int>(c.command));
    Stack({&mA, &mB});
    Request(c.command, &mC);
    mManager->Update();
    EXPECT_EQ(gLog, c.expected);
    EXPECT_EQ(mManager->mStates, c.stackAfter);
    EXPECT_EQ(mManager->mCommand, None);
  }
}

TEST_F(GameStateManagerTest, EmptyStackKeepsCommandsThatNeedATop) {
  for (StateCommand command : {Pop, Reload, Restart}) {
    Request(command, &mA);
    mManager->Update();
    EXPECT_TRUE(gLog.empty());
    EXPECT_EQ(mManager->mCommand, command);  // waits until a later request replaces it
  }
  Request(Push, &mA);
  mManager->Update();
  EXPECT_EQ(gLog, (Log{"A.Load", "A.Initialize", "A.Update"}));
}

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
