// The eight default lights around the y axis, each marked by an invisible sphere object.
#include "LightSet.h"

#include <cmath>

#include "ObjectManager.h"
#include "SceneGL.h"

LightSet::LightSet() {
  scenegl::EnableLighting();
  // The ring is stepped in single precision, so the positions are the float results of the
  // repeated rotation, not exact multiples of 45 degrees.
  const float angle = 0.7853982f;
  const float c = std::cos(angle);
  const float s = std::sin(angle);
  vec3 p(5.0f, 2.0f, 0.0f);
  for (int i = 0; i < MAX_LIGHTS; ++i) {
    AddLight(p);
    float x = p.x * c - p.z * s;
    float z = p.x * s + p.z * c;
    p = vec3(x, p.y, z);
  }
}

LightSet::~LightSet() {
  // The markers belong to the object manager, which has freed them by now.
  for (Light* light : mLights) delete light;
  std::vector<Light*>().swap(mLights);
}

Light* LightSet::AddLight(vec3 position) {
  if (mLights.size() >= static_cast<std::size_t>(MAX_LIGHTS)) return nullptr;
  auto* light = new Light;
  light->mIndex = static_cast<int>(mLights.size());
  SceneObject* marker =
      ObjectManager::Instance()->CreateObject("sphere", position, vec3(0.0f), vec3(1.0f), "");
  marker->mScale = vec3(0.0f);
  marker->mName = "light";
  light->mMarker = marker;
  mLights.push_back(light);
  return light;
}
