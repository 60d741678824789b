// The window's size, the view of the scene (zoom and pan), and the one mapping between the
// pointer, the window's pixels, the scene's pixels and the drawing's device coordinates; the
// drawing and every input handler go through it.
#pragma once

#include "Singleton.h"
#include "glm_types.h"

// The size the window opens at.
constexpr int gWindowWidth = 1024;
constexpr int gWindowHeight = 768;

// The view's zoom: a factor of this per wheel step, held between the two limits.
constexpr float gZoomStep = 1.25f;
constexpr float gMinZoom = 0.25f;
constexpr float gMaxZoom = 16.0f;

// Window pixels have their origin at the window's lower-left corner with y upwards, and one of
// them is one pixel of the screen at any window size: a larger window shows more of the scene,
// a smaller one less, and nothing is stretched. The pointer comes from GLUT with its origin at
// the top-left corner and y downwards.
//
// The scene is what the editor draws and edits (the path's positions, the frame, the grid),
// placed in scene pixels: the window pixels it has at the view's start, zoom 1 and no pan, where
// the frame is at its place. The view shows the scene pixel s at the window pixel
// s * zoom + pan; it is no part of the path, is never saved and never undone.
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

  float Zoom() const { return mZoom; }
  vec2 Pan() const { return mPan; }
  // The window pixel a scene pixel shows at, and the scene pixel under a window pixel.
  vec2 SceneToWindow(const vec2& scene) const { return scene * mZoom + mPan; }
  vec2 WindowToScene(const vec2& window) const { return (window - mPan) / mZoom; }
  // Scene pixels into clip space: the view, then the window's projection.
  mat4 SceneProjection() const;
  // One wheel step about a window pixel, in (gZoomStep times larger) or out; the scene point
  // under that pixel stays under it. The zoom is a whole number of steps from 1, held at the
  // limits, so that going back as many steps as were taken returns to the zoom before, also
  // from a limit. At a limit a step further changes nothing.
  void ZoomAbout(const vec2& window, bool in);
  // Pans so that the scene point `scene` shows at the window pixel `window`.
  void PanTo(const vec2& scene, const vec2& window);
  // Back to zoom 1 and no pan: the scene at its place.
  void ResetView();

private:
  friend class Singleton<WindowView>;
  WindowView() = default;

  int mWidth = gWindowWidth;
  int mHeight = gWindowHeight;
  int mZoomSteps = 0;  // wheel steps from 1, the first beyond a limit at most
  float mZoom = 1.0f;  // gZoomStep to the power mZoomSteps, held between the limits
  vec2 mPan = vec2(0.0f);
};
