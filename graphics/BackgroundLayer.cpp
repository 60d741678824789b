// Drawing the background layer with "Background", and decoding its image with SOIL.
#include "BackgroundLayer.h"

#include <GL/glew.h>
#include <SOIL/SOIL.h>
#include <stb/stb_image.h>  // stbi_info_from_memory: an image's size without decoding it

#include <climits>
#include <cstddef>  // offsetof
#include <cstdint>

#include "GraphicsManager.h"
#include "ShaderLibrary.h"
#include "WindowView.h"

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

GLuint LoadImageTexture(const std::string& bytes, glm::ivec2* size, std::string* reason) {
  const auto fail = [reason](const std::string& why) {
    if (reason != nullptr) *reason = why;
    return 0u;
  };
  if (bytes.size() > static_cast<std::size_t>(INT_MAX)) return fail("too large");
  // SOIL decodes; the texture is made here at the image's own size. SOIL's own texture with
  // mipmaps would first stretch the image to powers of two (700 x 400 to 1024 x 512), which
  // blurs it where it shows at its size and takes 2.6 times the memory.
  GLint largest = 0;
  glGetIntegerv(GL_MAX_TEXTURE_SIZE, &largest);
  const auto tooLarge = [&](int width, int height) {
    return fail(std::to_string(width) + " x " + std::to_string(height) +
                " pixels, more than the largest texture of " + std::to_string(largest));
  };
  const auto* data = reinterpret_cast<const unsigned char*>(bytes.data());
  const int length = static_cast<int>(bytes.size());
  int width = 0, height = 0, channels = 0;
  // The size from the header first: a small file from anywhere may claim a huge image, whose
  // decoding alone would take gigabytes. A header this reader does not know is left to SOIL.
  if (stbi_info_from_memory(data, length, &width, &height, &channels) &&
      (width > largest || height > largest))
    return tooLarge(width, height);
  unsigned char* pixels =
      SOIL_load_image_from_memory(data, length, &width, &height, &channels, SOIL_LOAD_RGBA);
  if (pixels == nullptr) return fail(SOIL_last_result());
  if (width > largest || height > largest) {
    SOIL_free_image_data(pixels);
    return tooLarge(width, height);
  }

  GLuint id = 0;
  glGenTextures(1, &id);
  glBindTexture(GL_TEXTURE_2D, id);
  glTexParameteri(GL_TEXTURE_2D, GL_GENERATE_MIPMAP, GL_TRUE);
  glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA, width, height, 0, GL_RGBA, GL_UNSIGNED_BYTE, pixels);
  SOIL_free_image_data(pixels);
  // Each image pixel a block where it is drawn larger; the filter for smaller is set per frame.
  glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_NEAREST);
  glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, GL_CLAMP_TO_EDGE);
  glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, GL_CLAMP_TO_EDGE);
  glBindTexture(GL_TEXTURE_2D, 0);
  if (size != nullptr) *size = glm::ivec2(width, height);
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
  // Shown smaller than its size, the image is sampled from its mipmaps, smoothly; at its size
  // or larger, pixel by pixel: the mipmapped filter costs a software renderer about 2 ms a frame
  // for a frame-sized image even where it would pick the very same pixels.
  const vec2 shown = (layer.upperRight - layer.lowerLeft) * WindowView::Instance()->Zoom();
  const bool smaller =
      static_cast<float>(layer.textureSize.x) > shown.x || static_cast<float>(layer.textureSize.y) > shown.y;
  glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, smaller ? GL_LINEAR_MIPMAP_LINEAR : GL_NEAREST);
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
