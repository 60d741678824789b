// The path's per-frame work: the mouse, the sample cache, and what the user sees of it.
#include <GL/freeglut.h>  // glutSetCursor, and the key codes and modifier bits of the nudges

#include <string>

#include "GraphicsManager.h"
#include "InputManager.h"
#include "PathFrame.h"
#include "SplineEditor.h"
#include "WindowView.h"

namespace {

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

void SplineEditor::HandleMouse() {
  InputManager* input = InputManager::Instance();
  const vec2 mouse = input->mMousePos;
  vec2 delta = mouse - mLastMousePos;
  mSpline.Pick(mouse);

  const bool leftPress = input->mMouseLeft && !input->mPrevMouseLeft;
  const bool leftHeld = input->mMouseLeft && input->mPrevMouseLeft;
  const bool middlePress = input->mMouseMiddle && !input->mPrevMouseMiddle;
  const bool middleHeld = input->mMouseMiddle && input->mPrevMouseMiddle;
  const bool rightPress = input->mMouseRight && !input->mPrevMouseRight;

  // What a drag does with the pointer's motion: the point follows it, or the path moves by it.
  const auto dragPoint = [&](const vec2& motion) {
    mDrag.unsnapped += motion;
    if (DragSnaps()) {
      mSpline.PlaceSelected(SnapToGrid(mDrag.unsnapped));  // the grid point nearest the pointer's place
    } else {
      mSpline.MoveSelected(motion);
    }
  };
  const auto dragPath = [&](const vec2& motion) {
    mDrag.unsnapped += motion;
    if (DragSnaps()) {
      // Whole grid steps on the screen, whatever the rotation and scale.
      const vec2 steps = glm::round(mDrag.unsnapped / mGridStep) * mGridStep;
      if (steps != mDrag.moved) mSpline.TranslateAll(mSpline.ToLocal(steps - mDrag.moved));
      mDrag.moved = steps;
    } else {
      mSpline.TranslateAll(motion);
      mDrag.moved += mSpline.ToWindow(motion);  // where the path went on the screen
    }
  };

  // A drag ends with the release of its button, where the button was let go: the motion that
  // came with the release is its last. The whole gesture is one step.
  const bool pointDragEnds = mDrag.kind == Drag::Point && !input->mMouseLeft;
  const bool pathDragEnds = mDrag.kind == Drag::Path && !input->mMouseMiddle;
  if (pointDragEnds || pathDragEnds) {
    if (!mDrag.cancelled) pointDragEnds ? dragPoint(delta) : dragPath(delta);
    delta = vec2(0.0f);
    EndDrag();
  }

  if (leftPress) {
    const PathValues before = mSpline.Values();
    // A press on empty space keeps the selection: there is no deselection by clicking.
    if (mSpline.mHoveredIndex != -1) mSpline.mSelectedIndex = mSpline.mHoveredIndex;
    if (mSpline.mSelectedIndex != -1) {
      ShowCursor(input, false);
      BeginDrag(Drag::Point, before);
    }
  } else if (leftHeld) {
    if (mDrag.kind == Drag::Point && rightPress && !mDrag.cancelled) {
      CancelDrag();  // a right click puts everything back where the drag began
      ShowCursor(input, true);
    } else if (!mDrag.cancelled) {
      if (mDrag.kind != Drag::Point) BeginDrag(Drag::Point, mSpline.Values());
      dragPoint(delta);
    }
  } else if (middlePress) {
    ShowCursor(input, false);
    BeginDrag(Drag::Path, mSpline.Values());
  } else if (middleHeld) {
    if (mDrag.kind == Drag::Path && rightPress && !mDrag.cancelled) {
      CancelDrag();
      ShowCursor(input, true);
    } else if (!mDrag.cancelled) {
      if (mDrag.kind != Drag::Path) BeginDrag(Drag::Path, mSpline.Values());
      GraphicsManager::Instance()->DrawLine(vec3(mLastMousePos, gOverlayZ), vec3(mouse, gOverlayZ),
                                            kMoveLineColor);
      dragPath(delta);
    }
  } else if (rightPress) {
    const vec2 at = mSnap ? SnapToGrid(mouse) : mouse;
    Step([&] { mSpline.PushBack(at); });
  } else {
    ShowCursor(input, true);
  }
}

void SplineEditor::Update() {
  // The pointer's place for the bar's buttons: wherever it moved outside the bar.
  const vec2 mouse = InputManager::Instance()->mMousePos;
  const bool moved = mouse != mLastMousePos;
  const glm::ivec2 pointer = WindowView::Instance()->WindowToPointer(mouse);
  if (moved && !TwIsOnBar(pointer.x, pointer.y)) mLastScenePointer = mouse;
  // Arrow keys nudge the selected point; Shift goes ten times as far.
  for (const InputManager::SpecialKeyPress& press : InputManager::Instance()->mSpecialKeys) {
    const bool far = (press.modifiers & GLUT_ACTIVE_SHIFT) != 0;
    if (press.key == GLUT_KEY_LEFT) Nudge(vec2(-1.0f, 0.0f), far);
    if (press.key == GLUT_KEY_RIGHT) Nudge(vec2(1.0f, 0.0f), far);
    if (press.key == GLUT_KEY_UP) Nudge(vec2(0.0f, 1.0f), far);
    if (press.key == GLUT_KEY_DOWN) Nudge(vec2(0.0f, -1.0f), far);
  }
  HandleMouse();
  mDocument.ReportRecovery();  // a recovery write that failed since the last frame
  const bool dragging = mDrag.kind != Drag::None && !mDrag.cancelled;
  if (mSnap || (dragging && DragSnaps())) DrawGrid();
  const bool changed = !mSpline.mSamplesValid;
  mSpline.RebuildSamples();
  const double now = PathPreview::Now();
  mPreview.Follow(mSpline, changed, dragging, now);
  SubmitDrawing();
  DrawPreview(now);
  mLastMousePos = InputManager::Instance()->mMousePos;
}

void SplineEditor::SubmitDrawing() {
  GraphicsManager* graphics = GraphicsManager::Instance();
  const std::vector<vec2>& samples = mSpline.mSamples;
  if (!samples.empty()) {
    graphics->mPoints.push_back(ColorVertex{vec3(samples[0], gOverlayZ), kStartColor});
    // The curve: one line from each sample to the next.
    ColorVertex* line = ExtendBatch(graphics->mLines, 2 * (samples.size() - 1));
    for (std::size_t i = 0; i + 1 < samples.size(); ++i) {
      *line++ = ColorVertex{vec3(samples[i], gOverlayZ), kCurveColor};
      *line++ = ColorVertex{vec3(samples[i + 1], gOverlayZ), kCurveColor};
    }
  }

  // Each point in its colour, and unless the Labels switch is off, its index 20 pixels above
  // it, in device coordinates.
  const std::vector<vec2> points = mSpline.WindowPoints();
  const WindowView* view = WindowView::Instance();
  TextLabel* label = mShowLabels ? ExtendBatch(graphics->mTexts, points.size()) : nullptr;
  ColorVertex* point = ExtendBatch(graphics->mPoints, points.size());
  for (std::size_t i = 0; i < points.size(); ++i) {
    const vec2 w = points[i];
    if (label != nullptr)
      *label++ = TextLabel{std::to_string(i), view->WindowToDevice(w + vec2(0.0f, 20.0f))};
    const auto index = static_cast<std::int32_t>(i);
    const vec4& color = index == mSpline.mSelectedIndex  ? kSelectedColor
                        : index == mSpline.mHoveredIndex ? kHoveredColor
                                                         : kPointColor;
    *point++ = ColorVertex{vec3(w, gOverlayZ), color};
  }
}
