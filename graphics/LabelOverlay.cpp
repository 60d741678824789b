// White bitmap-font labels composed into one window-sized mask and drawn in one textured draw.
#include "LabelOverlay.h"

#include <GL/glew.h>      // framebuffer objects and the GL entry points
#include <GL/freeglut.h>  // the bitmap font the glyphs are captured from

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <limits>

namespace {

// The capture: 16 x 16 cells of 32 x 32 pixels, one per byte; each glyph is drawn with the
// raster position in pixel (8, 8) of its cell, which leaves room for pixels left of and below it.
constexpr int kCaptureCell = 32;
constexpr int kCaptureOrigin = 8;
constexpr int kCaptureCells = 16;
constexpr int kCaptureSide = kCaptureCell * kCaptureCells;

// The GL driver puts a bitmap's first pixel at the floor of the raster position plus this much
// (Mesa does so to match other implementations), less the bitmap's origin; the captured glyph
// offsets hold the origin, so only the floor is computed here.
constexpr float kPlacementEpsilon = 1e-4f;

// The mask is drawn in blocks of this size: every run of neighbouring blocks in a row that hold
// label pixels is one quad, cut to the bounds of those pixels. The driver's cost grows with the
// quads and with the pixels they cover; from 16 x 8 to 64 x 16 pixels a block, both stay small.
constexpr int kCellWidth = 32;
constexpr int kCellHeight = 16;

void* Font() { return GLUT_BITMAP_HELVETICA_12; }

}  // namespace

bool LabelOverlay::CaptureGlyphs() {
  if (!GLEW_VERSION_3_0 && !GLEW_ARB_framebuffer_object) return false;

  // Every glyph drawn once by the font itself, white on black, into an offscreen target; the
  // raster position tells how far each one moves it.
  GLint drawFramebuffer = 0, readFramebuffer = 0, program = 0;
  glGetIntegerv(GL_DRAW_FRAMEBUFFER_BINDING, &drawFramebuffer);
  glGetIntegerv(GL_READ_FRAMEBUFFER_BINDING, &readFramebuffer);
  glGetIntegerv(GL_CURRENT_PROGRAM, &program);
  glPushAttrib(GL_ALL_ATTRIB_BITS);
  glPushClientAttrib(GL_CLIENT_ALL_ATTRIB_BITS);

  GLuint renderbuffer = 0, framebuffer = 0;
  glGenRenderbuffers(1, &renderbuffer);
  glBindRenderbuffer(GL_RENDERBUFFER, renderbuffer);
  glRenderbufferStorage(GL_RENDERBUFFER, GL_RGBA8, kCaptureSide, kCaptureSide);
  glGenFramebuffers(1, &framebuffer);
  glBindFramebuffer(GL_FRAMEBUFFER, framebuffer);
  glFramebufferRenderbuffer(GL_FRAMEBUFFER, GL_COLOR_ATTACHMENT0, GL_RENDERBUFFER, renderbuffer);
  const bool complete = glCheckFramebufferStatus(GL_FRAMEBUFFER) == GL_FRAMEBUFFER_COMPLETE;

  std::vector<unsigned char> pixels(static_cast<std::size_t>(kCaptureSide) * kCaptureSide);
  float moved[256][2] = {};
  if (complete) {
    glUseProgram(0);
    for (GLenum capability : {GL_BLEND, GL_DEPTH_TEST, GL_STENCIL_TEST, GL_ALPHA_TEST, GL_SCISSOR_TEST,
                              GL_LIGHTING, GL_FOG, GL_TEXTURE_2D, GL_COLOR_LOGIC_OP}) {
      glDisable(capability);
    }
    glViewport(0, 0, kCaptureSide, kCaptureSide);
    glColorMask(GL_TRUE, GL_TRUE, GL_TRUE, GL_TRUE);
    glClearColor(0.0f, 0.0f, 0.0f, 0.0f);
    glClear(GL_COLOR_BUFFER_BIT);
    glColor4f(1.0f, 1.0f, 1.0f, 1.0f);
    for (int c = 1; c < 256; ++c) {
      const float x = static_cast<float>(c % kCaptureCells * kCaptureCell + kCaptureOrigin) + 0.5f;
      const float y = static_cast<float>(c / kCaptureCells * kCaptureCell + kCaptureOrigin) + 0.5f;
      glWindowPos2f(x, y);
      const unsigned char text[2] = {static_cast<unsigned char>(c), 0};
      glutBitmapString(Font(), text);
      float after[4] = {};
      glGetFloatv(GL_CURRENT_RASTER_POSITION, after);
      moved[c][0] = after[0] - x;
      moved[c][1] = after[1] - y;
    }
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glReadPixels(0, 0, kCaptureSide, kCaptureSide, GL_RED, GL_UNSIGNED_BYTE, pixels.data());
  }

  glBindFramebuffer(GL_DRAW_FRAMEBUFFER, static_cast<GLuint>(drawFramebuffer));
  glBindFramebuffer(GL_READ_FRAMEBUFFER, static_cast<GLuint>(readFramebuffer));
  glDeleteFramebuffers(1, &framebuffer);
  glDeleteRenderbuffers(1, &renderbuffer);
  glPopClientAttrib();
  glPopAttrib();
  glUseProgram(static_cast<GLuint>(program));
  if (!complete) return false;

  // Each glyph's pixels as a box beside the raster position. A pixel that is neither set nor
  // clear, or a glyph that reaches the edge of its cell, is something the mask cannot copy.
  mGlyphPixels.clear();
  for (int c = 1; c < 256; ++c) {
    const int cellX = c % kCaptureCells * kCaptureCell, cellY = c / kCaptureCells * kCaptureCell;
    const auto at = [&](int x, int y) {
      return pixels[static_cast<std::size_t>(cellY + y) * kCaptureSide + static_cast<std::size_t>(cellX + x)];
    };
    int left = kCaptureCell, right = -1, bottom = kCaptureCell, top = -1;
    for (int y = 0; y < kCaptureCell; ++y) {
      for (int x = 0; x < kCaptureCell; ++x) {
        if (at(x, y) == 0) continue;
        if (at(x, y) != 255) return false;
        left = std::min(left, x), right = std::max(right, x);
        bottom = std::min(bottom, y), top = std::max(top, y);
      }
    }
    Glyph& glyph = mGlyphs[c];
    glyph = Glyph{};
    if (right >= 0) {
      if (left == 0 || bottom == 0 || right == kCaptureCell - 1 || top == kCaptureCell - 1) return false;
      glyph.left = left - kCaptureOrigin;
      glyph.bottom = bottom - kCaptureOrigin;
      glyph.width = right - left + 1;
      glyph.height = top - bottom + 1;
      glyph.pixels = mGlyphPixels.size();
      for (int y = bottom; y <= top; ++y) {
        for (int x = left; x <= right; ++x) mGlyphPixels.push_back(at(x, y));
      }
    }
    glyph.advance = moved[c][0];
    // A glyph that moves the raster position otherwise (the font's line break goes back by what
    // the text advanced so far) depends on the text before it; such texts are left to the font.
    glyph.plain = moved[c][1] == 0.0f && std::isfinite(moved[c][0]);
  }
  glGenTextures(1, &mTexture);
  return true;
}

