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
  // A load is one step: undo returns to the path before it, and to the file names before it.
  FlushDrag();
  const PathValues before = mSpline.Values();
  LoadNames names{mFiles.mFilename, mFiles.mLoadedFile, "", ""};
  if (mFiles.LoadResourceFile(index, mSpline)) {
    mSaved = mSpline.Values();
    names.filenameAfter = mFiles.mFilename;
    names.loadedAfter = mFiles.mLoadedFile;
    mLoadNames[++mLastLoadTag] = names;
    mHistory.Record(before, mSpline.Values(), mLastLoadTag);
  }
  RestartDrag();
}

void SplineEditor::Undo() { Walk(true); }

void SplineEditor::Redo() { Walk(false); }

void SplineEditor::Walk(bool back) {
  FlushDrag();
  PathValues values = mSpline.Values();
  std::uint64_t tag = 0;
  if (back ? mHistory.Undo(values, &tag) : mHistory.Redo(values, &tag)) {
    mSpline.SetValues(values);
    const auto names = mLoadNames.find(tag);
    if (names != mLoadNames.end()) {
      mFiles.mFilename = back ? names->second.filenameBefore : names->second.filenameAfter;
      mFiles.mLoadedFile = back ? names->second.loadedBefore : names->second.loadedAfter;
    }
  }
  RestartDrag();
}

bool SplineEditor::HasUnsavedEdits() const {
  return mSpline.mControlPoints != mSaved.mControlPoints || mSpline.mRotation != mSaved.mRotation ||
         mSpline.mScale != mSaved.mScale || mSpline.mEnds != mSaved.mEnds;
}

void SplineEditor::KeepUnsavedEdits() {
  // An empty path has nothing to keep.
  if (HasUnsavedEdits() && !mSpline.mControlPoints.empty()) mFiles.KeepUnsaved(mSpline);
}

void SplineEditor::BeginDrag(Drag::Kind kind, const PathValues& before) {
  EndDrag();
  mDrag = Drag{kind, before, false, vec2(0.0f), vec2(0.0f)};
  if (kind == Drag::Point) mDrag.unsnapped = SelectedInWindow();
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
