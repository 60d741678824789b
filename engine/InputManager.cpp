// The input state: events handed to the frames in order, and the roll-over once per frame.
#include "InputManager.h"

#include <GL/freeglut.h>

#include <algorithm>
#include <iterator>

#include "WindowView.h"

float gMouseX = 0.0f;
float gMouseY = 0.0f;
std::int32_t gClickX = 0;
std::int32_t gClickY = 0;

void InputManager::Post(const InputEvent& event) {
  if (mPending.empty() && Apply(event)) return;
  mPending.push_back(event);
}

bool InputManager::Apply(const InputEvent& event) {
  if (event.kind == InputEvent::Shortcut) {
    // A shortcut acts on what the frames made of the input before it (the point a click
    // selected, where the pointer went, the drag a release ended).
    if (mAwaitingFrame) return false;
    if (mRunShortcut != nullptr && mRunShortcut(event)) return true;
    InputEvent key = event;
    key.kind = event.special ? InputEvent::SpecialKey : InputEvent::Key;
    return Apply(key);
  }
  const bool applied = ApplyToState(event);
  mAwaitingFrame = mAwaitingFrame || applied;
  return applied;
}

bool InputManager::ApplyToState(const InputEvent& event) {
  // A frame ends its share with a button's press or release, so that it sees the pointer where
  // the press or release happened and the state before the next one.
  if (mButtonChanged) return false;
  switch (event.kind) {
    case InputEvent::Motion: mMousePos = event.position; return true;
    case InputEvent::Button: {
      bool* held = event.button == GLUT_LEFT_BUTTON     ? &mMouseLeft
                   : event.button == GLUT_MIDDLE_BUTTON ? &mMouseMiddle
                   : event.button == GLUT_RIGHT_BUTTON  ? &mMouseRight
                                                        : nullptr;
      if (held == nullptr || *held == event.down) return true;  // nothing changes
      *held = event.down;
      if (event.down) mClickPos = vec2(glm::ivec2(event.position));  // whole pixels, truncated
      mButtonChanged = true;
      return true;
    }
    case InputEvent::Key: {
      bool& key = mKeys[event.key & 255];
      if (key) return false;  // pressed again: the next frame sees it
      key = true;
      mKeysHeld[event.key & 255] = true;
      mAnyKey = true;
      return true;
    }
    case InputEvent::KeyUp: mKeysHeld[event.key & 255] = false; return true;
    case InputEvent::SpecialKey:
      mSpecialKeys.push_back(SpecialKeyPress{event.key, event.modifiers});
      return true;
    case InputEvent::Wheel:
      if (mWheel != 2) return false;
      mWheel = event.wheel;
      return true;
    case InputEvent::Shortcut: return false;  // never state: Apply runs it
  }
  return true;
}

void InputManager::Update() {
  std::copy(std::begin(mKeys), std::end(mKeys), std::begin(mPrevKeys));
  mPrevMouseLeft = mMouseLeft;
  mPrevMouseRight = mMouseRight;
  mPrevMouseMiddle = mMouseMiddle;
  std::fill(std::begin(mKeys), std::end(mKeys), false);
  mAnyKey = false;
  mSpecialKeys.clear();
  mWheel = 2;
  mButtonChanged = false;
  mAwaitingFrame = false;  // the frame that just ran has acted on all of it
  if (mLockCursor) {
    const glm::ivec2 pointer = WindowView::Instance()->WindowToPointer(vec2(mLockPos));
    glutWarpPointer(pointer.x, pointer.y);
  }
  // The next frame's share of what is waiting.
  while (!mPending.empty() && Apply(mPending.front())) mPending.pop_front();
}