void LabelOverlay::Release() {
  if (mTexture != 0) glDeleteTextures(1, &mTexture);
  mTexture = 0;
  mTextureWidth = mTextureHeight = 0;
  mTried = false;
  mReady = false;
}

// The mask and its texture at the viewport's size, cleared.
void LabelOverlay::PrepareMask() {
  glGetIntegerv(GL_VIEWPORT, mViewport);
  const int width = std::max(mViewport[2], 0), height = std::max(mViewport[3], 0);
  if (width != mTextureWidth || height != mTextureHeight) {
    mTextureWidth = width;
    mTextureHeight = height;
    mMask.assign(static_cast<std::size_t>(width) * static_cast<std::size_t>(height), 0);
    mCellColumns = (width + kCellWidth - 1) / kCellWidth;
    mCellRows = (height + kCellHeight - 1) / kCellHeight;
    mCells.assign(static_cast<std::size_t>(mCellColumns) * static_cast<std::size_t>(mCellRows), Cell{});
    GLint texture = 0;
    glGetIntegerv(GL_TEXTURE_BINDING_2D, &texture);
    glBindTexture(GL_TEXTURE_2D, mTexture);
    glTexImage2D(GL_TEXTURE_2D, 0, GL_ALPHA8, width, height, 0, GL_ALPHA, GL_UNSIGNED_BYTE, nullptr);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_NEAREST);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_NEAREST);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, GL_CLAMP_TO_EDGE);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, GL_CLAMP_TO_EDGE);
    glBindTexture(GL_TEXTURE_2D, static_cast<GLuint>(texture));
  }
  mBounds = Cell{};
}

void LabelOverlay::Cell::Add(const Cell& other) {
  left = std::min(left, other.left), right = std::max(right, other.right);
  bottom = std::min(bottom, other.bottom), top = std::max(top, other.top);
}

