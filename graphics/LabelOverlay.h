// White bitmap-font labels composed into one window-sized mask and drawn in one textured draw.
#pragma once

#include <cstdint>
#include <limits>
#include <vector>

#include "DebugBatch.h"
#include "GLHandle.h"

// The labels look exactly as glRasterPos2f and glutBitmapString in GLUT_BITMAP_HELVETICA_12
// would draw them one by one in white. The font's glyphs are captured once, on the first frame
// with labels, by drawing each with glutBitmapString into an offscreen target and reading it
// back (the glyph atlas). Each frame the labels' glyphs are copied into a mask of the window,
// and the mask is drawn with a few window-aligned quads in one draw call: the driver's cost
// grows with the number of triangles and the pixels they cover, not with the number of labels.
class LabelOverlay {
public:
  LabelOverlay() = default;
  LabelOverlay(const LabelOverlay&) = delete;
  LabelOverlay& operator=(const LabelOverlay&) = delete;

  // Draws the labels in white. Expects the state the text step sets: no program, the
  // fixed-function matrices, lighting and depth test off. Leaves the GL state as it found it,
  // except the current raster position.
  void Draw(const std::vector<TextLabel>& labels);

  // Deletes the GL objects; the next Draw makes them again.
  void Release();

private:
  // One glyph: where its pixels lie beside the raster position, and its pixels.
  struct Glyph {
    int left = 0, bottom = 0;   // its first pixel, from the floor of the raster position
    int width = 0, height = 0;  // 0 for a glyph that sets no pixel
    std::size_t pixels = 0;     // its rows in mGlyphPixels, bottom row first, 255 where set
    float advance = 0.0f;       // what the glyph adds to the raster position's x
    bool plain = false;         // moves the raster position along x only, the same way every time
  };

  // One corner of a quad: window pixels and mask texture coordinates.
  struct Corner {
    float x, y, u, v;
  };

  bool CaptureGlyphs();
  void PrepareMask();
  // Copies the glyphs of one label whose raster position is (x, y) into the mask; false, with
  // nothing copied, when the text holds a glyph that depends on the text before it.
  bool Compose(const char* text, float x, float y);
  void DrawMask();

  bool mTried = false;  // CaptureGlyphs ran (once per context life, until Release)
  bool mReady = false;  // and succeeded
  Glyph mGlyphs[256];
  std::vector<unsigned char> mGlyphPixels;

  GLuint mTexture = 0;
  int mViewport[4] = {0, 0, 0, 0};
  int mTextureWidth = 0, mTextureHeight = 0;
  std::vector<unsigned char> mMask;  // the viewport's pixels, 255 under a label, bottom row first
  // A block of the mask and the bounds of the glyphs copied into it, [left, right) x
  // [bottom, top) in mask pixels; empty while left >= right.
  struct Cell {
    int left = std::numeric_limits<int>::max(), right = std::numeric_limits<int>::min();
    int bottom = std::numeric_limits<int>::max(), top = std::numeric_limits<int>::min();
    void Add(const Cell& other);
  };
  std::vector<Cell> mCells;
  int mCellColumns = 0, mCellRows = 0;
  Cell mBounds;  // of every glyph copied into the mask

  std::vector<vec2> mStarts;           // raster position of each label; NaN when it draws nothing
  std::vector<std::uint32_t> mByFont;  // labels the font itself must draw
  std::vector<Corner> mCorners;
};
