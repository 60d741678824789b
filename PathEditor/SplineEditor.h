// Editing one path in the window: the path, its files, the "Spline" bar that shows them, and
// each frame's mouse handling and drawing.
#pragma once

#include <cstdint>
#include <map>
#include <string>
#include <vector>

#include "CubicBSpline.h"
#include "EditHistory.h"
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
    FlushDrag();
    const PathValues before = mSpline.Values();
    edit();
    mHistory.Record(before, mSpline.Values());
    RestartDrag();
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

  // Whether the path differs from what was last saved or loaded (or from the empty start).
  bool HasUnsavedEdits() const;
  // At exit: unsaved edits go to a recovery file in the working folder.
  void KeepUnsavedEdits();

  CubicBSpline mSpline;
  PathFiles mFiles;
  EditHistory mHistory;
  PathPreview mPreview;  // the bar's Length and the preview marker
  TwBar* mBar = nullptr;
  bool mSnap = false;                     // the bar's Snap switch
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
  // One step back (undo) or forward (redo).
  void Walk(bool back);

  // A point or the whole path being dragged: one undo step from the press to the release, or
  // none when a right click cancels it (then nothing moves until the button is released).
  struct Drag {
    enum Kind { None, Point, Path } kind = None;
    PathValues before;  // the values when the drag began
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
  // A drag going on records what it did so far as a step and goes on from the current values.
  void FlushDrag();
  void RestartDrag();

  Drag mDrag;
  // The file names each load changed, by the tag of its step, so that undo and redo of a load
  // give them back with the path (Save then writes where the path came from).
  struct LoadNames {
    std::string filenameBefore, loadedBefore, filenameAfter, loadedAfter;
  };
  std::map<std::uint64_t, LoadNames> mLoadNames;
  std::uint64_t mLastLoadTag = 0;
  // The nudges of one point in a row: the values before the first, and the history's version
  // after the last, which tells whether that step is still the newest.
  struct NudgeRun {
    std::int32_t point = -1;
    PathValues start;
    std::uint64_t version = 0;
  };
  NudgeRun mNudge;
  // The values last saved or loaded; Rotation and Scale are kept apart from the points, as a
  // save bakes them into the file.
  PathValues mSaved;
};

// (Re)defines "LoadFilenamesEnum" with value i labelled names[i] and returns its type.
TwType DefineLoadEnum(const std::vector<std::string>& names);
