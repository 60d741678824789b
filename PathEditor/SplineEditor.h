// Editing one path in the window: the "Spline" bar that shows the document, and each frame's
// mouse handling and drawing, which edit it.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "CubicBSpline.h"
#include "PathDocument.h"
#include "PathFiles.h"
#include "PathPreview.h"
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
    mDocument.Step(edit);
  }
  void Undo();
  void Redo();

  // Placement. The grid runs from the frame's lower-left corner, mGridStep frame pixels apart.
  vec2 SnapToGrid(const vec2& window) const;
  // The selected point in pixels of the frame from its lower-left corner, as it shows; NaN
  // coordinates without a selection.
  vec2 SelectedInFrame() const;
  // Puts the selected point at a place of the frame, as one step.
  void PlaceSelectedInFrame(const vec2& framePosition);
  // Moves the selected point by an arrow key: one pixel, ten with Shift, a grid step while
  // snapping. Nudges of one point in a row make one step.
  void Nudge(const vec2& direction, bool far);

  // At exit: unsaved edits stay in the recovery file, which the console names.
  void KeepUnsavedEdits();

  // The path, its files, its history and its recovery file.
  PathDocument mDocument;
  CubicBSpline& mSpline = mDocument.mSpline;
  PathFiles& mFiles = mDocument.mFiles;
  PathPreview mPreview;  // the bar's Length and the preview marker
  TwBar* mBar = nullptr;
  bool mSnap = false;                     // the bar's Snap switch
  bool mShowLabels = true;                // the bar's Labels switch: each point's index above it
  float mGridStep = 25.0f;                // frame pixels; the 700 x 400 frame holds 28 x 16 grid cells
  vec2 mLastMousePos = vec2(0.0f, 0.0f);  // the pointer at the end of the previous Update
  // Where the bar's Push Back and Insert buttons place a point: the pointer's last window
  // position outside the bar (the frame's centre until the pointer has been in the scene).
  vec2 mLastScenePointer;

private:
  void BuildBar();
  void HandleMouse();
  // The arrowhead that shows which way the curve runs, and the preview marker at `now`.
  void DrawPreview(double now) const;

  // A point or the whole path being dragged: one gesture of the document from the press to
  // the release, or none when a right click cancels it (then nothing moves until the button is
  // released).
  struct Drag {
    enum Kind { None, Point, Path } kind = None;
    bool cancelled = false;
    // Where the pointer's motion alone would have put the dragged point (a path drag: that
    // motion itself), and for a path how far it has been moved on the screen so far.
    vec2 unsnapped = vec2(0.0f);
    vec2 moved = vec2(0.0f);
  };
  // The selected point's window position; NaN coordinates without a selection.
  vec2 SelectedInWindow() const;
  // Whether a drag snaps: the Snap switch, turned over while Ctrl is held.
  bool DragSnaps() const;
  void DrawGrid() const;
  void BeginDrag(Drag::Kind kind, const PathValues& before);
  void EndDrag();
  void CancelDrag();

  Drag mDrag;
};

// (Re)defines "LoadFilenamesEnum" with value i labelled names[i] and returns its type.
TwType DefineLoadEnum(const std::vector<std::string>& names);
