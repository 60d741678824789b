// The 56-byte interleaved vertex record that mesh buffers hold.
#pragma once

#include <cstddef>

#include "glm_types.h"

struct Vertex {
  vec3 position = vec3(0.0f);   // byte 0
  vec3 normal = vec3(0.0f);     // byte 12
  vec2 texCoord = vec2(0.0f);   // byte 24
  vec3 tangent = vec3(0.0f);    // byte 32
  vec3 biTangent = vec3(0.0f);  // byte 44
};

static_assert(sizeof(Vertex) == 56, "the shader attribute layout relies on a 56-byte stride");
static_assert(offsetof(Vertex, normal) == 12 && offsetof(Vertex, texCoord) == 24 &&
                  offsetof(Vertex, tangent) == 32 && offsetof(Vertex, biTangent) == 44,
              "the shader attribute layout relies on these offsets");
