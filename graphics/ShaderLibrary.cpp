// Selecting programs: releasing the previous program's state, building and caching new ones.
#include "ShaderLibrary.h"

#include <GL/glew.h>

ShaderLibrary::~ShaderLibrary() {
  for (auto& entry : mPrograms) {
    glDeleteProgram(entry.second->mId);
    delete entry.second;
  }
  mPrograms.clear();
  mCurrent = nullptr;
}

ShaderProgram* ShaderLibrary::UseProgram(const std::string& name) {
  // Re-selecting the current program keeps its attribute and texture state for the next draw.
  if (mCurrent != nullptr && mCurrent->mName != name) {
    mCurrent->ReleaseAttributes();
    UnbindTextures();
  }

  ShaderProgram* result = nullptr;
  if (!name.empty()) {
    auto found = mPrograms.find(name);
    if (found != mPrograms.end()) {
      result = found->second;
    } else {
      auto* program = new ShaderProgram();
      if (program->LoadProgram(name)) {
        mPrograms.emplace(name, program);
        result = program;
      } else {
        glDeleteProgram(program->mId);
        delete program;
      }
    }
  }

  mCurrent = result;
  glUseProgram(result != nullptr ? result->mId : 0);
  return result;
}

void ShaderLibrary::UnbindTextures() {
  for (GLenum unit = 0; unit < 5; ++unit) {
    glActiveTexture(GL_TEXTURE0 + unit);
    glBindTexture(GL_TEXTURE_2D, 0);
  }
}
