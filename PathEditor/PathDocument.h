// The edited path as a document: its values, its files, its undo history, what was last saved,
// and the recovery file that keeps unsaved work on the disk after every finished gesture. No
// window, no bar: whatever the user does reaches it as steps, gestures, Save and Load.
#pragma once

#include <cstdint>
#include <map>
#include <optional>
#include <string>

#include "CubicBSpline.h"
#include "EditHistory.h"
#include "PathFiles.h"
#include "RecoveryFile.h"

class PathDocument {
public:
  // Lists the working folder, and prints a line for each recovery file found there, the
  // newest first, so that work kept by an earlier session is found again.
  PathDocument();
  PathDocument(const PathDocument&) = delete;
  PathDocument& operator=(const PathDocument&) = delete;

  // Runs an edit of the path as one undo step. A gesture going on (a drag) becomes a step of
  // its own first and goes on from the edited values.
  template <typename Edit>
  void Step(const Edit& edit) {
    const PathValues before = BeginStep();
    edit();
    EndStep(before);
  }
  // Edits made one after the other with the same `run` (nudges of one point) make one step:
  // each amends the step the first one made, as long as no other step came between.
  template <typename Edit>
  void StepInRun(std::int64_t run, const Edit& edit) {
    const PathValues before = BeginRunStep(run);
    edit();
    EndRunStep(run, before);
  }

  // A gesture over many frames (a drag): one step from `before`, the values when it began, to
  // the values at its end. Cancelling puts back `before` and makes no step.
  void BeginGesture(const PathValues& before);
  void EndGesture();
  void CancelGesture();

  // Save and Load through the files; a load is one step, and undoing it gives back the file
  // names it changed. Both leave no recovery file when the path is a file's again.
  void Save();
  void Load(std::uint32_t index);
  // Lists the working folder for the Load list, without the session's own recovery file: it
  // holds the path as it is, and loading it would take it for a saved file.
  void RefreshListing();
  // One step back or forward.
  void Undo();
  void Redo();

  // Whether the path differs from what was last saved or loaded (or from the empty start).
  bool HasUnsavedEdits() const;
  // At exit: unsaved work stays in the recovery file, which is brought up to date and named
  // on the console; without any, nothing is left behind.
  void KeepUnsavedEdits();
  // Prints the lines of recovery writes that failed; the next gesture tries again.
  void ReportRecovery();
  // Waits for the recovery file's last write.
  void FinishRecovery() { mRecovery.Finish(); }
  const RecoveryFile& Recovery() const { return mRecovery; }

  CubicBSpline mSpline;
  PathFiles mFiles;
  EditHistory mHistory;

private:
  PathValues BeginStep();
  void EndStep(const PathValues& before);
  PathValues BeginRunStep(std::int64_t run);
  void EndRunStep(std::int64_t run, const PathValues& before);
  // One step back (undo) or forward (redo).
  void Walk(bool back);
  void HideOwnRecoveryFile();
  // A gesture going on records what it did so far as a step, and goes on from the values.
  void FlushGesture();
  void RestartGesture();
  // After a finished gesture: the recovery file holds the path while it differs from the
  // last save or load, and is removed when it does not. Never while a gesture goes on.
  void UpdateRecovery();

  std::optional<PathValues> mGesture;  // the values when the gesture going on began
  // The edits of one run: the values before the first, and the history's version after the
  // last, which tells whether that step is still the newest.
  struct Run {
    std::int64_t key = -1;
    PathValues start;
    std::uint64_t version = 0;
  };
  Run mRun;
  bool mRunContinues = false;
  // The file names each load changed, by the tag of its step, so that undo and redo of a load
  // give them back with the path (Save then writes where the path came from).
  struct LoadNames {
    std::string filenameBefore, loadedBefore, filenameAfter, loadedAfter;
  };
  std::map<std::uint64_t, LoadNames> mLoadNames;
  std::uint64_t mLastLoadTag = 0;
  // The values last saved or loaded.
  PathValues mSaved;

  RecoveryFile mRecovery;
  // The values the recovery file was last asked to hold; none after a failed write, so that
  // the next gesture writes again.
  std::optional<PathValues> mRecoveryValues;
  bool mRecoveryUsed = false;  // a recovery file may be there: one was asked for since the last removal
};
