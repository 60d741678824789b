// The path's per-frame work: the mouse, the sample cache, and what the user sees of it.
#include <GL/freeglut.h>

#include <string>

#include "CubicBSpline.h"
#include "GraphicsManager.h"
#include "InputManager.h"

namespace {

constexpr float kZ = -2.0f;
const vec4 kCurveColor(0.6f, 0.4f, 0.8f, 1.0f);
const vec4 kStartColor(0.5f, 1.0f, 1.0f, 1.0f);
const vec4 kSelectedColor(1.0f, 0.0f, 0.0f, 1.0f);
const vec4 kHoveredColor(1.0f, 1.0f, 0.0f, 1.0f);
const vec4 kPointColor(0.0f, 1.0f, 0.0f, 1.0f);
const vec4 kMoveLineColor(1.0f, 1.0f, 0.0f, 1.0f);

void ShowCursor(InputManager* input, bool visible) {
  input->mCursorVisible = visible;
  glutSetCursor(visible ? GLUT_CURSOR_LEFT_ARROW : GLUT_CURSOR_NONE);
}

}  // namespace

void CubicBSpline::HandleMouse() {
  InputManager* input = InputManager::Instance();
  const vec2 mouse = input->mMousePos;
  const vec2 delta = mouse - mLastMousePos;
  Pick(mouse);

  const bool leftPress = input->mMouseLeft && !input->mPrevMouseLeft;
  const bool leftHeld = input->mMouseLeft && input->mPrevMouseLeft;
  const bool middlePress = input->mMouseMiddle && !input->mPrevMouseMiddle;
  const bool middleHeld = input->mMouseMiddle && input->mPrevMouseMiddle;
  const bool rightPress = input->mMouseRight && !input->mPrevMouseRight;

  if (leftPress) {
    // A press on empty space keeps the selection: there is no deselection by clicking.
    if (mHoveredIndex != -1) mSelectedIndex = mHoveredIndex;
    if (mSelectedIndex != -1) ShowCursor(input, false);
  } else if (leftHeld) {
    MoveSelected(delta);
  } else if (middlePress) {
    ShowCursor(input, false);
  } else if (middleHeld) {
    GraphicsManager::Instance()->DrawLine(vec3(mLastMousePos, kZ), vec3(mouse, kZ), kMoveLineColor);
    TranslateAll(delta);
  } else if (rightPress) {
    PushBack(mouse);
  } else {
    ShowCursor(input, true);
  }
}

void CubicBSpline::Update() {
  HandleMouse();
  RebuildSamples();

  GraphicsManager* graphics = GraphicsManager::Instance();
  if (!mSamples.empty()) {
    graphics->mPoints.push_back(ColorVertex{vec3(mSamples[0], kZ), kStartColor});
    auto& lines = graphics->mLines;
    const std::size_t first = lines.size();
    lines.resize(first + 2 * (mSamples.size() - 1));
    for (std::size_t i = 0; i + 1 < mSamples.size(); ++i) {
      lines[first + 2 * i] = ColorVertex{vec3(mSamples[i], kZ), kCurveColor};
      lines[first + 2 * i + 1] = ColorVertex{vec3(mSamples[i + 1], kZ), kCurveColor};
    }
  }

  for (std::size_t i = 0; i < mControlPoints.size(); ++i) {
    const vec2 w = ToWindow(mControlPoints[i]);
    // 20 pixels above the point, in device coordinates of the 1024 x 768 window.
    graphics->mTexts.push_back(TextLabel{std::to_string(i), vec2(w.x / 512.0f - 1.0f, (w.y + 20.0f) / 384.0f - 1.0f)});
    const auto index = static_cast<std::int32_t>(i);
    const vec4& color = index == mSelectedIndex ? kSelectedColor
                        : index == mHoveredIndex ? kHoveredColor
                                                 : kPointColor;
    graphics->mPoints.push_back(ColorVertex{vec3(w, kZ), color});
  }

  mLastMousePos = InputManager::Instance()->mMousePos;
}
