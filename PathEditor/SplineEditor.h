// Editing one path in the window: the path, its files, the "Spline" bar that shows them, and
// each frame's mouse handling and drawing.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "CubicBSpline.h"
#include "EditHistory.h"
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

  // Runs an edit of the path as one undo step. A drag going on becomes a step of its own first.
  template <typename Edit>
  void Step(const Edit& edit) {
    FlushDrag();
    const PathValues before = mSpline.Values();
    edit();
    mHistory.Record(before, mSpline.Values());
    RestartDrag();
  }
  void Undo();
  void Redo();

  // Whether the path differs from what was last saved or loaded (or from the empty start).
  bool HasUnsavedEdits() const;
  // At exit: unsaved edits go to a recovery file in the working folder.
  void KeepUnsavedEdits();

  CubicBSpline mSpline;
  PathFiles mFiles;
  EditHistory mHistory;
  TwBar* mBar = nullptr;
  vec2 mLastMousePos = vec2(0.0f, 0.0f);  // the pointer at the end of the previous Update
  // Where the bar's Push Back and Insert buttons place a point: the pointer's last window
  // position outside the bar (the frame's centre until the pointer has been in the scene).
  vec2 mLastScenePointer;

private:
  void BuildBar();
  void HandleMouse();

  // A point or the whole path being dragged: one undo step from the press to the release, or
  // none when a right click cancels it (then nothing moves until the button is released).
  struct Drag {
    enum Kind { None, Point, Path } kind = None;
    PathValues before;  // the values when the drag began
    bool cancelled = false;
  };
  void BeginDrag(Drag::Kind kind, const PathValues& before);
  void EndDrag();
  void CancelDrag();
  // A drag going on records what it did so far as a step and goes on from the current values.
  void FlushDrag();
  void RestartDrag();

  Drag mDrag;
  // The values last saved or loaded; Rotation and Scale are kept apart from the points, as a
  // save bakes them into the file.
  PathValues mSaved;
};

// (Re)defines "LoadFilenamesEnum" with value i labelled names[i] and returns its type.
TwType DefineLoadEnum(const std::vector<std::string>& names);
