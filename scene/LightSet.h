// The scene's eight default lights, each with a marker object.
#pragma once

#include <vector>

#include "glm_types.h"

struct SceneObject;

constexpr int MAX_LIGHTS = 8;

struct Light {
  int mType = 0;
  int mIndex = 0;
  bool mIsActive = false;
  vec3 mDirection = vec3(0.0f, 0.0f, 1.0f);
  vec4 mAmbient = vec4(0.0f, 0.0f, 0.0f, 0.0f);
  vec4 mDiffuse = vec4(0.8f, 0.8f, 0.8f, 1.0f);
  vec4 mSpecular = vec4(1.0f, 1.0f, 1.0f, 1.0f);
  float mConstAtt = 1.0f;
  float mLinearAtt = 0.1f;
  float mQuadAtt = 0.0f;
  float mSpotInnerAngle = 15.0f;
  float mSpotOuterAngle = 30.0f;
  float mSpotFallOff = 1.0f;
  SceneObject* mMarker = nullptr;  // owned by the object manager
};

class LightSet {
public:
  LightSet();  // enables lighting and adds the eight lights
  ~LightSet();
  LightSet(const LightSet&) = delete;
  LightSet& operator=(const LightSet&) = delete;

  Light* AddLight(vec3 position);  // null once MAX_LIGHTS exist

  vec4 mGlobalAmbient = vec4(0.2f, 0.2f, 0.2f, 1.0f);
  std::vector<Light*> mLights;
};
