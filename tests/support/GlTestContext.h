// A real OpenGL 2.0 context for tests that draw: one hidden-from-nobody freeglut window per
// process, made the way Demo makes its own (1024 x 768, the same display mode), with GLEW loaded.
// Needs an X server (the test command starts Xvfb); tests call EnsureGlContext() first.
#pragma once

namespace testsupport {

// Creates the window and context on the first call; later calls only make it current.
void EnsureGlContext();

// Reads one RGBA pixel of the back buffer at window coordinates (origin lower left).
struct Rgba {
  unsigned char r, g, b, a;
};
Rgba ReadPixel(int x, int y);

}  // namespace testsupport
