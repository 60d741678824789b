// Saving and loading the path in the working folder: the file name, the Load listing, the
// numbered backups and every console message of Save and Load.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "CubicBSpline.h"
#include "glm_types.h"

class PathFiles {
public:
  // Lists the working folder, as the bar's Load list shows it at start-up.
  PathFiles();

  // Writes the path under mFilename (".xml" added unless it ends so), keeping the file it
  // replaces as a numbered backup; then lists the folder again. Reports what stops it; true
  // when the file was written.
  bool Save(const CubicBSpline& spline);
  // Loads the listed file `index` into the path: its points at the window positions they were
  // saved from, rotation 0 and scale 1. A file that fails leaves the path as it was. True when
  // the path was loaded. The Filename field takes the file's name; for a recovery file, the
  // name of the file it was kept from, so that a save puts the work back there.
  bool LoadResourceFile(std::uint32_t index, CubicBSpline& spline);
  // Lists the working folder into mFilenames.
  void RefreshListing();
  // The text of the path's file, placed as it is; nothing when it has no finite form.
  static std::optional<std::string> FileText(const CubicBSpline& spline);

  std::string mFilename;                     // edited in the bar; what Save writes to
  std::int32_t mLoadIndex = 0;               // the index last chosen from the Load list
  std::vector<std::string> mFilenames;       // the Load list: the working folder's entries
  vec2 mFileSplineStart = vec2(0.0f, 0.0f);  // of the last file read; a file without one keeps it
  std::string mLoadedFile;                   // the file the last successful load read
};

// Copies the file `name`, if there is one, to the first free name of name.bak0, name.bak1, ...
// A document that parses is copied as the XML library prints it, any other file byte for
// byte; an existing backup is never overwritten. False when there was something to keep
// and it could not be kept. `made`, when given, receives the backup's name (empty for none).
bool BackupExisting(const std::string& name, std::string* made = nullptr);
