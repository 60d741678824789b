// Records of the per-frame debug batches: coloured vertices and text labels.
#pragma once

#include <cstddef>
#include <string>

#include "glm_types.h"

// One vertex of the line or point batch, and the exact layout uploaded to its buffer.
struct ColorVertex {
  vec3 position = vec3(0.0f);  // byte 0
  vec4 color = vec4(0.0f);     // byte 12
};

static_assert(sizeof(ColorVertex) == 28, "the Lines program reads a tightly packed 28-byte vertex");
static_assert(offsetof(ColorVertex, color) == 12, "colour follows the position");

// One overlay text; position is the baseline start in normalised device coordinates.
struct TextLabel {
  std::string text;
  vec2 position = vec2(0.0f);
};
