// The frame and the event callbacks that GLUT calls on the main thread.
#include <GL/freeglut.h>

#include <iostream>

#include "CameraManager.h"
#include "ExitSignals.h"
#include "GameStateManager.h"
#include "GraphicsManager.h"
#include "InputManager.h"
#include "ObjectManager.h"
#include "System.h"
#include "TweakBar.h"

void OnFrame() {
  // A signal to end comes through here, where leaving the main loop is safe.
  if (ExitSignalled()) {
    glutLeaveMainLoop();
    return;
  }
  GameStateManager::Instance()->Update();
  InputManager::Instance()->Update();
  ObjectManager::Instance()->Update();
  GraphicsManager::Instance()->RenderFrame(ObjectManager::Instance()->mRenderList);
}

void OnKeyboard(unsigned char key, int x, int y) {
  if (TwEventKeyboardGLUT(key, x, y)) return;
  InputManager* input = InputManager::Instance();
  input->mAnyKey = true;
  input->mKeys[key & 255] = true;
  if (key == 27) glutLeaveMainLoop();
}

namespace {

bool IsCtrl(int key) { return key == GLUT_KEY_CTRL_L || key == GLUT_KEY_CTRL_R; }

}  // namespace

void OnSpecialKey(int key, int x, int y) {
  std::cout << key << std::endl;
  InputManager* input = InputManager::Instance();
  if (IsCtrl(key)) input->mCtrlHeld = true;  // whoever takes the key, Ctrl is down
  if (TwEventSpecialGLUT(key, x, y)) return;
  if (key == GLUT_KEY_F4 && glutGetModifiers() == GLUT_ACTIVE_ALT) glutLeaveMainLoop();
  input->mSpecialKeys.push_back(InputManager::SpecialKeyPress{key, glutGetModifiers()});
}

void OnSpecialKeyUp(int key, int /*x*/, int /*y*/) {
  if (IsCtrl(key)) InputManager::Instance()->mCtrlHeld = false;
}

void OnMouseButton(int button, int state, int x, int y) {
  InputManager* input = InputManager::Instance();
  input->mCtrlHeld = (glutGetModifiers() & GLUT_ACTIVE_CTRL) != 0;
  if (TwEventMouseButtonGLUT(button, state, x, y)) return;
  const bool down = state == GLUT_DOWN;
  // The click lands where the last motion event left the pointer.
  if (down) {
    gClickX = static_cast<std::int32_t>(gMouseX);
    gClickY = static_cast<std::int32_t>(gMouseY);
  }
  if (button == GLUT_LEFT_BUTTON) input->mMouseLeft = down;
  if (button == GLUT_MIDDLE_BUTTON) input->mMouseMiddle = down;
  if (button == GLUT_RIGHT_BUTTON) input->mMouseRight = down;
}

void OnMotion(int x, int y) {
  if (TwEventMouseMotionGLUT(x, y)) return;
  gMouseX = static_cast<float>(x);
  gMouseY = static_cast<float>(glutGet(GLUT_WINDOW_HEIGHT) - y);
}

void OnPassiveMotion(int x, int y) {
  gMouseX = static_cast<float>(x);
  gMouseY = static_cast<float>(glutGet(GLUT_WINDOW_HEIGHT) - y);
}

void OnMouseWheel(int /*wheel*/, int direction, int /*x*/, int /*y*/) {
  CameraManager::Instance();
  InputManager::Instance()->mWheel = direction > 0 ? 0 : 1;
}
