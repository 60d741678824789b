// OpenGL object names without the OpenGL headers, so model code compiles without them.
#pragma once

typedef unsigned int GLuint;  // the same type GL/gl.h declares; a repeated typedef is legal
