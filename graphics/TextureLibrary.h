// Image files loaded once by name into OpenGL textures.
#pragma once

#include <string>
#include <unordered_map>

#include "GLHandle.h"

class TextureLibrary {
public:
  // The stored id for name, or 0 when the name is not stored.
  GLuint FindTexture(const std::string& name) const;
  // Loads "../resources/textures/" + name; 0 on failure, which is not stored.
  GLuint LoadTexture(const std::string& name);

  std::unordered_map<std::string, GLuint> mTextures;
};
