// Helpers of the in-process benchmarks: the editor's test paths. (Work folders and the GL
// context come from the test support library.)
#pragma once

#include <vector>

#include "BenchPaths.h"
#include "glm_types.h"

namespace bench {

// The test path of n points as local control points (rotation 0, scale 1: window positions).
std::vector<vec2> ControlPoints(std::size_t n);

}  // namespace bench
