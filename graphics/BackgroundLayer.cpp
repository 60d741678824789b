// Drawing the background layer with "Background", and decoding its image with SOIL.
#include "BackgroundLayer.h"

#include <GL/glew.h>
#include <SOIL/SOIL.h>

#include <climits>
#include <cstddef>  // offsetof
#include <cstdint>

#include "GraphicsManager.h"
#include "ShaderLibrary.h"

namespace {

// One corner of the quad as uploaded: position, texture coordinate, colour (the opacity).
struct BackgroundVertex {
  vec3 position;
  vec2 texCoord;
  vec4 color;
};

void PointAt(GLint location, GLint size, std::uintptr_t offset) {
  if (location == -1) return;
  glEnableVertexAttribArray(static_cast<GLuint>(location));
  glVertexAttribPointer(static_cast<GLuint>(location), size, GL_FLOAT, GL_FALSE,
                        static_cast<GLsizei>(sizeof(BackgroundVertex)),
                        reinterpret_cast<const void*>(offset));
}

}  // namespace

GLuint LoadImageTexture(const std::string& bytes, std::string* reason) {
  if (bytes.size() > static_cast<std::size_t>(INT_MAX)) {
    if (reason != nullptr) *reason = "too large";
    return 0;
  }
  const GLuint id = SOIL_load_OGL_texture_from_memory(reinterpret_cast<const unsigned char*>(bytes.data()),
                                                      static_cast<int>(bytes.size()), SOIL_LOAD_RGBA,
                                                      SOIL_CREATE_NEW_ID, SOIL_FLAG_MIPMAPS);
  if (id == 0) {
    if (reason != nullptr) *reason = SOIL_last_result();
    return 0;
  }
  glBindTexture(GL_TEXTURE_2D, id);
  glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_LINEAR_MIPMAP_LINEAR);
  glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_NEAREST);
  glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, GL_CLAMP_TO_EDGE);
  glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, GL_CLAMP_TO_EDGE);
  glBindTexture(GL_TEXTURE_2D, 0);
  return id;
}

void GraphicsManager::DrawBackground() {
  const BackgroundLayer layer = mBackground;
  mBackground = BackgroundLayer{};  // handed over anew every frame, as the batches are
  if (layer.texture == 0) return;
  ShaderProgram* program = mShaderLibrary->UseProgram("Background");
  if (program == nullptr) return;  // tried again next frame

  // The image's first row is its top: it goes to the rectangle's upper edge.
  const vec4 color(1.0f, 1.0f, 1.0f, layer.opacity);
  const vec2 a = layer.lowerLeft, b = layer.upperRight;
  const BackgroundVertex quad[4] = {{vec3(a.x, a.y, -2.0f), vec2(0.0f, 1.0f), color},
                                    {vec3(b.x, a.y, -2.0f), vec2(1.0f, 1.0f), color},
                                    {vec3(a.x, b.y, -2.0f), vec2(0.0f, 0.0f), color},
                                    {vec3(b.x, b.y, -2.0f), vec2(1.0f, 0.0f), color}};

  glDepthMask(GL_FALSE);
  glDisable(GL_DEPTH_TEST);
  // The two triangles share an edge; smoothing would blend a seam along it.
  glDisable(GL_POLYGON_SMOOTH);
  if (program->u_projection != -1)
    glUniformMatrix4fv(program->u_projection, 1, GL_FALSE, &mOrthoProjection[0][0]);
  program->ApplyMaterial(layer.texture);
  glBindBuffer(GL_ARRAY_BUFFER, mBackgroundBuffer);
  glBufferData(GL_ARRAY_BUFFER, sizeof quad, quad, GL_STREAM_DRAW);
  PointAt(program->a_vertex, 3, offsetof(BackgroundVertex, position));
  PointAt(program->a_texCoord, 2, offsetof(BackgroundVertex, texCoord));
  PointAt(program->a_color, 4, offsetof(BackgroundVertex, color));
  glDrawArrays(GL_TRIANGLE_STRIP, 0, 4);
  glEnable(GL_POLYGON_SMOOTH);
  glDepthMask(GL_TRUE);
  glEnable(GL_DEPTH_TEST);
}
