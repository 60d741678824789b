# Finds the Debian packages the editor builds on (tinyxml2, which the runtime needs too, is
# found before) and wraps them as targets.
# Every third-party include folder is marked SYSTEM so its warnings stay out of ours.
find_package(OpenGL REQUIRED COMPONENTS OpenGL GLX)
find_package(GLUT REQUIRED)
find_package(GLEW REQUIRED)
find_package(glm CONFIG REQUIRED)
find_package(PkgConfig REQUIRED)
find_package(X11 REQUIRED)

# Dear ImGui ships only a pkg-config file; its static library needs stb for the font rasteriser.
pkg_check_modules(IMGUI REQUIRED imgui)
add_library(veyrun_deps_imgui INTERFACE)
target_include_directories(veyrun_deps_imgui SYSTEM INTERFACE ${IMGUI_INCLUDE_DIRS})
target_link_libraries(veyrun_deps_imgui INTERFACE imgui stb)

# SOIL has neither a pkg-config nor a CMake config file on Debian.
find_path(SOIL_INCLUDE_DIR SOIL/SOIL.h REQUIRED)
find_library(SOIL_LIBRARY NAMES SOIL REQUIRED)
add_library(veyrun_deps_soil INTERFACE)
target_include_directories(veyrun_deps_soil SYSTEM INTERFACE ${SOIL_INCLUDE_DIR})
target_link_libraries(veyrun_deps_soil INTERFACE ${SOIL_LIBRARY})

# OpenGL, GLU, GLEW and freeglut together: what every rendering translation unit needs.
add_library(veyrun_deps_gl INTERFACE)
target_link_libraries(veyrun_deps_gl INTERFACE GLEW::GLEW GLUT::GLUT OpenGL::GL OpenGL::GLU)

# glm's config target is not marked SYSTEM; wrap it so -Wpedantic stays quiet about it.
get_target_property(GLM_INCLUDES glm::glm INTERFACE_INCLUDE_DIRECTORIES)
add_library(veyrun_deps_glm INTERFACE)
if(GLM_INCLUDES)
  target_include_directories(veyrun_deps_glm SYSTEM INTERFACE ${GLM_INCLUDES})
endif()
target_compile_definitions(veyrun_deps_glm INTERFACE GLM_FORCE_CTOR_INIT)
