// The window's size and the mapping between the pointer, window pixels and device coordinates.
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
