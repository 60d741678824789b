// The window's size, the view of the scene, and the mapping between the pointer, window and
// scene pixels and device coordinates.
#include "WindowView.h"

#include <glm/gtc/matrix_transform.hpp>

#include <algorithm>
#include <cmath>  // pow, log, ceil

namespace {

// The steps from 1 up to the first zoom beyond each limit, which shows as the limit itself.
const int kMaxZoomSteps =
    static_cast<int>(std::ceil(std::log(double{gMaxZoom}) / std::log(double{gZoomStep})));
const int kMinZoomSteps =
    -static_cast<int>(std::ceil(std::log(1.0 / gMinZoom) / std::log(double{gZoomStep})));

}  // namespace

void WindowView::Resize(int width, int height) {
  // A minimised window reports nothing useful; a size of at least one pixel keeps every
  // mapping finite.
  mWidth = std::max(width, 1);
  mHeight = std::max(height, 1);
}

vec2 WindowView::PointerToWindow(int x, int y) const {
  return vec2(static_cast<float>(x), static_cast<float>(mHeight - y));
}

glm::ivec2 WindowView::WindowToPointer(const vec2& window) const {
  return glm::ivec2(static_cast<int>(window.x), mHeight - static_cast<int>(window.y));
}

vec2 WindowView::WindowToDevice(const vec2& window) const {
  return vec2(window.x / (static_cast<float>(mWidth) / 2.0f) - 1.0f,
              window.y / (static_cast<float>(mHeight) / 2.0f) - 1.0f);
}

mat4 WindowView::Projection() const {
  return glm::ortho(0.0f, static_cast<float>(mWidth), 0.0f, static_cast<float>(mHeight), 1.0f, 1000.0f);
}

mat4 WindowView::SceneProjection() const {
  mat4 view(mZoom);
  view[2][2] = 1.0f;  // depths stay as they are
  view[3] = vec4(mPan, 0.0f, 1.0f);
  return Projection() * view;
}

void WindowView::ZoomAbout(const vec2& window, bool in) {
  // Counting the steps keeps the zoom on the powers of the step: a zoom held at a limit is no
  // power of it, and a step back from there goes to the power next to the limit.
  const int steps = mZoomSteps + (in ? 1 : -1);
  if (steps > kMaxZoomSteps || steps < kMinZoomSteps) return;
  const vec2 scene = WindowToScene(window);
  mZoomSteps = steps;
  mZoom = std::clamp(static_cast<float>(std::pow(double{gZoomStep}, steps)), gMinZoom, gMaxZoom);
  PanTo(scene, window);
}

void WindowView::PanTo(const vec2& scene, const vec2& window) { mPan = window - scene * mZoom; }

void WindowView::ResetView() {
  mZoomSteps = 0;
  mZoom = 1.0f;
  mPan = vec2(0.0f);
}
