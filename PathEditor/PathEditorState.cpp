// The editor state's frame: the white frame rectangle, then the path's own update.
#include "PathEditorState.h"

#include "GraphicsManager.h"
#include "PathFrame.h"

PathEditorState::PathEditorState() : mFrameCenter(gFrameCenter) {}

void PathEditorState::Update() {
  const vec4 white(1.0f, 1.0f, 1.0f, 1.0f);
  const float left = mFrameCenter.x - gFrameHalfWidth;
  const float right = mFrameCenter.x + gFrameHalfWidth;
  const float bottom = mFrameCenter.y - gFrameHalfHeight;
  const float top = mFrameCenter.y + gFrameHalfHeight;
  const float z = gOverlayZ;
  GraphicsManager* graphics = GraphicsManager::Instance();
  graphics->DrawLine(vec3(left, bottom, z), vec3(right, bottom, z), white);
  graphics->DrawLine(vec3(right, top, z), vec3(right, bottom, z), white);
  graphics->DrawLine(vec3(right, top, z), vec3(left, top, z), white);
  graphics->DrawLine(vec3(left, bottom, z), vec3(left, top, z), white);
  mEditor.Update();
}

void PathEditorState::Unload() { mEditor.KeepUnsavedEdits(); }
