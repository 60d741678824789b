// Precise placement: the grid and snapping, typed coordinates of the selected point, and
// nudges with the arrow keys. Places are always where points show on the screen.
#include <cmath>
#include <limits>

#include "GraphicsManager.h"
#include "InputManager.h"
#include "PathFrame.h"
#include "SplineEditor.h"

namespace {

const vec4 kGridColor(0.3f, 0.3f, 0.3f, 1.0f);

}  // namespace

vec2 SplineEditor::SnapToGrid(const vec2& window) const {
  const vec2 corner = FrameCorner();
  return corner + glm::round((window - corner) / mGridStep) * mGridStep;
}

vec2 SplineEditor::SelectedInWindow() const {
  const std::int32_t selected = mSpline.mSelectedIndex;
  if (selected < 0 || static_cast<std::size_t>(selected) >= mSpline.mControlPoints.size())
    return vec2(std::numeric_limits<float>::quiet_NaN());
  return mSpline.ToWindow(mSpline.mControlPoints[static_cast<std::size_t>(selected)]);
}

vec2 SplineEditor::SelectedInFrame() const { return SelectedInWindow() - FrameCorner(); }

void SplineEditor::PlaceSelectedInFrame(const vec2& framePosition) {
  Step([&] { mSpline.PlaceSelected(FrameCorner() + framePosition); });
}

void SplineEditor::Nudge(const vec2& direction, bool far) {
  const vec2 at = SelectedInWindow();
  if (std::isnan(at.x)) return;
  // Nudges of the same point one after the other make one step.
  mDocument.StepInRun(mSpline.mSelectedIndex, [&] {
    if (mSnap) {
      mSpline.PlaceSelected(SnapToGrid(at + direction * mGridStep));
    } else {
      mSpline.MoveSelected(direction * (far ? 10.0f : 1.0f));
    }
  });
}

bool SplineEditor::DragSnaps() const { return mSnap != InputManager::Instance()->mCtrlHeld; }

void SplineEditor::DrawGrid() const {
  // Faint lines inside the frame; its edges are drawn already.
  GraphicsManager* graphics = GraphicsManager::Instance();
  const vec2 corner = FrameCorner();
  const vec2 size(2.0f * gFrameHalfWidth, 2.0f * gFrameHalfHeight);
  for (float x = mGridStep; x < size.x; x += mGridStep)
    graphics->DrawLine(vec3(corner.x + x, corner.y, gOverlayZ),
                       vec3(corner.x + x, corner.y + size.y, gOverlayZ), kGridColor);
  for (float y = mGridStep; y < size.y; y += mGridStep)
    graphics->DrawLine(vec3(corner.x, corner.y + y, gOverlayZ),
                       vec3(corner.x + size.x, corner.y + y, gOverlayZ), kGridColor);
}
