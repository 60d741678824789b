// The input roll-over: what one frame's state update sees of the events before it.
#include <gtest/gtest.h>

#include "InputManager.h"

namespace {

class InputManagerTest : public ::testing::Test {
protected:
  void SetUp() override {
    mInput->mLockCursor = false;  // warping needs a window
    mInput->Update();
    mInput->Update();
  }
  InputManager* mInput = InputManager::Instance();
};

TEST_F(InputManagerTest, KeyShowsForExactlyOneUpdateThenMovesToPrevious) {
  mInput->mKeys['a'] = true;
  mInput->mAnyKey = true;
  mInput->Update();
  EXPECT_FALSE(mInput->mKeys['a']);
  EXPECT_TRUE(mInput->mPrevKeys['a']);
  EXPECT_FALSE(mInput->mAnyKey);
  mInput->Update();
  EXPECT_FALSE(mInput->mPrevKeys['a']);
}

TEST_F(InputManagerTest, HeldFlagsAreCopiedAndLeftAlone) {
  mInput->mMouseLeft = true;
  mInput->mMouseMiddle = false;
  mInput->mMouseRight = true;
  mInput->Update();
  EXPECT_TRUE(mInput->mPrevMouseLeft);
  EXPECT_FALSE(mInput->mPrevMouseMiddle);
  EXPECT_TRUE(mInput->mPrevMouseRight);
  EXPECT_TRUE(mInput->mMouseLeft);  // only the callbacks clear a held flag
  mInput->mMouseLeft = mInput->mMouseRight = false;
  mInput->Update();
}

TEST_F(InputManagerTest, WheelResetsToNoneAndPositionsComeFromTheRawValues) {
  mInput->mWheel = 0;
  gMouseX = 12.75f;
  gMouseY = 700.5f;
  gClickX = 12;
  gClickY = 700;
  mInput->Update();
  EXPECT_EQ(mInput->mWheel, 2);
  EXPECT_EQ(mInput->mMousePos, vec2(12.75f, 700.5f));
  EXPECT_EQ(mInput->mClickPos, vec2(12.0f, 700.0f));
}

}  // namespace
