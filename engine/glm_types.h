// The vector and matrix names the whole project uses, taken from glm, and their finiteness.
#pragma once

#include <glm/glm.hpp>

#include <cmath>

using glm::mat3;
using glm::mat4;
using glm::vec2;
using glm::vec3;
using glm::vec4;

// Whether every component is a finite number (neither infinite nor NaN).
inline bool IsFinite(const vec2& v) { return std::isfinite(v.x) && std::isfinite(v.y); }
inline bool IsFinite(const vec3& v) { return std::isfinite(v.x) && std::isfinite(v.y) && std::isfinite(v.z); }