bool LabelOverlay::Compose(const char* text, float x, float y) {
  const auto* bytes = reinterpret_cast<const unsigned char*>(text);
  for (const unsigned char* byte = bytes; *byte != 0; ++byte) {
    if (!mGlyphs[*byte].plain) return false;
  }
  // Mask coordinates: window pixels from the viewport's corner.
  const int bottom = static_cast<int>(std::floor(y + kPlacementEpsilon)) - mViewport[1];
  for (const unsigned char* byte = bytes; *byte != 0; ++byte) {
    const Glyph& glyph = mGlyphs[*byte];
    const int left = static_cast<int>(std::floor(x + kPlacementEpsilon)) - mViewport[0] + glyph.left;
    const int low = bottom + glyph.bottom;
    x += glyph.advance;  // in single precision, as the GL adds it to the raster position
    // What falls outside the viewport is clipped, as the window clips a bitmap.
    const int x0 = std::max(left, 0), x1 = std::min(left + glyph.width, mTextureWidth);
    const int y0 = std::max(low, 0), y1 = std::min(low + glyph.height, mTextureHeight);
    if (x0 >= x1 || y0 >= y1) continue;
    for (int row = y0; row < y1; ++row) {
      const unsigned char* from =
          &mGlyphPixels[glyph.pixels + static_cast<std::size_t>((row - low) * glyph.width)];
      unsigned char* to = &mMask[static_cast<std::size_t>(row) * static_cast<std::size_t>(mTextureWidth)];
      for (int column = x0; column < x1; ++column) to[column] |= from[column - left];
    }
    const Cell box{x0, x1, y0, y1};
    for (int cellRow = y0 / kCellHeight; cellRow <= (y1 - 1) / kCellHeight; ++cellRow) {
      for (int column = x0 / kCellWidth; column <= (x1 - 1) / kCellWidth; ++column) {
        const Cell block{column * kCellWidth, (column + 1) * kCellWidth, cellRow * kCellHeight,
                         (cellRow + 1) * kCellHeight};
        mCells[static_cast<std::size_t>(cellRow * mCellColumns + column)].Add(
            Cell{std::max(box.left, block.left), std::min(box.right, block.right),
                 std::max(box.bottom, block.bottom), std::min(box.top, block.top)});
      }
    }
    mBounds.Add(box);
  }
  return true;
}

