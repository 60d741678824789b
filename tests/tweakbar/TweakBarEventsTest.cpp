// Which GLUT events the tweak-bar layer takes, its shortcuts, and editing through ImGui frames.
#include <GL/freeglut.h>  // GLUT's modifier bits, buttons and button states

#include <limits>

#include "TweakBarFixture.h"
#include "NamedCases.h"

namespace {

int gPresses = 0;
void CountPress(void*) { ++gPresses; }

class TweakBarEventsTest : public TweakBarTest {
protected:
  void SetUp() override {
    TweakBarTest::SetUp();
    gPresses = 0;
    mBar = TwNewBar("Spline");
    TwDefine("'Spline' size='200 300' position='0 0' valueswidth=80 movable=false resizable=false");
  }

  // Press and release with frames in between, as a person clicks.
  void Click(int x, int y) {
    TwEventMouseMotionGLUT(x, y);
    EXPECT_EQ(TwEventMouseButtonGLUT(GLUT_LEFT_BUTTON, GLUT_DOWN, x, y), 1);
    Frames(2);
    EXPECT_EQ(TwEventMouseButtonGLUT(GLUT_LEFT_BUTTON, GLUT_UP, x, y), 1);
    Frames(2);
  }

  // Types keys while the layer should have the keyboard; every one must be taken.
  void Type(const std::string& keys) {
    for (char key : keys) {
      EXPECT_EQ(TwEventKeyboardGLUT(static_cast<unsigned char>(key), 0, 0), 1) << int(key);
      Frames(1);
    }
    Frames(2);
  }

