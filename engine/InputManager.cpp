// Rolls the input state over once per frame, after the game state has read it.
#include "InputManager.h"

#include <GL/freeglut.h>

#include <algorithm>
#include <iterator>

float gMouseX = 0.0f;
float gMouseY = 0.0f;
std::int32_t gClickX = 0;
std::int32_t gClickY = 0;

void InputManager::Update() {
  std::copy(std::begin(mKeys), std::end(mKeys), std::begin(mPrevKeys));
  mPrevMouseLeft = mMouseLeft;
  mPrevMouseRight = mMouseRight;
  mPrevMouseMiddle = mMouseMiddle;
  std::fill(std::begin(mKeys), std::end(mKeys), false);
  mAnyKey = false;
  mSpecialKeys.clear();
  mWheel = 2;
  if (mLockCursor) {
    glutWarpPointer(mLockPos.x, glutGet(GLUT_WINDOW_HEIGHT) - mLockPos.y);
  }
  mClickPos = vec2(static_cast<float>(gClickX), static_cast<float>(gClickY));
  mMousePos = vec2(gMouseX, gMouseY);
}