void LabelOverlay::DrawMask() {
  if (mBounds.left >= mBounds.right) return;  // no glyph in the viewport

  // The quads: each run of neighbouring blocks in a row of blocks that hold label pixels, as
  // tight as the pixels in them, in window pixels.
  mCorners.clear();
  const float width = static_cast<float>(mTextureWidth), height = static_cast<float>(mTextureHeight);
  const auto corner = [&](int x, int y) {
    mCorners.push_back(Corner{static_cast<float>(mViewport[0] + x), static_cast<float>(mViewport[1] + y),
                              static_cast<float>(x) / width, static_cast<float>(y) / height});
  };
  for (int row = 0; row < mCellRows; ++row) {
    const Cell* cells = &mCells[static_cast<std::size_t>(row * mCellColumns)];
    for (int column = 0; column < mCellColumns; ++column) {
      if (cells[column].left >= cells[column].right) continue;
      Cell run = cells[column];
      while (column + 1 < mCellColumns && cells[column + 1].left < cells[column + 1].right)
        run.Add(cells[++column]);
      corner(run.left, run.bottom);
      corner(run.right, run.bottom);
      corner(run.right, run.top);
      corner(run.left, run.top);
    }
  }

  // Window pixels through the fixed-function pipeline; every pixel the quads cover is either
  // the labels' white, kept whole by the alpha test, or left as it was, as under a bitmap.
  glPushAttrib(GL_ENABLE_BIT | GL_TEXTURE_BIT | GL_COLOR_BUFFER_BIT | GL_TRANSFORM_BIT | GL_CURRENT_BIT);
  glPushClientAttrib(GL_CLIENT_VERTEX_ARRAY_BIT | GL_CLIENT_PIXEL_STORE_BIT);
  glMatrixMode(GL_PROJECTION);
  glPushMatrix();
  glLoadIdentity();
  glOrtho(mViewport[0], mViewport[0] + mViewport[2], mViewport[1], mViewport[1] + mViewport[3], -1.0, 1.0);
  glMatrixMode(GL_MODELVIEW);
  glPushMatrix();
  glLoadIdentity();
  glDisable(GL_POLYGON_SMOOTH);  // smoothed quads would leave partly covered edges
  glDisable(GL_CULL_FACE);
  glEnable(GL_ALPHA_TEST);
  glAlphaFunc(GL_GREATER, 0.5f);
  glActiveTexture(GL_TEXTURE0);
  glEnable(GL_TEXTURE_2D);
  glBindTexture(GL_TEXTURE_2D, mTexture);
  glTexEnvi(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, GL_MODULATE);
  glColor4f(1.0f, 1.0f, 1.0f, 1.0f);

  // Only the rows and columns that hold label pixels are sent.
  glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
  glPixelStorei(GL_UNPACK_ROW_LENGTH, mTextureWidth);
  glPixelStorei(GL_UNPACK_SKIP_PIXELS, mBounds.left);
  glPixelStorei(GL_UNPACK_SKIP_ROWS, mBounds.bottom);
  glTexSubImage2D(GL_TEXTURE_2D, 0, mBounds.left, mBounds.bottom, mBounds.right - mBounds.left,
                  mBounds.top - mBounds.bottom, GL_ALPHA, GL_UNSIGNED_BYTE, mMask.data());

  glBindBuffer(GL_ARRAY_BUFFER, 0);
  glClientActiveTexture(GL_TEXTURE0);
  glEnableClientState(GL_VERTEX_ARRAY);
  glEnableClientState(GL_TEXTURE_COORD_ARRAY);
  glVertexPointer(2, GL_FLOAT, sizeof(Corner), &mCorners[0].x);
  glTexCoordPointer(2, GL_FLOAT, sizeof(Corner), &mCorners[0].u);
  glDrawArrays(GL_QUADS, 0, static_cast<GLsizei>(mCorners.size()));

  glMatrixMode(GL_PROJECTION);
  glPopMatrix();
  glMatrixMode(GL_MODELVIEW);
  glPopMatrix();
  glPopClientAttrib();  // the array buffer binding and the pixel store too
  glPopAttrib();

  // Cleared for the next frame: the rows and columns that were written, and the blocks.
  for (int row = mBounds.bottom; row < mBounds.top; ++row) {
    std::memset(&mMask[static_cast<std::size_t>(row) * static_cast<std::size_t>(mTextureWidth) +
                       static_cast<std::size_t>(mBounds.left)],
                0, static_cast<std::size_t>(mBounds.right - mBounds.left));
  }
  std::fill(mCells.begin(), mCells.end(), Cell{});
}

void LabelOverlay::Draw(const std::vector<TextLabel>& labels) {
  if (labels.empty()) return;
  if (!mTried) {
    mTried = true;
    mReady = CaptureGlyphs();
  }

  // The raster position of every label, as the GL computes it from the label's position;
  // one that is not valid draws nothing, as a bitmap at an invalid raster position does.
  mStarts.clear();
  mByFont.clear();
  for (std::size_t i = 0; i < labels.size(); ++i) {
    vec2 start(std::numeric_limits<float>::quiet_NaN());
    if (!mReady) {
      mByFont.push_back(static_cast<std::uint32_t>(i));
    } else {
      glRasterPos2f(labels[i].position.x, labels[i].position.y);
      GLboolean valid = GL_FALSE;
      glGetBooleanv(GL_CURRENT_RASTER_POSITION_VALID, &valid);
      float raster[4] = {};
      if (valid == GL_TRUE) glGetFloatv(GL_CURRENT_RASTER_POSITION, raster);
      // A valid position that is not finite is placed by the driver's own rules: the font draws it.
      if (valid == GL_TRUE && std::isfinite(raster[0]) && std::isfinite(raster[1])) {
        start = vec2(raster[0], raster[1]);
      } else if (valid == GL_TRUE) {
        mByFont.push_back(static_cast<std::uint32_t>(i));
      }
    }
    mStarts.push_back(start);
  }

  if (mReady) {
    PrepareMask();
    for (std::size_t i = 0; i < labels.size(); ++i) {
      if (std::isnan(mStarts[i].x)) continue;
      if (!Compose(labels[i].text.c_str(), mStarts[i].x, mStarts[i].y)) {
        mByFont.push_back(static_cast<std::uint32_t>(i));
      }
    }
    DrawMask();
  }

  // What the mask cannot hold, the font draws itself.
  for (const std::uint32_t i : mByFont) {
    glRasterPos2f(labels[i].position.x, labels[i].position.y);
    glutBitmapString(Font(), reinterpret_cast<const unsigned char*>(labels[i].text.c_str()));
  }
}
