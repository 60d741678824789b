// Helpers of the in-process benchmarks: the editor's test paths.
#include "BenchSupport.h"

namespace bench {

std::vector<vec2> ControlPoints(std::size_t n) {
  std::vector<vec2> points;
  points.reserve(n);
  for (const auto& [x, y] : WindowPath(n)) points.emplace_back(x, y);
  return points;
}

}  // namespace bench
