// The document's steps, gestures, Save, Load, undo, and the recovery file kept after each.
#include "PathDocument.h"

#include <algorithm>
#include <iostream>
#include <utility>

PathDocument::PathDocument() {
  for (const std::string& name : ListRecoveryFiles())
    std::cout << "Unsaved changes of an earlier session kept in " << name << std::endl;
}

PathValues PathDocument::BeginStep() {
  FlushGesture();
  return mSpline.Values();
}

void PathDocument::EndStep(const PathValues& before) {
  mHistory.Record(before, mSpline.Values());
  RestartGesture();
  UpdateRecovery();
}

PathValues PathDocument::BeginRunStep(std::int64_t run) {
  FlushGesture();
  mRunContinues = mRun.key == run && mRun.version == mHistory.Version();
  return mRunContinues ? mRun.start : mSpline.Values();
}

void PathDocument::EndRunStep(std::int64_t run, const PathValues& before) {
  // An edit that changed nothing makes no step, and then no run either.
  const std::uint64_t version = mHistory.Version();
  const bool stands = mRunContinues
                          ? mHistory.Amend(before, mSpline.Values())
                          : (mHistory.Record(before, mSpline.Values()), mHistory.Version() != version);
  mRun = stands ? Run{run, before, mHistory.Version()} : Run{};
  RestartGesture();
  UpdateRecovery();
}

void PathDocument::BeginGesture(const PathValues& before) {
  if (mGesture) EndGesture();
  mGesture = before;
}

void PathDocument::EndGesture() {
  if (mGesture) mHistory.Record(*mGesture, mSpline.Values());
  mGesture.reset();
  UpdateRecovery();
}

void PathDocument::CancelGesture() {
  if (!mGesture) return;
  mSpline.SetValues(*mGesture);
  mGesture.reset();
}

void PathDocument::FlushGesture() {
  if (mGesture) mHistory.Record(*mGesture, mSpline.Values());
}

void PathDocument::RestartGesture() {
  if (mGesture) mGesture = mSpline.Values();
}

void PathDocument::Save() {
  const bool saved = mFiles.Save(mSpline);
  HideOwnRecoveryFile();  // the save listed the folder again
  if (!saved) return;
  mSaved = mSpline.Values();
  UpdateRecovery();
}

void PathDocument::RefreshListing() {
  mFiles.RefreshListing();
  HideOwnRecoveryFile();
}

void PathDocument::HideOwnRecoveryFile() {
  if (!mRecoveryUsed && !mRecovery.OnDisk()) return;
  mRecovery.Finish();  // its name is settled once its writes are done
  std::vector<std::string>& names = mFiles.mFilenames;
  names.erase(std::remove(names.begin(), names.end(), mRecovery.Name()), names.end());
}

void PathDocument::Load(std::uint32_t index) {
  // A load is one step: undo returns to the path before it, and to the file names before it.
  FlushGesture();
  const PathValues before = mSpline.Values();
  LoadNames names{mFiles.mFilename, mFiles.mLoadedFile, "", ""};
  if (mFiles.LoadResourceFile(index, mSpline)) {
    mSaved = mSpline.Values();
    names.filenameAfter = mFiles.mFilename;
    names.loadedAfter = mFiles.mLoadedFile;
    mLoadNames[++mLastLoadTag] = names;
    mHistory.Record(before, mSpline.Values(), mLastLoadTag);
  }
  RestartGesture();
  UpdateRecovery();
}

void PathDocument::Undo() { Walk(true); }

void PathDocument::Redo() { Walk(false); }

void PathDocument::Walk(bool back) {
  FlushGesture();
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
  RestartGesture();
  UpdateRecovery();
}

bool PathDocument::HasUnsavedEdits() const { return !mSpline.Values().SameContent(mSaved); }

void PathDocument::UpdateRecovery() {
  if (mGesture) return;  // a drag's end brings the file up to date
  ReportRecovery();
  // An empty path has nothing to keep.
  if (!HasUnsavedEdits() || mSpline.mControlPoints.empty()) {
    if (mRecoveryUsed) mRecovery.Remove();
    mRecoveryUsed = false;
    mRecoveryValues.reset();
    return;
  }
  if (mRecoveryValues && mRecoveryValues->SameContent(mSpline.Values())) return;
  std::optional<std::string> text = PathFiles::FileText(mSpline);
  const std::string stem = RecoveryStem(mFiles.mFilename);
  if (!text) {
    // Values beyond the float range have no file text; the next gesture may bring them back.
    const std::string name = mRecovery.Name();
    std::cout << "failed to keep the unsaved changes: " << (name.empty() ? stem : name) << std::endl;
    mRecoveryValues.reset();
    return;
  }
  mRecovery.Keep(stem, std::move(*text));
  mRecoveryUsed = true;
  mRecoveryValues = mSpline.Values();
}

void PathDocument::ReportRecovery() {
  for (const std::string& line : mRecovery.TakeFailures()) {
    std::cout << line << std::endl;
    mRecoveryValues.reset();
  }
}

void PathDocument::KeepUnsavedEdits() {
  EndGesture();  // a drag going on at exit ends where it is
  // A write that failed is tried once more.
  mRecovery.Finish();
  UpdateRecovery();
  mRecovery.Finish();
  ReportRecovery();
  if (mRecoveryValues && mRecovery.OnDisk())
    std::cout << "Unsaved changes kept in " << mRecovery.Name() << std::endl;
}
