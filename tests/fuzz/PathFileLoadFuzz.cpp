// Fuzz target: bytes written as a file in the working folder and chosen from the Load list,
// through the editor's own Load; a load that succeeds must survive Save and load back, with its
// ends. The
// same bytes as the file a Save would replace: its backup must be what the XML library prints
// of it, or the bytes themselves when they do not parse.
#include <algorithm>
#include <cmath>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <vector>

#include <tinyxml2.h>

#include "CubicBSpline.h"
#include "FuzzSupport.h"
#include "PathFiles.h"
#include "WholeFile.h"

namespace {

using fuzzsupport::Fail;

bool Finite(const vec2& v) { return std::isfinite(v.x) && std::isfinite(v.y); }

void WriteBytes(const char* name, const std::uint8_t* data, std::size_t size) {
  std::ofstream out(name, std::ios::binary | std::ios::trunc);
  out.write(reinterpret_cast<const char*>(data), static_cast<std::streamsize>(size));
}

void RemoveStartingWith(const std::string& prefix) {
  std::error_code ignored;
  for (const auto& entry : std::filesystem::directory_iterator(".", ignored)) {
    if (entry.path().filename().string().rfind(prefix, 0) == 0)
      std::filesystem::remove(entry.path(), ignored);
  }
}

std::uint32_t IndexOf(const PathFiles& files, const std::string& name) {
  const auto found = std::find(files.mFilenames.begin(), files.mFilenames.end(), name);
  if (found == files.mFilenames.end()) Fail("file missing from the Load list");
  return static_cast<std::uint32_t>(found - files.mFilenames.begin());
}

// Saves what was loaded under another name and loads that file: the points come back up to
// the six significant digits of the file text.
void CheckSaveRoundTrip(CubicBSpline& spline, PathFiles& files) {
  RemoveStartingWith("copy.xml");
  const std::vector<vec2> loaded = spline.mControlPoints;
  const PathEnds ends = spline.mEnds;
  const vec2 start = spline.Evaluate(0.0f);
  files.mFilename = "copy";
  files.Save(spline);
  // Positions beyond the float range once normalised are refused with a message.
  if (!std::filesystem::exists("copy.xml")) return;
  files.LoadResourceFile(IndexOf(files, "copy.xml"), spline);
  if (spline.mControlPoints.size() != loaded.size()) Fail("saved copy has another point count");
  if (spline.mEnds != ends) Fail("saved copy has other ends");
  const float startSize = std::abs(start.x) + std::abs(start.y);
  for (std::size_t i = 0; i < loaded.size(); ++i) {
    const vec2 a = loaded[i], b = spline.mControlPoints[i];
    const float tolerance = 1e-4f * (std::abs(a.x) + std::abs(a.y) + 2.0f * startSize + 700.0f);
    if (!(std::abs(a.x - b.x) <= tolerance && std::abs(a.y - b.y) <= tolerance))
      Fail("saved copy loads back to other positions");
  }
}

void CheckBackup(const std::uint8_t* data, std::size_t size) {
  RemoveStartingWith("path.xml.bak");
  if (!BackupExisting("path.xml")) Fail("no backup of a readable file");
  std::string kept;
  if (!wholefile::Read("path.xml.bak0", kept)) Fail("backup missing");
  std::string expected(reinterpret_cast<const char*>(data), size);
  tinyxml2::XMLDocument document;
  if (document.LoadFile("path.xml") == tinyxml2::XML_SUCCESS) {
    tinyxml2::XMLPrinter printer(nullptr, false);
    document.Print(&printer);
    expected.assign(printer.CStr(), static_cast<std::size_t>(printer.CStrSize() - 1));
  }
  if (kept != expected) Fail("the backup is not the file as the XML library prints it");
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  fuzzsupport::SilenceStdout();
  fuzzsupport::EnterPrivateFolder();
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  WriteBytes("path.xml", data, size);
  CheckBackup(data, size);
  RemoveStartingWith("path.xml.bak");  // keeps the Load list to path.xml alone
  CubicBSpline spline;
  PathFiles files;  // lists the folder, as at start-up
  const std::vector<vec2> before = {{1.0f, 2.0f}, {3.0f, 4.0f}};
  spline.mControlPoints = before;
  spline.mSelectedIndex = 1;
  files.mFilename = "previous";
  files.LoadResourceFile(IndexOf(files, "path.xml"), spline);

  if (files.mFilename != "path.xml") {
    if (spline.mControlPoints != before) Fail("a failed load changed the path");
    return 0;
  }
  if (!std::all_of(spline.mControlPoints.begin(), spline.mControlPoints.end(), Finite))
    Fail("a load kept a point that is not finite");
  if (spline.mSelectedIndex >= static_cast<std::int64_t>(spline.mControlPoints.size()))
    Fail("the selection points past the loaded path");
  spline.RebuildSamples();
  if (!spline.mControlPoints.empty() && spline.mSamples.empty()) Fail("no samples for a path");
  CheckSaveRoundTrip(spline, files);
  return 0;
}
