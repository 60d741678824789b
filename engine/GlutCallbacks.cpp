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
#include "WindowView.h"

namespace {

// Escape or Alt+F4 among the keys this frame has seen.
bool QuitKeySeen(const InputManager& input) {
  if (input.mKeys[27]) return true;
  for (const InputManager::SpecialKeyPress& press : input.mSpecialKeys)
    if (press.key == GLUT_KEY_F4 && press.modifiers == GLUT_ACTIVE_ALT) return true;
  return false;
}

}  // namespace

void OnFrame() {
  InputManager* input = InputManager::Instance();
  GameStateManager::Instance()->Update();
  // Escape, Alt+F4 and the exit signals leave the main loop here, once a frame has acted on
  // every input that came before them: a click or the end of a drag just before is kept.
  if (QuitKeySeen(*input) || (ExitSignalled() && input->mPending.empty())) {
    glutLeaveMainLoop();
    return;
  }
  input->Update();
  ObjectManager::Instance()->Update();
  GraphicsManager::Instance()->RenderFrame(ObjectManager::Instance()->mRenderList);
}

void OnReshape(int width, int height) {
  // The frame takes the new size for its viewport and projection; the bars stay at the top left.
  WindowView::Instance()->Resize(width, height);
  TwWindowSize(WindowView::Instance()->Width(), WindowView::Instance()->Height());
}

namespace {

// A bar's shortcut key goes into the queue of scene input, so that it acts on what the input
// before it did (the point a click selected, where the pointer went, the drag a release ended)
// however many events came between two frames. True when the key is one.
bool PostShortcut(int key, bool special) {
  const int modifiers = glutGetModifiers();  // valid only inside the input callback
  if (!TwKeyIsShortcut(key, special ? 1 : 0, modifiers)) return false;
  InputEvent event;
  event.kind = InputEvent::Shortcut;
  event.key = key;
  event.special = special;
  event.modifiers = modifiers;
  InputManager::Instance()->Post(event);
  return true;
}

}  // namespace

bool RunQueuedShortcut(const InputEvent& event) {
  return TwRunKeyShortcut(event.key, event.special ? 1 : 0, event.modifiers) != 0;
}

void OnKeyboard(unsigned char key, int x, int y) {
  if (PostShortcut(key, false)) return;
  if (TwEventKeyboardGLUT(key, x, y)) return;
  InputEvent event;
  event.kind = InputEvent::Key;
  event.key = key;
  InputManager::Instance()->Post(event);  // Escape ends the program in the frame that sees it
}

// A key let go, whoever took its press: a key held (Space) is let go for the frames too.
void OnKeyboardUp(unsigned char key, int /*x*/, int /*y*/) {
  InputEvent event;
  event.kind = InputEvent::KeyUp;
  event.key = key;
  InputManager::Instance()->Post(event);
}

namespace {

bool IsCtrl(int key) { return key == GLUT_KEY_CTRL_L || key == GLUT_KEY_CTRL_R; }

}  // namespace

void OnSpecialKey(int key, int x, int y) {
  std::cout << key << std::endl;
  InputManager* input = InputManager::Instance();
  if (IsCtrl(key)) input->mCtrlHeld = true;  // whoever takes the key, Ctrl is down
  if (PostShortcut(key, true)) return;
  if (TwEventSpecialGLUT(key, x, y)) return;
  // Alt+F4 ends the program in the frame that sees it.
  InputEvent event;
  event.kind = InputEvent::SpecialKey;
  event.key = key;
  event.modifiers = glutGetModifiers();
  input->Post(event);
}

void OnSpecialKeyUp(int key, int /*x*/, int /*y*/) {
  if (IsCtrl(key)) InputManager::Instance()->mCtrlHeld = false;
}

void OnMouseButton(int button, int state, int x, int y) {
  InputManager* input = InputManager::Instance();
  input->mCtrlHeld = (glutGetModifiers() & GLUT_ACTIVE_CTRL) != 0;
  if (TwEventMouseButtonGLUT(button, state, x, y)) return;
  InputEvent event;
  event.kind = InputEvent::Button;
  event.button = button;
  event.down = state == GLUT_DOWN;
  // The click lands where the last motion event left the pointer.
  event.position = vec2(gMouseX, gMouseY);
  if (event.down) {
    gClickX = static_cast<std::int32_t>(gMouseX);
    gClickY = static_cast<std::int32_t>(gMouseY);
  }
  input->Post(event);
}

namespace {

void PostMotion(int x, int y) {
  const vec2 window = WindowView::Instance()->PointerToWindow(x, y);
  gMouseX = window.x;
  gMouseY = window.y;
  InputEvent event;
  event.kind = InputEvent::Motion;
  event.position = window;
  InputManager::Instance()->Post(event);
}

}  // namespace

void OnMotion(int x, int y) {
  if (TwEventMouseMotionGLUT(x, y)) return;
  PostMotion(x, y);
}

void OnPassiveMotion(int x, int y) { PostMotion(x, y); }

void OnMouseWheel(int /*wheel*/, int direction, int /*x*/, int /*y*/) {
  CameraManager::Instance();
  InputEvent event;
  event.kind = InputEvent::Wheel;
  event.wheel = direction > 0 ? 0 : 1;
  InputManager::Instance()->Post(event);
}
