// Save and Load: the path's file text through the file format, the numbered backup, the safe
// write, and every console message.
#include "PathFiles.h"

#include <cstdio>
#include <iostream>
#include <optional>

#include <tinyxml2.h>

#include "PathFileFormat.h"
#include "PathFrame.h"
#include "RecoveryFile.h"
#include "ResourceListing.h"
#include "SafeFile.h"
#include "WholeFile.h"

namespace {

// The file a name in the Filename field saves to: ".xml" added unless it ends so already.
std::string XmlName(const std::string& name) { return EndsWithXml(name) ? name : name + ".xml"; }

PathPoint ToPathPoint(const vec2& v) { return PathPoint{v.x, v.y}; }

void FailedToLoad(const std::string& name) { std::cout << "Failed to load file: " << name << std::endl; }

}  // namespace

bool BackupExisting(const std::string& name, std::string* made) {
  if (made != nullptr) made->clear();
  if (!safefile::IsRegularFile(name)) return true;  // nothing there to keep
  std::string content;
  if (!wholefile::Read(name, content)) return false;
  // A document that parses is kept as the XML library prints it, any other file byte for byte.
  tinyxml2::XMLDocument document;
  if (document.Parse(content.data(), content.size()) == tinyxml2::XML_SUCCESS) {
    tinyxml2::XMLPrinter printer(nullptr, false);
    document.Print(&printer);
    content.assign(printer.CStr(), static_cast<std::size_t>(printer.CStrSize() - 1));
  }
  for (unsigned long long k = 0;; ++k) {
    const std::string candidate = name + ".bak" + std::to_string(k);
    switch (safefile::CreateNewFile(candidate, content)) {
      case safefile::CreateResult::Created:
        if (made != nullptr) *made = candidate;
        return true;
      case safefile::CreateResult::Exists: continue;
      case safefile::CreateResult::Failed: return false;
    }
  }
}

PathFiles::PathFiles() { RefreshListing(); }

void PathFiles::RefreshListing() { ListResourceFiles("", mFilenames); }

bool PathFiles::Save(const CubicBSpline& spline) {
  if (spline.mControlPoints.empty()) {
    std::cout << "My friend, there is no control point to save..." << std::endl;
    return false;
  }
  if (mFilename.empty()) {
    std::cout << "My friend, I need a filename to save..." << std::endl;
    return false;
  }
  const std::string name = XmlName(mFilename);
  // Whether the save can go through is settled before the backup, so that a refused save
  // leaves the folder as it was. A previous file that cannot be kept is not overwritten either.
  const std::optional<std::string> text = FileText(spline);
  std::string backup;
  const bool saved = text && safefile::CanReplace(name) && BackupExisting(name, &backup) &&
                     safefile::ReplaceFile(name, *text);
  // A write that failed after all (a full disk) takes its backup back: the previous file is
  // still there, and a retry would otherwise leave one more copy of it each time.
  if (!saved && !backup.empty()) std::remove(backup.c_str());
  if (!saved) std::cout << "failed to save: " << name << std::endl;
  RefreshListing();
  return saved;
}

std::optional<std::string> PathFiles::FileText(const CubicBSpline& spline) {
  std::vector<PathPoint> windowPoints;
  for (const vec2& w : spline.WindowPoints()) windowPoints.push_back(ToPathPoint(w));
  return pathfile::WriteResourceFile(windowPoints, FileFrame(), spline.mEnds, spline.mBackground);
}

bool PathFiles::LoadResourceFile(std::uint32_t index, CubicBSpline& spline) {
  if (index >= mFilenames.size()) {
    std::cout << "Invalid loading index: " << index << std::endl;
    return false;
  }
  mLoadIndex = static_cast<std::int32_t>(index);
  const std::string name = mFilenames[index];

  // Only a regular file is read (a listed folder or pipe fails rather than blocks).
  std::string text;
  std::optional<pathfile::Contents> contents;
  if (wholefile::Read(name, text)) contents = pathfile::ReadResourceFile(text, ToPathPoint(mFileSplineStart));
  if (!contents) {
    FailedToLoad(name);
    return false;
  }
  for (const std::string& message : contents->messages) std::cout << message << std::endl;
  const std::optional<std::vector<PathPoint>> positions = pathfile::WindowPositions(*contents);
  if (!positions) {
    FailedToLoad(name);  // values that overflow the float range: the path stays as it was
    return false;
  }

  PathValues loaded;
  for (const PathPoint& p : *positions) loaded.mControlPoints.push_back(vec2(p.x, p.y));
  // A selection beyond the new list would reach past it.
  const bool selectionFits = spline.mSelectedIndex < static_cast<std::int64_t>(positions->size());
  loaded.mSelectedIndex = selectionFits ? spline.mSelectedIndex : -1;
  loaded.mEnds = contents->ends;
  loaded.mBackground = contents->background;  // none when the file names none
  spline.SetValues(loaded);
  mFileSplineStart = vec2(contents->splineStart.x, contents->splineStart.y);
  mFilename = KeptFrom(name).value_or(name);
  mLoadedFile = name;
  return true;
}
