// The path's per-frame work: the mouse, the sample cache, and what the user sees of it.
#include <GL/freeglut.h>

#include <charconv>
#include <string>

#include "AppendGenerated.h"

#include "GraphicsManager.h"
#include "InputManager.h"
#include "SplineEditor.h"
#include "WindowSize.h"

namespace {

constexpr float kZ = -2.0f;
const vec4 kCurveColor(0.6f, 0.4f, 0.8f, 1.0f);
const vec4 kStartColor(0.5f, 1.0f, 1.0f, 1.0f);
const vec4 kSelectedColor(1.0f, 0.0f, 0.0f, 1.0f);
const vec4 kHoveredColor(1.0f, 1.0f, 0.0f, 1.0f);
const vec4 kPointColor(0.0f, 1.0f, 0.0f, 1.0f);
const vec4 kMoveLineColor(1.0f, 1.0f, 0.0f, 1.0f);

// The index as decimal digits, without the stream machinery of std::to_string.
std::string DecimalText(std::size_t value) {
  char digits[24];
  const auto end = std::to_chars(digits, digits + sizeof digits, value).ptr;
  return std::string(digits, end);
}

void ShowCursor(InputManager* input, bool visible) {
  input->mCursorVisible = visible;
  glutSetCursor(visible ? GLUT_CURSOR_LEFT_ARROW : GLUT_CURSOR_NONE);
}

}  // namespace

void SplineEditor::HandleMouse() {
  InputManager* input = InputManager::Instance();
  const vec2 mouse = input->mMousePos;
  const vec2 delta = mouse - mLastMousePos;
  mSpline.Pick(mouse);

  const bool leftPress = input->mMouseLeft && !input->mPrevMouseLeft;
  const bool leftHeld = input->mMouseLeft && input->mPrevMouseLeft;
  const bool middlePress = input->mMouseMiddle && !input->mPrevMouseMiddle;
  const bool middleHeld = input->mMouseMiddle && input->mPrevMouseMiddle;
  const bool rightPress = input->mMouseRight && !input->mPrevMouseRight;

  if (leftPress) {
    // A press on empty space keeps the selection: there is no deselection by clicking.
    if (mSpline.mHoveredIndex != -1) mSpline.mSelectedIndex = mSpline.mHoveredIndex;
    if (mSpline.mSelectedIndex != -1) ShowCursor(input, false);
  } else if (leftHeld) {
    mSpline.MoveSelected(delta);
  } else if (middlePress) {
    ShowCursor(input, false);
  } else if (middleHeld) {
    GraphicsManager::Instance()->DrawLine(vec3(mLastMousePos, kZ), vec3(mouse, kZ), kMoveLineColor);
    mSpline.TranslateAll(delta);
  } else if (rightPress) {
    mSpline.PushBack(mouse);
  } else {
    ShowCursor(input, true);
  }
}

void SplineEditor::Update() {
  // The pointer's place for the bar's buttons: wherever it moved outside the bar.
  const vec2 mouse = InputManager::Instance()->mMousePos;
  const bool moved = mouse != mLastMousePos;
  if (moved && !TwIsOnBar(static_cast<int>(mouse.x), gWindowHeight - static_cast<int>(mouse.y)))
    mLastScenePointer = mouse;
  HandleMouse();
  mSpline.RebuildSamples();
  SubmitDrawing();
  mLastMousePos = InputManager::Instance()->mMousePos;
}

void SplineEditor::SubmitDrawing() {
  GraphicsManager* graphics = GraphicsManager::Instance();
  const std::vector<vec2>& curve = mSpline.mSamples;
  const vec2* samples = curve.data();
  if (!curve.empty()) {
    graphics->mPoints.push_back(ColorVertex{vec3(samples[0], kZ), kStartColor});
    // Line k of the curve joins sample k to sample k + 1, so vertex v is sample (v + 1) / 2.
    AppendGenerated(graphics->mLines, 2 * (curve.size() - 1), [samples](std::size_t v) {
      return ColorVertex{vec3(samples[(v + 1) / 2], kZ), kCurveColor};
    });
  }

  const std::vector<vec2> windowPoints = mSpline.WindowPoints();
  const vec2* points = windowPoints.data();
  // Each label 20 pixels above its point, in device coordinates of the window.
  constexpr float kHalfWidth = gWindowWidth / 2.0f, kHalfHeight = gWindowHeight / 2.0f;
  AppendGenerated(graphics->mTexts, windowPoints.size(), [points](std::size_t i) {
    const vec2 w = points[i];
    return TextLabel{DecimalText(i), vec2(w.x / kHalfWidth - 1.0f, (w.y + 20.0f) / kHalfHeight - 1.0f)};
  });
  const std::int32_t selected = mSpline.mSelectedIndex;
  const std::int32_t hovered = mSpline.mHoveredIndex;
  AppendGenerated(graphics->mPoints, windowPoints.size(), [=](std::size_t i) {
    const auto index = static_cast<std::int32_t>(i);
    const vec4& color = index == selected ? kSelectedColor : index == hovered ? kHoveredColor : kPointColor;
    return ColorVertex{vec3(points[i], kZ), color};
  });
}
