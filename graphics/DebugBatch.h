// Records of the per-frame debug batches: coloured vertices and text labels.
#pragma once

#include <cstddef>
#include <iterator>
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

// Makes room in a batch for `more` records beyond those it holds. A frame's batch is emptied
// and refilled, so a long path's batch holds a large capacity and a few records when it must
// grow: the old block is freed before the new one is taken (growing in place would hold both,
// hundreds of megabytes each), and the new one has an eighth more room, so that a path growing
// a point at a time does not reallocate every frame.
template <typename Batch>
void ReserveBatch(Batch& batch, std::size_t more) {
  const std::size_t needed = batch.size() + more;
  if (needed <= batch.capacity()) return;
  Batch kept(std::make_move_iterator(batch.begin()), std::make_move_iterator(batch.end()),
             batch.get_allocator());
  Batch(batch.get_allocator()).swap(batch);
  batch.reserve(needed + needed / 8);
  batch.insert(batch.end(), std::make_move_iterator(kept.begin()), std::make_move_iterator(kept.end()));
}

// Adds `count` records at the end of a batch, with ReserveBatch's growth, and returns the first
// of them for the caller to fill in.
template <typename Batch>
typename Batch::value_type* ExtendBatch(Batch& batch, std::size_t count) {
  ReserveBatch(batch, count);
  batch.resize(batch.size() + count);
  return batch.data() + batch.size() - count;
}
