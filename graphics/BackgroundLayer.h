// The image under everything else of a frame: a texture stretched over a window rectangle at
// an opacity, and the loading of such an image from the bytes of its file.
#pragma once

#include <string>

#include "GLHandle.h"
#include "glm_types.h"

struct BackgroundLayer {
  GLuint texture = 0;  // none: nothing is drawn
  vec2 lowerLeft = vec2(0.0f);
  vec2 upperRight = vec2(0.0f);
  float opacity = 1.0f;
};

// Decodes the bytes of an image file with SOIL into a new texture: smooth where it is drawn
// smaller than its size (mipmaps), each image pixel a block where it is drawn larger, clamped at
// its edges. 0, with SOIL's reason in *reason, when the bytes are no image SOIL can read.
GLuint LoadImageTexture(const std::string& bytes, std::string* reason);
