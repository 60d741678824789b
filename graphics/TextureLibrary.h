// Image files loaded once by name into OpenGL textures.
#pragma once

#include <string>
#include <unordered_map>

#include "GLHandle.h"
#include "TextureSource.h"

class TextureLibrary : public TextureSource {
public:
  // The stored id for name, or 0 when the name is not stored.
  GLuint FindTexture(const std::string& name) const;
  // Loads "../resources/textures/" + name; 0 on failure, which is not stored.
  GLuint LoadTexture(const std::string& name);
  // The stored id, or else the loaded one: what a new scene object asks for.
  GLuint TextureNamed(const std::string& name) override;

  std::unordered_map<std::string, GLuint> mTextures;
};
