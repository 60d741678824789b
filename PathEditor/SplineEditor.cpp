// The editor of one path: its bar's life and the actions its entries share.
#include "SplineEditor.h"

#include "PathFrame.h"

SplineEditor::SplineEditor() : mLastScenePointer(gFrameCenter) { BuildBar(); }

SplineEditor::~SplineEditor() {
  if (mBar != nullptr) {
    TwDeleteBar(mBar);
    mBar = nullptr;
  }
}

void SplineEditor::Save() {
  if (mFiles.Save(mSpline)) mSaved = mSpline.Values();
  DefineLoadEnum(mFiles.mFilenames);  // the save listed the folder again
}

void SplineEditor::Load(std::uint32_t index) {
  // A load is one step: undo returns to the path before it.
  Step([&] {
    if (mFiles.LoadResourceFile(index, mSpline)) mSaved = mSpline.Values();
  });
}

void SplineEditor::Undo() {
  FlushDrag();
  PathValues values = mSpline.Values();
  if (mHistory.Undo(values)) mSpline.SetValues(values);
  RestartDrag();
}

void SplineEditor::Redo() {
  FlushDrag();
  PathValues values = mSpline.Values();
  if (mHistory.Redo(values)) mSpline.SetValues(values);
  RestartDrag();
}

bool SplineEditor::HasUnsavedEdits() const {
  return mSpline.mControlPoints != mSaved.mControlPoints || mSpline.mRotation != mSaved.mRotation ||
         mSpline.mScale != mSaved.mScale;
}

void SplineEditor::KeepUnsavedEdits() {
  // An empty path has nothing to keep.
  if (HasUnsavedEdits() && !mSpline.mControlPoints.empty()) mFiles.KeepUnsaved(mSpline);
}

void SplineEditor::BeginDrag(Drag::Kind kind, const PathValues& before) {
  EndDrag();
  mDrag = Drag{kind, before, false};
}

void SplineEditor::EndDrag() {
  if (mDrag.kind != Drag::None && !mDrag.cancelled) mHistory.Record(mDrag.before, mSpline.Values());
  mDrag = Drag{};
}

void SplineEditor::CancelDrag() {
  mSpline.SetValues(mDrag.before);
  mDrag.cancelled = true;
}

void SplineEditor::FlushDrag() {
  if (mDrag.kind != Drag::None && !mDrag.cancelled) mHistory.Record(mDrag.before, mSpline.Values());
}

void SplineEditor::RestartDrag() {
  if (mDrag.kind != Drag::None && !mDrag.cancelled) mDrag.before = mSpline.Values();
}

void SplineEditor::RefreshLoadList() {
  mFiles.RefreshListing();
  DefineLoadEnum(mFiles.mFilenames);
}
