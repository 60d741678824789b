// Keyboard and mouse state that game states read during their Update.
#pragma once

#include <cstdint>
#include <vector>

#include "Singleton.h"
#include "SubSystem.h"
#include "glm_types.h"

// Raw mouse values written by the GLUT callbacks between frames and copied by Update.
extern float gMouseX;         // x at the last motion or passive-motion event
extern float gMouseY;         // window height minus y at that event
extern std::int32_t gClickX;  // gMouseX truncated at the last button press
extern std::int32_t gClickY;  // gMouseY truncated at the last button press

class InputManager : public SubSystem, public Singleton<InputManager> {
public:
  // Rolls the state over to the next frame.
  void Update() override;

  bool mKeys[256] = {};
  bool mPrevKeys[256] = {};
  bool mMouseLeft = false;
  bool mMouseRight = false;
  bool mMouseMiddle = false;
  bool mPrevMouseLeft = false;
  bool mPrevMouseRight = false;
  bool mPrevMouseMiddle = false;
  vec2 mMousePos = vec2(0.0f, 0.0f);  // window pixels, y up
  vec2 mClickPos = vec2(0.0f, 0.0f);
  glm::ivec2 mLockPos = glm::ivec2(0, 0);
  std::int32_t mWheel = 2;  // 0 forward, 1 backward, 2 none
  bool mLockCursor = false;
  bool mCursorVisible = true;
  bool mAnyKey = false;

  // Special keys (arrows, function keys, ...) that no bar took since the last roll-over, each
  // with the GLUT modifier bits held when it came.
  struct SpecialKeyPress {
    int key;
    int modifiers;
  };
  std::vector<SpecialKeyPress> mSpecialKeys;
  bool mCtrlHeld = false;  // Ctrl is down, as its own key events and the last button event tell

private:
  friend class Singleton<InputManager>;
  InputManager() = default;
};
