// Keyboard and mouse state that game states read during their Update.
#pragma once

#include <cstdint>
#include <deque>
#include <vector>

#include "Singleton.h"
#include "SubSystem.h"
#include "glm_types.h"

// Raw mouse values written by the GLUT callbacks as the events come.
extern float gMouseX;         // x at the last motion or passive-motion event
extern float gMouseY;         // window height minus y at that event
extern std::int32_t gClickX;  // gMouseX truncated at the last button press
extern std::int32_t gClickY;  // gMouseY truncated at the last button press

// One event from the window that no bar took, as the callbacks hand it over.
struct InputEvent {
  enum Kind { Motion, Button, Key, KeyUp, SpecialKey, Wheel, Shortcut } kind = Motion;
  vec2 position = vec2(0.0f);  // Motion: the pointer; Button: where the last motion left it
  int button = 0;              // Button: GLUT's number, 0 left, 1 middle, 2 right
  bool down = false;           // Button: pressed rather than released
  int key = 0;                 // Key, KeyUp: the character; SpecialKey: GLUT's code
  int modifiers = 0;           // SpecialKey, Shortcut: GLUT's modifier bits held
  bool special = false;        // Shortcut: the key is a special key's code, not a character
  std::int32_t wheel = 2;      // Wheel: 0 rolled forward, 1 backward
};

class InputManager : public SubSystem, public Singleton<InputManager> {
public:
  // Rolls the state over to the next frame, which then sees the events held back for it.
  void Update() override;

  // Hands an event to the frames. A frame sees every event in the order they came, up to the
  // first button press or release: the events after that one, a key pressed again or a second
  // wheel notch wait in mPending for the next frame. So a press and its release between two
  // frames are seen in two frames, every press counts, and each press or release is seen with
  // the pointer where it happened.
  // A button's shortcut key waits, with everything after it, until a frame has acted on every
  // event before it; then mRunShortcut runs it, or, when it is no shortcut by then, it is the
  // ordinary key it would have been in its place.
  void Post(const InputEvent& event);

  // Runs a Shortcut event's button; false when the key runs none now (a field is edited).
  bool (*mRunShortcut)(const InputEvent& event) = nullptr;

  bool mKeys[256] = {};
  bool mPrevKeys[256] = {};
  bool mKeysHeld[256] = {};  // down now, as this frame sees the keys (Space held pans the view)
  bool mMouseLeft = false;
  bool mMouseRight = false;
  bool mMouseMiddle = false;
  bool mPrevMouseLeft = false;
  bool mPrevMouseRight = false;
  bool mPrevMouseMiddle = false;
  vec2 mMousePos = vec2(0.0f, 0.0f);  // window pixels, y up, as this frame sees the pointer
  vec2 mClickPos = vec2(0.0f, 0.0f);  // where the last press this frame sees happened
  glm::ivec2 mLockPos = glm::ivec2(0, 0);
  std::int32_t mWheel = 2;  // 0 forward, 1 backward, 2 none
  bool mLockCursor = false;
  bool mCursorVisible = true;
  bool mAnyKey = false;

  // Special keys (arrows, function keys, ...) that no bar took, this frame's share of them,
  // each with the GLUT modifier bits held when it came.
  struct SpecialKeyPress {
    int key;
    int modifiers;
  };
  std::vector<SpecialKeyPress> mSpecialKeys;
  bool mCtrlHeld = false;  // Ctrl is down, as its own key events and the last button event tell

  std::deque<InputEvent> mPending;  // events held back for later frames, oldest first
  bool mButtonChanged = false;      // this frame has seen a button pressed or released
  bool mAwaitingFrame = false;      // events are in this state that no frame has acted on yet

private:
  friend class Singleton<InputManager>;
  InputManager() = default;

  // Makes the event part of what this frame sees, or runs the shortcut it is; false when it
  // must wait for the next frame.
  bool Apply(const InputEvent& event);
  bool ApplyToState(const InputEvent& event);
};
