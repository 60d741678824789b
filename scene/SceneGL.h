// The scene's OpenGL calls, kept apart so that mesh and OBJ code builds and runs without a context.
#pragma once

class Mesh;

namespace scenegl {

// Deletes the mesh's vertex and index buffer objects.
void DeleteMeshBuffers(const Mesh& mesh);

// Turns on fixed-function lighting for the scene's lights.
void EnableLighting();

}  // namespace scenegl
