// The window's size, the view of the scene, and the mapping between the pointer, window and
// scene pixels and device coordinates.
#include "WindowView.h"

#include <glm/gtc/matrix_transform.hpp>

#include <algorithm>

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
  // Divided by the step rather than multiplied by its inverse, which has no exact float value.
  const float zoom = std::clamp(in ? mZoom * gZoomStep : mZoom / gZoomStep, gMinZoom, gMaxZoom);
  const vec2 scene = WindowToScene(window);
  mZoom = zoom;
  PanTo(scene, window);
}

void WindowView::PanTo(const vec2& scene, const vec2& window) { mPan = window - scene * mZoom; }

void WindowView::ResetView() {
  mZoom = 1.0f;
  mPan = vec2(0.0f);
}
