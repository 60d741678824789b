// The per-frame debug batches: coloured lines and points with "Lines", white bitmap-font labels.
#include <GL/glew.h>

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <vector>

#include "GraphicsManager.h"
#include "LabelOverlay.h"
#include "ShaderLibrary.h"

void GraphicsManager::DrawLine(vec3 from, vec3 to, vec4 color) {
  mLines.push_back(ColorVertex{from, color});
  mLines.push_back(ColorVertex{to, color});
}

void GraphicsManager::DrawLines() { DrawBatch(mLines, mLineBuffer, GL_LINES); }

void GraphicsManager::DrawPoints() { DrawBatch(mPoints, mPointBuffer, GL_POINTS); }

void GraphicsManager::DrawBatch(std::vector<ColorVertex>& batch, GLuint buffer, unsigned int mode) {
  if (batch.empty()) return;

  // Debug geometry lies over the scene and leaves the depth buffer as the scene left it.
  glDepthMask(GL_FALSE);
  glDisable(GL_DEPTH_TEST);

  // Without a program the batch is dropped for this frame; "Lines" is tried again next frame.
  if (ShaderProgram* program = mShaderLibrary->UseProgram("Lines")) {
    if (program->u_projection != -1) {
      glUniformMatrix4fv(program->u_projection, 1, GL_FALSE, &mOrthoProjection[0][0]);
    }
    glBindBuffer(GL_ARRAY_BUFFER, buffer);
    constexpr auto kStride = static_cast<GLsizei>(sizeof(ColorVertex));
    if (program->a_vertex != -1) {
      const auto location = static_cast<GLuint>(program->a_vertex);
      glEnableVertexAttribArray(location);
      glVertexAttribPointer(location, 3, GL_FLOAT, GL_FALSE, kStride, nullptr);
    }
    if (program->a_color != -1) {
      const auto location = static_cast<GLuint>(program->a_color);
      glEnableVertexAttribArray(location);
      glVertexAttribPointer(location, 4, GL_FLOAT, GL_FALSE, kStride,
                            reinterpret_cast<const void*>(static_cast<std::uintptr_t>(12)));
    }
    // Uploaded and drawn slice by slice, so the driver copies one slice at a time and not a
    // whole batch, which a long path makes hundreds of megabytes large. The slice size is even:
    // no line is split between two slices.
    constexpr std::size_t kSlice = std::size_t(1) << 16;
    for (std::size_t first = 0; first < batch.size(); first += kSlice) {
      const std::size_t count = std::min(kSlice, batch.size() - first);
      glBufferData(GL_ARRAY_BUFFER, static_cast<GLsizeiptr>(count * sizeof(ColorVertex)),
                   batch.data() + first, GL_STREAM_DRAW);
      glDrawArrays(mode, 0, static_cast<GLsizei>(count));
    }
  }

  batch.clear();  // keeps the capacity, so a steady batch size allocates nothing
  glDepthMask(GL_TRUE);
  glEnable(GL_DEPTH_TEST);
}

void GraphicsManager::DrawTexts() {
  glDisable(GL_DEPTH_TEST);
  glDepthMask(GL_FALSE);
  glDisable(GL_LIGHTING);

  // No program: the fixed-function matrices, never changed from the identity, place the text
  // in normalised device coordinates. A raster position outside the window drops the label.
  mShaderLibrary->UseProgram("");
  glColor3f(1.0f, 1.0f, 1.0f);
  mLabelOverlay->Draw(mTexts);

  glEnable(GL_LIGHTING);
  glEnable(GL_DEPTH_TEST);
  glDepthMask(GL_TRUE);
  mTexts.clear();
}
