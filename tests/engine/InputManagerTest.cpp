// The input state: what each frame's state update sees of the events that came before it.
#include <gtest/gtest.h>

#include <GL/freeglut.h>  // GLUT's button numbers

#include <sstream>
#include <string>
#include <vector>

#include "InputManager.h"
#include "NamedCases.h"

namespace {

InputEvent Move(float x, float y) {
  InputEvent event;
  event.kind = InputEvent::Motion;
  event.position = vec2(x, y);
  return event;
}
InputEvent Button(int button, bool down, float x, float y) {
  InputEvent event;
  event.kind = InputEvent::Button;
  event.button = button;
  event.down = down;
  event.position = vec2(x, y);  // where the callbacks saw the last motion
  return event;
}
InputEvent Key(char key) {
  InputEvent event;
  event.kind = InputEvent::Key;
  event.key = key;
  return event;
}
InputEvent KeyUp(char key) {
  InputEvent event;
  event.kind = InputEvent::KeyUp;
  event.key = key;
  return event;
}
InputEvent Special(int key) {
  InputEvent event;
  event.kind = InputEvent::SpecialKey;
  event.key = key;
  return event;
}
InputEvent Wheel(std::int32_t direction) {
  InputEvent event;
  event.kind = InputEvent::Wheel;
  event.wheel = direction;
  return event;
}
InputEvent Shortcut(int key, bool special = false) {
  InputEvent event;
  event.kind = InputEvent::Shortcut;
  event.key = key;
  event.special = special;
  return event;
}

// The shortcuts run so far; 'q' and special keys stand for keys that are no shortcut by the
// time their turn comes (a field was opened).
std::string gShortcutsRun;
bool RunShortcut(const InputEvent& event) {
  if (event.special || event.key == 'q') return false;
  gShortcutsRun += "shortcut " + std::string(1, static_cast<char>(event.key)) + " ";
  return true;
}

class InputManagerTest : public ::testing::Test {
protected:
  void SetUp() override {
    mInput->mLockCursor = false;  // warping needs a window
    mInput->mRunShortcut = RunShortcut;
    mInput->mPending.clear();
    mInput->mMouseLeft = mInput->mMouseMiddle = mInput->mMouseRight = false;
    mInput->mMousePos = vec2(0.0f);
    mInput->Update();
    mInput->Update();
    gShortcutsRun.clear();
  }
  void Post(const std::vector<InputEvent>& events) {
    for (const InputEvent& event : events) mInput->Post(event);
  }

  // What a state update sees in one frame, then the roll-over: the shortcuts run since the
  // last frame, presses (+) and releases (-), keys, special keys and the wheel, and where the
  // pointer is.
  std::string Frame() {
    std::ostringstream seen;
    seen << gShortcutsRun;
    gShortcutsRun.clear();
    const auto button = [&](const char* name, bool now, bool before) {
      if (now != before) seen << name << (now ? "+ " : "- ");
    };
    button("left", mInput->mMouseLeft, mInput->mPrevMouseLeft);
    button("middle", mInput->mMouseMiddle, mInput->mPrevMouseMiddle);
    button("right", mInput->mMouseRight, mInput->mPrevMouseRight);
    for (int key = 0; key < 256; ++key)
      if (mInput->mKeys[key]) seen << "key " << static_cast<char>(key) << " ";
    for (const auto& press : mInput->mSpecialKeys) seen << "special " << press.key << " ";
    if (mInput->mWheel != 2) seen << "wheel " << mInput->mWheel << " ";
    seen << "at " << mInput->mMousePos.x << "," << mInput->mMousePos.y;
    mInput->Update();
    return seen.str();
  }

