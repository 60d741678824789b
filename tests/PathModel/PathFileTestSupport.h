// Shared pieces of the path file tests: a path and its files in a fresh working folder, and
// folder views.
#pragma once

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <string>
#include <vector>

#include "CubicBSpline.h"
#include "PathFiles.h"
#include "TestSupport.h"

namespace pathtest {

// Every entry of a folder, sorted; shows leftovers such as temporary files.
inline std::vector<std::string> FolderEntries(const std::filesystem::path& folder = ".") {
  std::vector<std::string> names;
  for (const auto& entry : std::filesystem::directory_iterator(folder))
    names.push_back(entry.path().filename().string());
  std::sort(names.begin(), names.end());
  return names;
}

class PathFileTest : public ::testing::Test {
protected:
  // Saves the current path under `filename` and returns what was printed.
  std::string SaveAs(const std::string& filename) {
    files.mFilename = filename;
    testsupport::CaptureStdout capture;
    files.Save(spline);
    return capture.Text();
  }

  // Loads `name` through the Load list, as choosing it in the bar does; returns the output.
  std::string LoadNamed(const std::string& name) {
    files.RefreshListing();
    const auto found = std::find(files.mFilenames.begin(), files.mFilenames.end(), name);
    EXPECT_NE(found, files.mFilenames.end()) << name << " is not listed";
    testsupport::CaptureStdout capture;
    files.LoadResourceFile(static_cast<std::uint32_t>(found - files.mFilenames.begin()), spline);
    return capture.Text();
  }

  void SetWindowPoints(const std::vector<vec2>& points) {
    spline.Clear();
    for (const vec2& p : points) spline.PushBack(p);
  }

  testsupport::TempWorkDir work;
  CubicBSpline spline;
  PathFiles files;  // lists the fresh folder
};

inline const std::vector<vec2> kFourPoints = {{262, 184}, {612, 384}, {962, 584}, {962, 184}};

}  // namespace pathtest
