// The engine's fixed viewpoint: an eye and the point it looks at.
#pragma once

#include "Singleton.h"
#include "glm_types.h"

class CameraManager : public Singleton<CameraManager> {
public:
  vec3 mPosition = vec3(0.0f, 0.0f, 10.0f);
  vec3 mTarget = vec3(0.0f, 0.0f, 0.0f);

private:
  friend class Singleton<CameraManager>;
  CameraManager() = default;
};
