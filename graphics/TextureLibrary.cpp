// Loading image files into OpenGL textures through SOIL, once per requested name.
#include "TextureLibrary.h"

#include <GL/glew.h>
#include <SOIL/SOIL.h>

GLuint TextureLibrary::FindTexture(const std::string& name) const {
  auto found = mTextures.find(name);
  return found != mTextures.end() ? found->second : 0;
}

GLuint TextureLibrary::LoadTexture(const std::string& name) {
  // No name means no texture; the folder itself is not a file to try.
  if (name.empty()) return 0;
  // A name that is stored already keeps its one texture instead of leaking a second.
  if (GLuint stored = FindTexture(name)) return stored;

  const std::string path = "../resources/textures/" + name;
  const GLuint id =
      SOIL_load_OGL_texture(path.c_str(), SOIL_LOAD_RGBA, SOIL_CREATE_NEW_ID, SOIL_FLAG_MIPMAPS);
  if (id == 0) return 0;  // missing or undecodable: untextured, and tried again next time

  // Nearest-neighbour sampling of the full-size image, whatever SOIL chose.
  glBindTexture(GL_TEXTURE_2D, id);
  glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_NEAREST);
  glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_NEAREST);
  glBindTexture(GL_TEXTURE_2D, 0);

  mTextures.emplace(name, id);
  return id;
}

GLuint TextureLibrary::TextureNamed(const std::string& name) {
  const GLuint stored = FindTexture(name);
  return stored != 0 ? stored : LoadTexture(name);
}
