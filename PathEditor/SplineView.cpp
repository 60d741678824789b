// Zoom and pan of the editor's view: the wheel about the pointer, Home, and a left drag with
// Space held. The view is no part of the path: no undo step, nothing saved.
#include <GL/freeglut.h>  // the key code of Home

#include "InputManager.h"
#include "SplineEditor.h"
#include "WindowView.h"

void SplineEditor::UpdateView() {
  const InputManager* input = InputManager::Instance();
  WindowView* view = WindowView::Instance();
  for (const InputManager::SpecialKeyPress& press : input->mSpecialKeys)
    if (press.key == GLUT_KEY_HOME) view->ResetView();
  if (input->mWheel == 2) return;
  // Over the bar the wheel zooms nothing: the bar is no part of the scene.
  const glm::ivec2 pointer = view->WindowToPointer(input->mMousePos);
  if (!TwIsOnBar(pointer.x, pointer.y)) view->ZoomAbout(input->mMousePos, input->mWheel == 0);
}

bool SplineEditor::HandlePan() {
  const InputManager* input = InputManager::Instance();
  WindowView* view = WindowView::Instance();
  const bool leftPress = input->mMouseLeft && !input->mPrevMouseLeft;
  if (mPanning && !input->mMouseLeft) mPanning = false;
  if (leftPress && input->mKeysHeld[static_cast<unsigned char>(' ')]) {
    mPanning = true;
    mPanAnchor = view->WindowToScene(input->mMousePos);
  }
  if (mPanning) view->PanTo(mPanAnchor, input->mMousePos);
  return mPanning;
}
