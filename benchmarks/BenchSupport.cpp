// Helpers of the in-process benchmarks: a private work folder and the editor's test paths.
#include "BenchSupport.h"

#include <unistd.h>

#include <random>

namespace bench {

namespace fs = std::filesystem;

WorkFolder::WorkFolder() : mPrevious(fs::current_path()) {
  std::random_device seed;
  for (;;) {
    mRoot = fs::temp_directory_path() / ("veyrun-bench-" + std::to_string(seed()));
    if (fs::create_directory(mRoot)) break;
  }
  mWork = mRoot / "work";
  fs::create_directories(mWork);
  fs::create_directories(mRoot / "resources" / "meshes");
  fs::current_path(mWork);
}

WorkFolder::~WorkFolder() {
  std::error_code ignored;
  fs::current_path(mPrevious, ignored);
  fs::remove_all(mRoot, ignored);
}

std::vector<vec2> ControlPoints(std::size_t n) {
  std::vector<vec2> points;
  points.reserve(n);
  for (const auto& [x, y] : WindowPath(n)) points.emplace_back(x, y);
  return points;
}

}  // namespace bench