  InputManager* mInput = InputManager::Instance();
};

struct QueueCase {
  const char* name;
  std::vector<InputEvent> before;   // seen by earlier frames
  std::vector<InputEvent> between;  // all of them between two frames
  std::vector<std::string> frames;  // what the frames after them see, one by one
};

class InputQueue : public InputManagerTest, public ::testing::WithParamInterface<QueueCase> {};

TEST_P(InputQueue, EachFrameSeesItsShareInOrder) {
  const QueueCase& c = GetParam();
  Post(c.before);
  while (!mInput->mPending.empty()) Frame();
  Frame();
  Post(c.between);
  for (const std::string& expected : c.frames) EXPECT_EQ(expected, Frame());
  EXPECT_TRUE(mInput->mPending.empty());
}

constexpr int kLeft = GLUT_LEFT_BUTTON, kMiddle = GLUT_MIDDLE_BUTTON, kRight = GLUT_RIGHT_BUTTON;

INSTANTIATE_TEST_SUITE_P(
    Events, InputQueue,
    ::testing::Values(
        // A quick click: the press now, the release in the next frame; nothing is lost.
        QueueCase{"press_and_release",
                  {},
                  {Move(10, 20), Button(kRight, true, 10, 20), Button(kRight, false, 10, 20)},
                  {"right+ at 10,20", "right- at 10,20", "at 10,20"}},
        // The last motion of a drag comes with its release.
        QueueCase{"motion_then_release",
                  {Move(0, 0), Button(kLeft, true, 0, 0)},
                  {Move(30, 0), Move(50, 0), Button(kLeft, false, 50, 0)},
                  {"left- at 50,0", "at 50,0"}},
        // A press is seen where it happened, the motion after it in the next frame.
        QueueCase{"press_then_motion",
                  {},
                  {Move(5, 5), Button(kLeft, true, 5, 5), Move(40, 40)},
                  {"left+ at 5,5", "at 40,40"}},
        // A release and the next press (a double click): each in a frame of its own.
        QueueCase{"release_then_press",
                  {Button(kMiddle, true, 0, 0)},
                  {Button(kMiddle, false, 0, 0), Button(kMiddle, true, 0, 0)},
                  {"middle- at 0,0", "middle+ at 0,0"}},
        // Two buttons: one change a frame.
        QueueCase{"two_buttons",
                  {},
                  {Button(kLeft, true, 0, 0), Button(kRight, true, 0, 0)},
                  {"left+ at 0,0", "right+ at 0,0"}},
        // The same key twice, then other keys: each press counts, and the order holds.
        QueueCase{"keys",
                  {},
                  {Key('a'), Key('a'), Key('b'), Special(100), Special(100), Wheel(0), Wheel(1)},
                  {"key a at 0,0", "key a key b special 100 special 100 wheel 0 at 0,0", "wheel 1 at 0,0"}},
        // Releasing a button that is not held changes nothing and holds nothing back.
        QueueCase{"stray_release", {}, {Button(kLeft, false, 0, 0), Key('k')}, {"key k at 0,0"}},
        // A shortcut with nothing before it that no frame has seen runs at once.
        QueueCase{"shortcut_at_once", {}, {Shortcut('z'), Move(5, 5)}, {"shortcut z at 5,5"}},
        // After a click, the shortcut runs once a frame has seen the release, and the key after
        // it waits behind it.
        QueueCase{"shortcut_after_a_click",
                  {},
                  {Move(10, 20), Button(kLeft, true, 10, 20), Button(kLeft, false, 10, 20), Shortcut('d'),
                   Key('k')},
                  {"left+ at 10,20", "left- at 10,20", "shortcut d key k at 10,20"}},
        // After motion: once a frame has seen the pointer there; shortcuts in a row each wait
        // for the motion between them.
        QueueCase{"shortcuts_after_motion",
                  {},
                  {Move(40, 0), Shortcut('z'), Move(50, 0), Shortcut('x'), Shortcut('c')},
                  {"at 40,0", "shortcut z at 50,0", "shortcut x shortcut c at 50,0"}},
        // A key that is no shortcut by its turn is an ordinary key in its place, which the
        // next shortcut waits for as for any input.
        QueueCase{"no_longer_a_shortcut",
                  {},
                  {Move(1, 1), Shortcut('q'), Shortcut(100, true)},
                  {"at 1,1", "key q at 1,1", "special 100 at 1,1"}}),
    testsupport::CaseName<QueueCase>);

TEST_F(InputManagerTest, TwentyQuickClicksBetweenTwoFramesAreTwentyPressesEachWhereItHappened) {
  for (int i = 0; i < 20; ++i) {
    const float x = 100.0f + 10.0f * static_cast<float>(i);
    Post({Move(x, 300), Button(kRight, true, x, 300), Button(kRight, false, x, 300)});
  }
  std::vector<std::string> presses;
  for (int frame = 0; frame < 45; ++frame) {
    const bool press = mInput->mMouseRight && !mInput->mPrevMouseRight;
    const vec2 at = mInput->mMousePos;
    if (press) presses.push_back(std::to_string(static_cast<int>(at.x)));
    mInput->Update();
  }
  ASSERT_EQ(20u, presses.size());
  for (int i = 0; i < 20; ++i) EXPECT_EQ(std::to_string(100 + 10 * i), presses[static_cast<std::size_t>(i)]);
  EXPECT_EQ(vec2(290.0f, 300.0f), mInput->mClickPos);
}

TEST_F(InputManagerTest, KeyShowsForExactlyOneUpdateThenMovesToPrevious) {
  Post({Key('a')});
  EXPECT_TRUE(mInput->mKeys['a']);
  EXPECT_TRUE(mInput->mAnyKey);
  mInput->Update();
  EXPECT_FALSE(mInput->mKeys['a']);
  EXPECT_TRUE(mInput->mPrevKeys['a']);
  EXPECT_FALSE(mInput->mAnyKey);
  mInput->Update();
  EXPECT_FALSE(mInput->mPrevKeys['a']);
}

// A key stays held from its press to its release, across frames, in the order of the events:
// a press of the left button between them sees it held.
TEST_F(InputManagerTest, AKeyIsHeldFromItsPressToItsRelease) {
  Post({Key(' '), Button(kLeft, true, 0, 0), Button(kLeft, false, 0, 0), KeyUp(' ')});
  EXPECT_TRUE(mInput->mKeysHeld[' ']);
  EXPECT_TRUE(mInput->mMouseLeft);
  mInput->Update();  // the release of the button
  EXPECT_TRUE(mInput->mKeysHeld[' ']);
  mInput->Update();
  EXPECT_FALSE(mInput->mKeysHeld[' ']);
}

TEST_F(InputManagerTest, HeldFlagsAreCopiedAndLeftAlone) {
  Post({Button(kLeft, true, 0, 0)});
  mInput->Update();
  Post({Button(kRight, true, 0, 0)});
  mInput->Update();
  EXPECT_TRUE(mInput->mPrevMouseLeft);
  EXPECT_FALSE(mInput->mPrevMouseMiddle);
  EXPECT_TRUE(mInput->mPrevMouseRight);
  EXPECT_TRUE(mInput->mMouseLeft);  // only a release clears a held flag
}

TEST_F(InputManagerTest, ClickPositionIsTheWholePixelOfThePress) {
  Post({Move(12.75f, 700.5f), Button(kLeft, true, 12.75f, 700.5f)});
  EXPECT_EQ(vec2(12.75f, 700.5f), mInput->mMousePos);
  EXPECT_EQ(vec2(12.0f, 700.0f), mInput->mClickPos);
}

}  // namespace
