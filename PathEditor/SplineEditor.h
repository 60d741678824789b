// Editing one path in the window: the path, its files, the "Spline" bar that shows them, and
// each frame's mouse handling and drawing.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "CubicBSpline.h"
#include "PathFiles.h"
#include "TweakBar.h"
#include "glm_types.h"

class SplineEditor {
public:
  // Builds the "Spline" bar and the first Load listing; the tweak-bar layer must be up.
  SplineEditor();
  ~SplineEditor();
  SplineEditor(const SplineEditor&) = delete;
  SplineEditor& operator=(const SplineEditor&) = delete;

  // Per frame: the pointer, mouse handling, sample rebuild and drawing.
  void Update();
  // Appends the curve, the start point, the control points and their labels to the batches.
  void SubmitDrawing();

  // What the bar's entries do.
  void Save();
  void Load(std::uint32_t index);
  // Lists the working folder into the Load list.
  void RefreshLoadList();

  CubicBSpline mSpline;
  PathFiles mFiles;
  TwBar* mBar = nullptr;
  vec2 mLastMousePos = vec2(0.0f, 0.0f);  // the pointer at the end of the previous Update
  // Where the bar's Push Back and Insert buttons place a point: the pointer's last window
  // position outside the bar (the frame's centre until the pointer has been in the scene).
  vec2 mLastScenePointer;

private:
  void BuildBar();
  void HandleMouse();
};

// (Re)defines "LoadFilenamesEnum" with value i labelled names[i] and returns its type.
TwType DefineLoadEnum(const std::vector<std::string>& names);
