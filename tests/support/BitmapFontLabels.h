// The drawing the label overlay is held to, by the tests and the benchmarks: each label in turn
// with glRasterPos2f and glutBitmapString. Header-only: its users link the graphics library.
#pragma once

#include <GL/glew.h>
#include <GL/freeglut.h>

#include <vector>

#include "DebugBatch.h"     // TextLabel
#include "ShaderLibrary.h"  // UseProgram("") for the fixed-function pipeline

namespace testsupport {

// Draws the labels in the frame's text state (no depth test or depth writes, no lighting, no
// program, white), one glutBitmapString each, and turns depth and lighting back on as the
// frame's text step does.
inline void DrawLabelsWithTheFont(ShaderLibrary& shaders, const std::vector<TextLabel>& labels) {
  glDisable(GL_DEPTH_TEST);
  glDepthMask(GL_FALSE);
  glDisable(GL_LIGHTING);
  shaders.UseProgram("");
  glColor3f(1.0f, 1.0f, 1.0f);
  for (const TextLabel& label : labels) {
    glRasterPos2f(label.position.x, label.position.y);
    glutBitmapString(GLUT_BITMAP_HELVETICA_12, reinterpret_cast<const unsigned char*>(label.text.c_str()));
  }
  glEnable(GL_LIGHTING);
  glEnable(GL_DEPTH_TEST);
  glDepthMask(GL_TRUE);
}

}  // namespace testsupport
