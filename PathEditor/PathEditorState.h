// The editor's one game state: the path being edited, its frame rectangle, and the per-frame
// update.
#pragma once

#include "GameState.h"
#include "Singleton.h"
#include "SplineEditor.h"
#include "glm_types.h"

class PathEditorState : public GameState, public Singleton<PathEditorState> {
public:
  ~PathEditorState() override = default;

  // The frame rectangle, then the path: mouse handling, samples and drawing.
  void Update() override;
  // Leaving the editor (the program ends): unsaved edits stay in the recovery file, named on
  // the console.
  void Unload() override;

  SplineEditor mEditor;  // the path, its files and its bar
  vec2 mFrameCenter;     // centre of the frame rectangle; never changed

private:
  friend class Singleton<PathEditorState>;
  PathEditorState();
};
