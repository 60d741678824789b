// What shows which way the path goes: an arrowhead at the end of an open curve (at the start of
// a loop) pointing along it, and the preview marker moving along the curve.
#include <algorithm>
#include <cmath>
#include <optional>
#include <vector>

#include "GraphicsManager.h"
#include "PathFrame.h"
#include "SplineEditor.h"

namespace {

const vec4 kArrowColor(0.6f, 0.4f, 0.8f, 1.0f);    // the curve's own
const vec4 kMarkerColor(1.0f, 0.55f, 0.0f, 1.0f);  // orange: nothing else is drawn in it
constexpr float kArrowLength = 12.0f;              // window pixels
constexpr float kLoopArrowOffset = 16.0f;          // from a loop's start to the arrow's tip
constexpr float kArrowHalfAngle = 0.45f;           // radians, about 26 degrees
constexpr float kMarkerRadius = 6.0f;
// Samples nearer than this to the arrow's tip are too close to tell the direction by.
constexpr float kDirectionReach = 3.0f;

// The unit direction from `from` to the first sample, walked in `step` from index `start`, at
// least kDirectionReach away from it; nothing when the curve stays within that.
std::optional<vec2> DirectionAway(const std::vector<vec2>& samples, const vec2& from, std::ptrdiff_t start,
                                  std::ptrdiff_t step) {
  for (std::ptrdiff_t k = start; k >= 0 && k < static_cast<std::ptrdiff_t>(samples.size()); k += step) {
    const vec2 apart = samples[static_cast<std::size_t>(k)] - from;
    const float distance = glm::length(apart);
    if (distance >= kDirectionReach && std::isfinite(distance)) return apart / distance;
  }
  return std::nullopt;
}

void DrawArrowhead(GraphicsManager& graphics, const vec2& tip, const vec2& direction) {
  const float c = std::cos(kArrowHalfAngle), s = std::sin(kArrowHalfAngle);
  const vec2 back = -direction * kArrowLength;
  const vec2 left(c * back.x - s * back.y, s * back.x + c * back.y);
  const vec2 right(c * back.x + s * back.y, -s * back.x + c * back.y);
  graphics.DrawLine(vec3(tip, gOverlayZ), vec3(tip + left, gOverlayZ), kArrowColor);
  graphics.DrawLine(vec3(tip, gOverlayZ), vec3(tip + right, gOverlayZ), kArrowColor);
}

// A filled disc: one line through the middle of each pixel row it covers.
void DrawDisc(GraphicsManager& graphics, const vec2& centre, float radius) {
  for (float row = std::floor(centre.y - radius) + 0.5f; row <= centre.y + radius; row += 1.0f) {
    const float dy = row - centre.y;
    const float half = std::sqrt(std::max(0.0f, radius * radius - dy * dy));
    graphics.DrawLine(vec3(centre.x - half, row, gOverlayZ), vec3(centre.x + half, row, gOverlayZ),
                      kMarkerColor);
  }
}

}  // namespace

void SplineEditor::DrawPreview(double now) const {
  GraphicsManager& graphics = *GraphicsManager::Instance();
  const std::vector<vec2>& samples = mSpline.mSamples;
  if (mSpline.mControlPoints.size() >= splinecurve::MinimumPoints(mSpline.mEnds) && !samples.empty()) {
    if (mSpline.mEnds != PathEnds::Loop) {
      // At the end, pointing the way the curve arrives there.
      const vec2 tip = samples.back();
      if (const auto back = DirectionAway(samples, tip, static_cast<std::ptrdiff_t>(samples.size()) - 2, -1))
        DrawArrowhead(graphics, tip, -*back);
    } else {
      // Just past the start, where the start's own point does not hide it, pointing onwards.
      std::size_t k = 1;
      while (k < samples.size() && glm::length(samples[k] - samples.front()) < kLoopArrowOffset) ++k;
      if (k < samples.size()) {
        if (const auto on = DirectionAway(samples, samples[k], static_cast<std::ptrdiff_t>(k) + 1, 1))
          DrawArrowhead(graphics, samples[k], *on);
      }
    }
  }
  if (const std::optional<vec2> marker = mPreview.MarkerAt(now)) DrawDisc(graphics, *marker, kMarkerRadius);
}
