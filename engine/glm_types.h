// The vector and matrix names the whole project uses, taken from glm.
#pragma once

#include <glm/glm.hpp>

using glm::mat3;
using glm::mat4;
using glm::vec2;
using glm::vec3;
using glm::vec4;
