// Creates scene objects with their shared mesh and texture, and frees them all at shutdown.
#include "ObjectManager.h"

#include <cassert>
#include <initializer_list>
#include <unordered_set>

#include "GraphicsManager.h"
#include "MeshLibrary.h"
#include "TextureLibrary.h"

SceneObject* ObjectManager::CreateObject(const std::string& meshName, vec3 position, vec3 rotation,
                                         vec3 scale, const std::string& textureName) {
  GraphicsManager* graphics = GraphicsManager::Instance();
  assert(graphics->mMeshLibrary != nullptr && "objects are made after the mesh library");

  auto* object = new SceneObject;
  object->mMesh = graphics->mMeshLibrary->GetMesh(meshName);
  object->mPosition = position;
  object->mRotation = rotation;
  object->mScale = scale;
  object->mVisible = true;

  GLuint texture = 0;
  // Without a texture library (objects made before it exists) the object stays untextured.
  if (!textureName.empty() && graphics->mTextureLibrary != nullptr) {
    texture = graphics->mTextureLibrary->FindTexture(textureName);
    if (texture == 0) texture = graphics->mTextureLibrary->LoadTexture(textureName);
  }
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
