// Where a path's curve is sampled, the same for the editor's drawing and a game's samples.
#pragma once

namespace sampleparameters {

constexpr float kStep = 0.01f;

// Calls visit(s) for every sample parameter of a curve that ends at `end` (1 or more), in
// order: 0, then kStep added in single precision again and again while the sum stays at or
// below `end`, then `end` itself once. Past 2^18 the step no longer changes a single-precision
// sum; the parameters then end with that last sum and `end`.
template <typename Visit>
void ForEachSampleParameter(float end, Visit&& visit) {
  float s = 0.0f;
  while (s <= end) {
    visit(s);
    const float next = s + kStep;
    if (!(next > s)) break;
    s = next;
  }
  visit(end);
}

}  // namespace sampleparameters
