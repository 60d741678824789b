// The frame rectangle of the editor window that saved path coordinates are normalised to.
#pragma once

#include "PathFileFormat.h"
#include "glm_types.h"

// Half extents of the 700 x 400 frame, in window pixels.
constexpr float gFrameHalfWidth = 350.0f;
constexpr float gFrameHalfHeight = 200.0f;

// The depth of everything the editor draws, inside the visible range (-1 to -1000) of the
// orthographic projection.
constexpr float gOverlayZ = -2.0f;

// Centre of the frame: the middle of the window area right of the 200-pixel bar.
inline const vec2 gFrameCenter(612.0f, 384.0f);

// The frame as the path file format takes it: lower-left corner (262, 184) and half size.
inline pathfile::Frame FileFrame() {
  return pathfile::Frame{{gFrameCenter.x - gFrameHalfWidth, gFrameCenter.y - gFrameHalfHeight},
                         {gFrameHalfWidth, gFrameHalfHeight}};
}
