// Owns the scene objects, filed by the texture they are drawn with.
#pragma once

#include <string>
#include <unordered_map>

#include "GLHandle.h"
#include "SceneObject.h"
#include "Singleton.h"
#include "SubSystem.h"
#include "TextureSource.h"
#include "glm_types.h"

class MeshLibrary;

// Texture id to owned object; entries with equal ids are yielded next to each other.
using ObjectTable = std::unordered_multimap<GLuint, SceneObject*>;

class ObjectManager : public Singleton<ObjectManager>, public SubSystem {
public:
  void Shutdown() override;

  SceneObject* CreateObject(const std::string& meshName, vec3 position, vec3 rotation, vec3 scale,
                            const std::string& textureName);

  ObjectTable mObjects;
  ObjectTable mRenderList;  // the draw list handed to the frame render

  // Where new objects take their meshes and textures from, handed over by the renderer that
  // owns both at its start-up. Not owned; objects made without a texture source are untextured.
  MeshLibrary* mMeshLibrary = nullptr;
  TextureSource* mTextures = nullptr;

private:
  friend class Singleton<ObjectManager>;
  ObjectManager() = default;
};
