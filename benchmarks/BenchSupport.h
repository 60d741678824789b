// Helpers of the in-process benchmarks: a private work folder and the editor's test paths.
#pragma once

#include <filesystem>
#include <string>
#include <vector>

#include "BenchPaths.h"
#include "glm_types.h"

class CubicBSpline;

namespace bench {

// A temporary folder pair, <root>/work (made the working directory while it lives) and
// <root>/resources beside it, as the editor and the mesh reader expect them.
class WorkFolder {
public:
  WorkFolder();
  ~WorkFolder();
  WorkFolder(const WorkFolder&) = delete;
  WorkFolder& operator=(const WorkFolder&) = delete;
  const std::filesystem::path& Work() const { return mWork; }
  std::filesystem::path Resources() const { return mRoot / "resources"; }

private:
  std::filesystem::path mRoot;
  std::filesystem::path mWork;
  std::filesystem::path mPrevious;
};

// The test path of n points as local control points (rotation 0, scale 1: window positions).
std::vector<vec2> ControlPoints(std::size_t n);

}  // namespace bench
