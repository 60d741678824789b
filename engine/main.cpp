// Demo: the path editor. Start-up, the main loop, then every subsystem's shutdown in order.
#include <GL/freeglut.h>

#include "GameStateManager.h"
#include "PathEditorState.h"
#include "System.h"

int main(int argc, char** argv) {
  System* system = System::Instance();
  system->Init(argc, argv);

  // Constructing the editor state builds its bar, so the tweak-bar layer must be up by now.
  GameStateManager::Instance()->mNextState = PathEditorState::Instance();
  GameStateManager::Instance()->mCommand = Change;

  glutMainLoop();

  for (SubSystem* subSystem : system->mSubSystems) subSystem->Shutdown();
  return 0;
}
