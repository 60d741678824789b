// What object creation asks of a texture store: the id of a texture by its name.
#pragma once

#include <string>

#include "GLHandle.h"

class TextureSource {
public:
  virtual ~TextureSource() = default;
  // The id of the named texture, loaded on first use; 0 for no texture or a failed load.
  virtual GLuint TextureNamed(const std::string& name) = 0;
};
