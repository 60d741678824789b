// Start-up of Demo: the window and its callbacks, GLEW, the tweak-bar layer, the subsystems.
#include "System.h"

#include <GL/glew.h>
#include <GL/freeglut.h>

#include "ExitSignals.h"
#include "GUIManager.h"
#include "GameStateManager.h"
#include "GraphicsManager.h"
#include "InputManager.h"
#include "ObjectManager.h"
#include "TweakBar.h"
#include "WindowView.h"

void System::InitWindow(int& argc, char** argv) {
  glutInit(&argc, argv);
  glutInitContextVersion(2, 0);
  glutInitDisplayMode(GLUT_RGBA | GLUT_DOUBLE | GLUT_DEPTH | GLUT_STENCIL | GLUT_MULTISAMPLE);
  glutInitWindowSize(gWindowWidth, gWindowHeight);
  glutInitWindowPosition(100, 100);
  glutCreateWindow("Veyrun Path Editor");
  glutDisplayFunc(OnFrame);
  glutReshapeFunc(OnReshape);
  glutIdleFunc(OnFrame);
  glutKeyboardFunc(OnKeyboard);
  glutKeyboardUpFunc(OnKeyboardUp);
  glutMouseFunc(OnMouseButton);
  glutMotionFunc(OnMotion);
  glutPassiveMotionFunc(OnPassiveMotion);
  glutMouseWheelFunc(OnMouseWheel);
  // Closing the window ends the main loop instead of the process, so shutdown still runs.
  glutSetOption(GLUT_ACTION_ON_WINDOW_CLOSE, GLUT_ACTION_GLUTMAINLOOP_RETURNS);
  TwGLUTModifiersFunc(glutGetModifiers);
  glutSpecialFunc(OnSpecialKey);
  glutSpecialUpFunc(OnSpecialKeyUp);  // only for Ctrl, which snaps a drag while it is held
  glewInit();
}

void System::Init(int& argc, char** argv) {
  InstallExitSignals();
  InitWindow(argc, argv);
  GUIManager::Instance();
  TwInit(TW_OPENGL, nullptr);
  TwWindowSize(gWindowWidth, gWindowHeight);  // and again whenever the window is resized
  TwCopyStdStringToClientFunc(CopyStdStringToClient);
  TwHandleErrors(OnTweakBarError);
  AddSubSystem(GameStateManager::Instance());
  AddSubSystem(InputManager::Instance());
  InputManager::Instance()->mRunShortcut = RunQueuedShortcut;
  AddSubSystem(ObjectManager::Instance());
  AddSubSystem(GraphicsManager::Instance());
}

void System::AddSubSystem(SubSystem* subSystem) {
  mSubSystems.push_back(subSystem);
  subSystem->Initialize();
}
