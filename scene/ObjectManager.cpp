// Creates scene objects with their shared mesh and texture, and frees them all at shutdown.
#include "ObjectManager.h"

#include <cassert>
#include <initializer_list>
#include <unordered_set>

#include "MeshLibrary.h"

SceneObject* ObjectManager::CreateObject(const std::string& meshName, vec3 position, vec3 rotation,
                                         vec3 scale, const std::string& textureName) {
  assert(mMeshLibrary != nullptr && "objects are made after the mesh library");

  auto* object = new SceneObject;
  object->mMesh = mMeshLibrary->GetMesh(meshName);
  object->mPosition = position;
  object->mRotation = rotation;
  object->mScale = scale;
  object->mVisible = true;

  // Without a texture source (objects made before it exists) the object stays untextured.
  const GLuint texture =
      !textureName.empty() && mTextures != nullptr ? mTextures->TextureNamed(textureName) : 0;
  mObjects.emplace(texture, object);
  return object;
}

void ObjectManager::Shutdown() {
  // An object filed in both tables (or twice in one) is freed once.
  std::unordered_set<SceneObject*> freed;
  for (ObjectTable* table : {&mObjects, &mRenderList}) {
    for (auto& entry : *table) {
      if (freed.insert(entry.second).second) delete entry.second;
    }
    table->clear();
  }
}
