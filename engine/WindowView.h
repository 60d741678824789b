// The window's size and the one mapping between the pointer, the window's pixels and the
// drawing's device coordinates; the drawing and every input handler go through it.
#pragma once

#include "Singleton.h"
#include "glm_types.h"

// The size the window opens at.
constexpr int gWindowWidth = 1024;
constexpr int gWindowHeight = 768;

// Window pixels have their origin at the window's lower-left corner with y upwards, and one of
// them is one pixel of the screen at any window size: a larger window shows more of the scene,
// a smaller one less, and nothing is stretched. The pointer comes from GLUT with its origin at
// the top-left corner and y downwards.
class WindowView : public Singleton<WindowView> {
public:
  // The window's new size in pixels, as the reshape callback reports it.
  void Resize(int width, int height);
  int Width() const { return mWidth; }
  int Height() const { return mHeight; }

  // A pointer position from GLUT in window pixels, and a window pixel position back as GLUT's.
  vec2 PointerToWindow(int x, int y) const;
  glm::ivec2 WindowToPointer(const vec2& window) const;
  // A window pixel position in normalised device coordinates (-1 to 1), where labels are placed.
  vec2 WindowToDevice(const vec2& window) const;
  // Window pixels, with depths from -1 to -1000 visible, into clip space.
  mat4 Projection() const;

private:
  friend class Singleton<WindowView>;
  WindowView() = default;

  int mWidth = gWindowWidth;
  int mHeight = gWindowHeight;
};
