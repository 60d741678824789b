// The image under everything else of a frame: a texture stretched over a window rectangle at
// an opacity, and the loading of such an image from the bytes of its file.
#pragma once

#include <string>

#include "GLHandle.h"
#include "glm_types.h"

struct BackgroundLayer {
  GLuint texture = 0;  // none: nothing is drawn
  glm::ivec2 textureSize = glm::ivec2(0);
  vec2 lowerLeft = vec2(0.0f);  // scene pixels
  vec2 upperRight = vec2(0.0f);
  float opacity = 1.0f;
};

// Decodes the bytes of an image file with SOIL into a new texture of the image's size with
// mipmaps, clamped at its edges, and gives that size in *size. 0, with the reason in *reason
// (SOIL's), when the bytes are no image SOIL can read or the image is too large for a texture.
GLuint LoadImageTexture(const std::string& bytes, glm::ivec2* size, std::string* reason);
