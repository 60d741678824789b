// The registry of GLSL programs: built by name on first use, cached once built, selected for drawing.
#pragma once

#include <map>
#include <string>

#include "ShaderProgram.h"

class ShaderLibrary {
public:
  ShaderLibrary() = default;
  ~ShaderLibrary();  // deletes every program it holds
  ShaderLibrary(const ShaderLibrary&) = delete;
  ShaderLibrary& operator=(const ShaderLibrary&) = delete;

  // Makes the named program current, building it on first use; the empty name selects none
  // (fixed-function drawing). Returns null when there is no program, including a failed build,
  // which is not remembered so the next request tries again.
  ShaderProgram* UseProgram(const std::string& name);

  ShaderProgram* mCurrent = nullptr;                // not owning
  std::map<std::string, ShaderProgram*> mPrograms;  // owned; only programs that built

private:
  static void UnbindTextures();
};