  TwBar* mBar = nullptr;
  // The first entry's row: below the title bar, inside the window padding.
  static constexpr int kFirstRowY = 30;
  static constexpr int kValueX = 160;
};

struct ShortcutCase {
  const char* name;
  const char* key;
  unsigned char glutKey;
  int modifiers;
  bool fires;
};

class Shortcut : public TweakBarEventsTest, public ::testing::WithParamInterface<ShortcutCase> {};

TEST_P(Shortcut, MatchesKeyAndModifiers) {
  const ShortcutCase& c = GetParam();
  const std::string def = std::string("label=Button key=") + c.key;
  ASSERT_EQ(TwAddButton(mBar, "", CountPress, nullptr, def.c_str()), 1);
  gModifiers = c.modifiers;
  EXPECT_EQ(TwEventKeyboardGLUT(c.glutKey, 500, 500), c.fires ? 1 : 0);
  EXPECT_EQ(gPresses, c.fires ? 1 : 0);  // the callback ran inside the event call
}

INSTANTIATE_TEST_SUITE_P(
    Keys, Shortcut,
    ::testing::Values(ShortcutCase{"ctrl_s_as_a_control_code", "CTRL+s", 19, GLUT_ACTIVE_CTRL, true},
                      ShortcutCase{"plain_s_is_not_ctrl_s", "CTRL+s", 's', 0, false},
                      ShortcutCase{"ctrl_alt_s_is_not_ctrl_s", "CTRL+s", 19,
                                   GLUT_ACTIVE_CTRL | GLUT_ACTIVE_ALT, false},
                      ShortcutCase{"z", "z", 'z', 0, true},
                      ShortcutCase{"alt_z_is_not_z", "z", 'z', GLUT_ACTIVE_ALT, false},
                      ShortcutCase{"capital_z_is_not_z", "z", 'Z', GLUT_ACTIVE_SHIFT, false},
                      ShortcutCase{"x_is_not_z", "z", 'x', 0, false},
                      ShortcutCase{"delete", "DEL", 127, 0, true},
                      ShortcutCase{"shift_with_caps_lock_on", "p", 'p', GLUT_ACTIVE_SHIFT, true}),
    testsupport::CaseName<ShortcutCase>);

// A button may answer several shortcuts; a shortcut that names every modifier held wins, so
// Ctrl+Shift+Z redoes where Ctrl+Z undoes, and neither is the plain z of another button.
TEST_F(TweakBarEventsTest, SeveralShortcutsPerButtonAndTheExactOneWins) {
  static std::string pressed;
  pressed.clear();
  auto undo = [](void*) { pressed += "undo "; };
  auto redo = [](void*) { pressed += "redo "; };
  auto push = [](void*) { pressed += "push "; };
  ASSERT_EQ(TwAddButton(mBar, "", push, nullptr, "label='Push Back CP' key=z"), 1);
  ASSERT_EQ(TwAddButton(mBar, "", undo, nullptr, "label='Undo' key=CTRL+z"), 1);
  ASSERT_EQ(TwAddButton(mBar, "", redo, nullptr, "label='Redo' key='CTRL+y CTRL+SHIFT+z'"), 1);
  EXPECT_EQ(TwAddButton(mBar, "", redo, nullptr, "label='Bad' key='CTRL+y CTRL+'"), 0);
  const struct {
    unsigned char glutKey;
    int modifiers;
  } keys[] = {
      {26, GLUT_ACTIVE_CTRL}, {25, GLUT_ACTIVE_CTRL}, {26, GLUT_ACTIVE_CTRL | GLUT_ACTIVE_SHIFT}, {'z', 0}};
  for (const auto& key : keys) {
    gModifiers = key.modifiers;
    EXPECT_EQ(TwEventKeyboardGLUT(key.glutKey, 0, 0), 1);
  }
  EXPECT_EQ(pressed, "undo redo redo push ");
}

TEST_F(TweakBarEventsTest, KeypadDeleteActsLikeDelAndOtherSpecialKeysPassThrough) {
  TwAddButton(mBar, "", CountPress, nullptr, "label='Delete Selected' key=DEL");
  EXPECT_EQ(TwEventSpecialGLUT(111, 0, 0), 1);
  EXPECT_EQ(gPresses, 1);
  EXPECT_EQ(TwEventSpecialGLUT(4, 0, 0), 0);    // F4
  EXPECT_EQ(TwEventSpecialGLUT(114, 0, 0), 0);  // Ctrl alone
}

// A shortcut key asked about and run later, outside the GLUT callbacks: the modifiers are the
// ones given, and while a field is edited the key is no shortcut (the field takes it).
TEST_F(TweakBarEventsTest, AShortcutRunLaterTakesTheModifiersGivenAndNotWhileAFieldIsEdited) {
  std::string filename;
  TwAddVarRW(mBar, "", TW_TYPE_STDSTRING, &filename, "label=Filename");
  TwAddButton(mBar, "", CountPress, nullptr, "label=Save key=CTRL+s");
  TwAddButton(mBar, "", CountPress, nullptr, "label='Delete Selected' key=DEL");
  Frames(1);
  gModifiers = 0;  // what GLUT would say outside its callbacks
  EXPECT_EQ(TwKeyIsShortcut(19, 0, GLUT_ACTIVE_CTRL), 1);
  EXPECT_EQ(TwKeyIsShortcut('s', 0, 0), 0);
  EXPECT_EQ(gPresses, 0);  // asking runs nothing
  EXPECT_EQ(TwRunKeyShortcut(19, 0, GLUT_ACTIVE_CTRL), 1);
  EXPECT_EQ(TwRunKeyShortcut(111, 1, 0), 1);  // keypad Delete
  EXPECT_EQ(gPresses, 2);

  Click(kValueX, kFirstRowY);
  ASSERT_TRUE(tweakbar::State().editing);
  EXPECT_EQ(TwKeyIsShortcut(127, 0, 0), 0);
  EXPECT_EQ(TwRunKeyShortcut(127, 0, 0), 0);
  EXPECT_EQ(gPresses, 2);
}

TEST_F(TweakBarEventsTest, MouseEventsAreTakenOnTheBarAndForTheDragThatBeganThere) {
  EXPECT_EQ(TwEventMouseButtonGLUT(GLUT_LEFT_BUTTON, GLUT_DOWN, 100, 100), 1);
  EXPECT_EQ(TwEventMouseMotionGLUT(600, 400), 1);  // the drag goes on off the bar
  EXPECT_EQ(TwEventMouseButtonGLUT(GLUT_LEFT_BUTTON, GLUT_UP, 600, 400), 1);

  EXPECT_EQ(TwEventMouseButtonGLUT(GLUT_RIGHT_BUTTON, GLUT_DOWN, 600, 400), 0);
  EXPECT_EQ(TwEventMouseMotionGLUT(100, 100), 0);  // a scene drag over the bar stays the scene's
  EXPECT_EQ(TwEventMouseButtonGLUT(GLUT_RIGHT_BUTTON, GLUT_UP, 100, 100), 0);

  EXPECT_EQ(TwEventMouseButtonGLUT(GLUT_LEFT_BUTTON, GLUT_DOWN, 199, 299), 1);  // last pixel of 200 x 300
  EXPECT_EQ(TwEventMouseButtonGLUT(GLUT_LEFT_BUTTON, GLUT_UP, 199, 299), 1);
  EXPECT_EQ(TwEventMouseButtonGLUT(GLUT_LEFT_BUTTON, GLUT_DOWN, 200, 150), 0);
  EXPECT_EQ(TwEventMouseButtonGLUT(GLUT_LEFT_BUTTON, GLUT_UP, 200, 150), 0);
}

TEST_F(TweakBarEventsTest, PressAndReleaseBetweenTwoFramesStillMakeOneClick) {
  TwAddButton(mBar, "", CountPress, nullptr, "label='Save'");
  Frames(1);
  TwEventMouseMotionGLUT(100, kFirstRowY);
  TwEventMouseButtonGLUT(GLUT_LEFT_BUTTON, GLUT_DOWN, 100, kFirstRowY);
  TwEventMouseButtonGLUT(GLUT_LEFT_BUTTON, GLUT_UP, 100, kFirstRowY);
  Frames(3);
  EXPECT_EQ(gPresses, 1);
}

TEST_F(TweakBarEventsTest, TypingIntoAStringFieldCommitsOnEnterAndEscapeIsTaken) {
  std::string filename = "old";
  TwAddVarRW(mBar, "", TW_TYPE_STDSTRING, &filename, "label=Filename");
  TwAddButton(mBar, "", CountPress, nullptr, "label='Clear CP' key=p");
  Frames(1);
  EXPECT_EQ(TwEventKeyboardGLUT('p', 0, 0), 1);  // not editing: the shortcut
  EXPECT_EQ(gPresses, 1);

  Click(kValueX, kFirstRowY);
  ASSERT_TRUE(tweakbar::State().editing);
  // Select all, then type over it; 'p' is text now, and Escape must not reach the program.
  gModifiers = GLUT_ACTIVE_CTRL;
  Type("\x01");
  gModifiers = 0;
  Type("path\r");
  EXPECT_EQ(filename, "path");
  EXPECT_EQ(gPresses, 1);
  EXPECT_FALSE(tweakbar::State().editing);

  Click(kValueX, kFirstRowY);
  Type("xyz");
  EXPECT_EQ(TwEventKeyboardGLUT(27, 0, 0), 1);
  Frames(3);
  EXPECT_EQ(filename, "path");  // Escape gives up the edit
  EXPECT_FALSE(tweakbar::State().editing);
  EXPECT_EQ(TwEventKeyboardGLUT(27, 0, 0), 0);  // and then Escape is the program's again
}

// Ctrl+S while the name is being typed: the name is committed first, then Save runs with it.
// Ctrl with a text-editing letter stays the field's, and so does a shortcut without Ctrl.
TEST_F(TweakBarEventsTest, ACtrlShortcutWhileEditingCommitsTheFieldAndThenRunsItsButton) {
  static std::string filename;
  static std::string savedAs;
  filename = "old";
  savedAs = "none";
  TwAddVarRW(mBar, "", TW_TYPE_STDSTRING, &filename, "label=Filename");
  TwAddButton(
      mBar, "", [](void*) { savedAs = filename; }, nullptr, "label='Save' key=CTRL+s");
  TwAddButton(mBar, "", CountPress, nullptr, "label='Push Back CP' key=z");
  TwAddButton(mBar, "", CountPress, nullptr, "label='Select' key=CTRL+a");
  Frames(1);
  Click(kValueX, kFirstRowY);
  ASSERT_TRUE(tweakbar::State().editing);
  gModifiers = GLUT_ACTIVE_CTRL;
  Type("\x01");  // Ctrl+A selects the field's text; the button with that key does not run
  gModifiers = 0;
  Type("typed z");
  EXPECT_EQ(gPresses, 0);
  EXPECT_EQ(filename, "old");  // not committed yet

  gModifiers = GLUT_ACTIVE_CTRL;
  EXPECT_EQ(TwEventKeyboardGLUT(19, 0, 0), 1);
  gModifiers = 0;
  EXPECT_EQ(savedAs, "none");  // waits for the commit
  Frames(3);
  EXPECT_EQ(filename, "typed z");
  EXPECT_EQ(savedAs, "typed z");
  EXPECT_FALSE(tweakbar::State().editing);
}

TEST_F(TweakBarEventsTest, FloatFieldCommitsTheTypedValueOnceThroughItsSetCallback) {
  struct Value {
    float current = 0;
    int sets = 0;
  } value;
  auto set = [](const void* in, void* data) {
    auto* v = static_cast<Value*>(data);
    v->current = *static_cast<const float*>(in);
    ++v->sets;
  };
  auto get = [](void* out, void* data) { *static_cast<float*>(out) = static_cast<Value*>(data)->current; };
  TwAddVarCB(mBar, "", TW_TYPE_FLOAT, set, get, &value, "label=Rotation step=0.1");
  Frames(1);
  Click(120, kFirstRowY);
  ASSERT_TRUE(tweakbar::State().editing);
  gModifiers = GLUT_ACTIVE_CTRL;
  Type("\x01");
  gModifiers = 0;
  Type("400\r");
  EXPECT_FLOAT_EQ(value.current, 400.0f);
  EXPECT_EQ(value.sets, 1);
}

TEST_F(TweakBarEventsTest, ChoosingFromADropDownListCallsTheSetCallbackWithTheValue) {
  const TwEnumVal files[] = {{0, "a.xml"}, {1, "b.xml"}, {2, "c.xml"}};
  const TwType type = TwDefineEnum("LoadFilenamesEnum", files, 3);
  static int chosen = -1;
  chosen = -1;
  auto set = [](const void* in, void*) { chosen = *static_cast<const int*>(in); };
  auto get = [](void* out, void*) { *static_cast<int*>(out) = 0; };
  TwAddVarCB(mBar, "", type, set, get, nullptr, "label='Load'");
  Frames(1);
  Click(kValueX, kFirstRowY);
  ASSERT_TRUE(tweakbar::State().popupOpen);
  const tweakbar::Rect list = tweakbar::State().popupRect;
  // The list opens below the field; its third row is c.xml.
  const int rowHeight = 16;
  const int x = static_cast<int>(list.x + 10);
  const int y = static_cast<int>(list.y) + 8 + 2 * rowHeight;
  EXPECT_EQ(TwEventMouseButtonGLUT(GLUT_LEFT_BUTTON, GLUT_DOWN, x, y), 1);
  Frames(2);
  EXPECT_EQ(TwEventMouseButtonGLUT(GLUT_LEFT_BUTTON, GLUT_UP, x, y), 1);
  Frames(2);
  EXPECT_EQ(chosen, 2);
  EXPECT_FALSE(tweakbar::State().popupOpen);
}

// The list's owner hears of each opening before the list shows, and may define it anew then.
TEST_F(TweakBarEventsTest, OpeningADropDownListCallsItsOpenCallbackOnceBeforeItShows) {
  const TwEnumVal first[] = {{0, "a.xml"}};
  const TwType type = TwDefineEnum("LoadFilenamesEnum", first, 1);
  static int openings = 0;
  openings = 0;
  auto get = [](void* out, void*) { *static_cast<int*>(out) = -1; };  // nothing chosen yet
  TwAddVarCB(
      mBar, "", type, [](const void*, void*) {}, get, nullptr, "label='Load'");
  auto relist = [](void*) {
    ++openings;
    const TwEnumVal now[] = {{0, "a.xml"}, {1, "made-meanwhile.xml"}};
    TwDefineEnum("LoadFilenamesEnum", now, 2);
  };
  EXPECT_EQ(TwSetListOpenCallback(mBar, "Load", relist, nullptr), 1);
  EXPECT_EQ(TwSetListOpenCallback(mBar, "Nothing", relist, nullptr), 0);
  ASSERT_EQ(gErrors.size(), 1u);
  Frames(3);
  EXPECT_EQ(openings, 0);

  Click(kValueX, kFirstRowY);
  ASSERT_TRUE(tweakbar::State().popupOpen);
  Frames(3);
  EXPECT_EQ(openings, 1);  // once per opening, not once per frame
  EXPECT_EQ(tweakbar::EnumLabels(type), (std::vector<std::string>{"a.xml", "made-meanwhile.xml"}));
  // Two rows now: the list grew to show the entry made while it was closed.
  EXPECT_GT(tweakbar::State().popupRect.height, 30.0f);
}

// Keys faster than the frames: a BackSpace pressed again before ImGui saw the last one let go
// still counts, and text typed right after the click that opens the field goes into it.
TEST_F(TweakBarEventsTest, EveryKeyOfABurstCountsFromTheClickThatOpensTheField) {
  std::string filename = "keep";
  TwAddVarRW(mBar, "", TW_TYPE_STDSTRING, &filename, "label=Filename");
  TwAddButton(mBar, "", CountPress, nullptr, "label='Push Back CP' key=z");
  Frames(1);
  TwEventMouseMotionGLUT(kValueX, kFirstRowY);
  TwEventMouseButtonGLUT(GLUT_LEFT_BUTTON, GLUT_DOWN, kValueX, kFirstRowY);
  TwEventMouseButtonGLUT(GLUT_LEFT_BUTTON, GLUT_UP, kValueX, kFirstRowY);
  for (char key : std::string("zzzz"))
    EXPECT_EQ(TwEventKeyboardGLUT(static_cast<unsigned char>(key), 0, 0), 1);
  for (int i = 0; i < 5; ++i) EXPECT_EQ(TwEventKeyboardGLUT(8, 0, 0), 1);  // BackSpace
  for (int i = 0; i < 2; ++i) EXPECT_EQ(TwEventSpecialGLUT(GLUT_KEY_LEFT, 0, 0), 1);
  EXPECT_EQ(TwEventKeyboardGLUT('_', 0, 0), 1);
  EXPECT_EQ(TwEventKeyboardGLUT(13, 0, 0), 1);
  Frames(40);
  EXPECT_EQ(filename, "k_ee");  // keep, zzzz at the end, five BackSpaces, two to the left, _
  EXPECT_EQ(gPresses, 0);
}

// A press of any button outside the bars while a field is edited commits the field before the
// call returns, so the program acts on the press with the value set; the press is the program's.
TEST_F(TweakBarEventsTest, APressOfAnyButtonOutsideTheBarsCommitsTheEditFirst) {
  for (const int button : {GLUT_LEFT_BUTTON, GLUT_MIDDLE_BUTTON, GLUT_RIGHT_BUTTON}) {
    SCOPED_TRACE(button);
    TwTerminate();
    SetUp();
    std::string filename = "old";
    TwAddVarRW(mBar, "", TW_TYPE_STDSTRING, &filename, "label=Filename");
    Frames(1);
    Click(kValueX, kFirstRowY);
    Type("new");
    ASSERT_TRUE(tweakbar::State().editing);
    TwEventMouseMotionGLUT(600, 400);
    EXPECT_EQ(TwEventMouseButtonGLUT(button, GLUT_DOWN, 600, 400), 0);
    EXPECT_EQ(filename, "oldnew");
    EXPECT_FALSE(tweakbar::State().editing);
    EXPECT_EQ(TwEventMouseButtonGLUT(button, GLUT_UP, 600, 400), 0);
    EXPECT_EQ(TwEventKeyboardGLUT('z', 0, 0), 0);  // the keys are the program's again
  }
}

TEST_F(TweakBarEventsTest, EscapeClosesAnOpenListAndOnlyThenIsTheProgramsOwn) {
  const TwEnumVal files[] = {{0, "a.xml"}, {1, "b.xml"}};
  const TwType type = TwDefineEnum("LoadFilenamesEnum", files, 2);
  static int chosen = -1;
  chosen = -1;
  TwAddVarCB(
      mBar, "", type, [](const void* in, void*) { chosen = *static_cast<const int*>(in); },
      [](void* out, void*) { *static_cast<int*>(out) = 0; }, nullptr, "label='Load'");
  Frames(1);
  // The click that opens the list and both Escapes, faster than the frames.
  TwEventMouseMotionGLUT(kValueX, kFirstRowY);
  TwEventMouseButtonGLUT(GLUT_LEFT_BUTTON, GLUT_DOWN, kValueX, kFirstRowY);
  TwEventMouseButtonGLUT(GLUT_LEFT_BUTTON, GLUT_UP, kValueX, kFirstRowY);
  EXPECT_EQ(TwEventKeyboardGLUT(27, 0, 0), 1);
  EXPECT_EQ(TwEventKeyboardGLUT(27, 0, 0), 0);
  EXPECT_FALSE(tweakbar::State().popupOpen);
  Frames(3);
  EXPECT_FALSE(tweakbar::State().popupOpen);
  EXPECT_EQ(chosen, -1);  // closing chose nothing
}

// A window lower than the bar cuts it at the window's edge; it scrolls, so its last entry can
// still be reached, and it has its height back when the window grows.
TEST_F(TweakBarEventsTest, ABarLowerThanTheWindowIsCutAndScrollsToItsLastEntry) {
  for (int i = 0; i < 15; ++i) TwAddButton(mBar, "", nullptr, nullptr, "label=Filler");
  TwAddButton(mBar, "", CountPress, nullptr, "label=Last");
  TwDefine("'Spline' size='200 400'");
  TwWindowSize(800, 200);
  Frames(2);
  const TwBar* bar = tweakbar::InspectBar("Spline");
  EXPECT_EQ(bar->shown.height, 200);
  EXPECT_EQ(TwIsOnBar(100, 199), 1);
  EXPECT_EQ(TwIsOnBar(100, 250), 0);  // below the window: nothing of the bar there
  // The scroll bar runs along the right edge; dragged to the bottom, it shows the last entry.
  TwEventMouseMotionGLUT(195, 40);
  TwEventMouseButtonGLUT(GLUT_LEFT_BUTTON, GLUT_DOWN, 195, 40);
  Frames(2);
  TwEventMouseMotionGLUT(195, 400);
  Frames(2);
  TwEventMouseButtonGLUT(GLUT_LEFT_BUTTON, GLUT_UP, 195, 400);
  Frames(2);
  for (int y = 190; y > 20 && gPresses == 0; y -= 4) Click(100, y);  // the bottom row first
  EXPECT_EQ(gPresses, 1);
  TwWindowSize(1024, 768);
  Frames(2);
  EXPECT_EQ(bar->shown.height, 400);
}

// A switch turns over with a click; a float that is not a number shows an empty field that
// takes no typing and whose - and + do nothing.
TEST_F(TweakBarEventsTest, ASwitchTurnsOverAndAValueThatIsNotANumberTakesNoInput) {
  static bool on = false;
  static int sets = 0;
  on = false;
  sets = 0;
  auto setSwitch = [](const void* in, void*) { on = *static_cast<const bool*>(in); };
  auto getSwitch = [](void* out, void*) { *static_cast<bool*>(out) = on; };
  auto setFloat = [](const void*, void*) { ++sets; };
  auto getNothing = [](void* out, void*) {
    *static_cast<float*>(out) = std::numeric_limits<float>::quiet_NaN();
  };
  ASSERT_EQ(TwAddVarCB(mBar, "", TW_TYPE_BOOLCPP, setSwitch, getSwitch, nullptr, "label=Snap"), 1);
  ASSERT_EQ(TwAddVarCB(mBar, "", TW_TYPE_FLOAT, setFloat, getNothing, nullptr, "label=X"), 1);
  Frames(1);
  Click(122, kFirstRowY);
  EXPECT_TRUE(on);
  Click(122, kFirstRowY);
  EXPECT_FALSE(on);

  const int secondRowY = kFirstRowY + 20;
  Click(120, secondRowY);
  EXPECT_FALSE(tweakbar::State().editing);
  EXPECT_EQ(TwEventKeyboardGLUT('5', 0, 0), 0);  // not taken: nothing is being edited
  Click(185, secondRowY);                        // the + button
  EXPECT_EQ(sets, 0);
}

}  // namespace
