// The window, the GLUT callbacks and the registered subsystems of Demo.
#pragma once

#include <vector>

#include "Singleton.h"
#include "SubSystem.h"

class System : public Singleton<System> {
public:
  // Window, GLUT, GLEW and the tweak-bar layer, then the four subsystems.
  void Init(int& argc, char** argv);
  // Appends the subsystem and initialises it at once.
  void AddSubSystem(SubSystem* subSystem);
  // The GLUT and GLEW part of Init.
  void InitWindow(int& argc, char** argv);

  std::vector<SubSystem*> mSubSystems;  // not owned: every subsystem is a singleton

private:
  friend class Singleton<System>;
  System() = default;
};

// GLUT callbacks. The tweak-bar layer sees each event first; what it does not take reaches
// the input manager.
void OnFrame();
void OnReshape(int width, int height);
void OnKeyboard(unsigned char key, int x, int y);
void OnKeyboardUp(unsigned char key, int x, int y);
void OnSpecialKey(int key, int x, int y);
void OnSpecialKeyUp(int key, int x, int y);
void OnMouseButton(int button, int state, int x, int y);
void OnMotion(int x, int y);
void OnPassiveMotion(int x, int y);
void OnMouseWheel(int wheel, int direction, int x, int y);

// Runs a bar's shortcut key whose turn has come in the input manager's queue.
struct InputEvent;
bool RunQueuedShortcut(const InputEvent& event);
