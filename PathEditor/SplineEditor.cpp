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
  mDocument.Save();
  DefineLoadEnum(mFiles.mFilenames);  // the save listed the folder again
}

void SplineEditor::Load(std::uint32_t index) { mDocument.Load(index); }

void SplineEditor::Undo() { mDocument.Undo(); }

void SplineEditor::Redo() { mDocument.Redo(); }

void SplineEditor::KeepUnsavedEdits() { mDocument.KeepUnsavedEdits(); }

void SplineEditor::BeginDrag(Drag::Kind kind, const PathValues& before) {
  EndDrag();
  mDocument.BeginGesture(before);
  mDrag = Drag{kind, false, vec2(0.0f), vec2(0.0f)};
  if (kind == Drag::Point) mDrag.unsnapped = SelectedInWindow();
}

void SplineEditor::EndDrag() {
  if (mDrag.kind != Drag::None) mDocument.EndGesture();
  mDrag = Drag{};
}

void SplineEditor::CancelDrag() {
  mDocument.CancelGesture();
  mDrag.cancelled = true;
}

void SplineEditor::RefreshLoadList() {
  mDocument.RefreshListing();
  DefineLoadEnum(mFiles.mFilenames);
}
