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
  mFiles.Save(mSpline);
  DefineLoadEnum(mFiles.mFilenames);  // the save listed the folder again
}

void SplineEditor::Load(std::uint32_t index) { mFiles.LoadResourceFile(index, mSpline); }

void SplineEditor::RefreshLoadList() {
  mFiles.RefreshListing();
  DefineLoadEnum(mFiles.mFilenames);
}
