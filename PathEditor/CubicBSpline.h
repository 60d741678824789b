// The edited path: control points of a uniform cubic B-spline, its placement and its samples.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "glm_types.h"

struct TwBar;

class CubicBSpline {
public:
  // Builds the "Spline" tweak bar and the first Load listing; the tweak-bar layer must be up.
  CubicBSpline();
  ~CubicBSpline();
  CubicBSpline(const CubicBSpline&) = delete;
  CubicBSpline& operator=(const CubicBSpline&) = delete;

  // Curve evaluation. Evaluate works in local space and yields (0, 0) below four points.
  static vec2 EvaluateSegment(const vec2& p0, const vec2& p1, const vec2& p2, const vec2& p3, float t);
  static vec2 EvaluatePoints(const std::vector<vec2>& points, float s);
  vec2 Evaluate(float s) const;

  // Local space <-> window space: scale and rotation about the window origin.
  vec2 ToWindow(const vec2& local) const;
  vec2 ToLocal(const vec2& window) const;

  // Editing. Positions are window positions; commands that need ToLocal do nothing while it
  // has no finite answer (scale 0, or a scale too small to invert in single precision).
  void PushBack(const vec2& window);
  void InsertBeforeSelected(const vec2& window);
  void InsertAfterSelected(const vec2& window);
  void DeleteSelected();
  void Clear();
  // Values that are not finite are refused: the path keeps its placement.
  void SetRotation(float degrees);
  void SetScale(float scale);
  void Pick(const vec2& window);
  void MoveSelected(const vec2& windowDelta);
  void TranslateAll(const vec2& delta);
  // After a drag (MoveSelected and nothing else since the last rebuild) only the segments the
  // moved point shapes are evaluated again; every other edit of this class rebuilds all.
  // Code that assigns mControlPoints directly clears mSamplesValid and edits nothing through
  // MoveSelected before the next rebuild.
  void RebuildSamples();
  // Samples evaluated by rebuilds so far: a still path adds none.
  std::uint64_t EvaluatedSamples() const { return mEvaluatedSamples; }

  // Per frame: mouse handling, sample rebuild and drawing (defined with the editor state).
  void Update();
  void HandleMouse();
  // Appends the curve, the start point, the control points and their labels to the batches.
  void SubmitDrawing();

  // Path files in the working directory.
  void Save();
  void WriteResourceFile(const std::string& name);
  // The text of the path's file; false when a value has no finite file form.
  bool ResourceFileText(std::string& text) const;
  void LoadResourceFile(std::uint32_t index);
  void ApplyElement(std::string_view tag, std::string_view text);
  // Lists the working folder into mFilenames and the Load list's enumeration.
  void RefreshLoadList();

  vec2 mWorldPos = vec2(0.0f, 0.0f);
  float mRotation = 0.0f;  // degrees
  float mScale = 1.0f;
  std::int32_t mSelectedIndex = -1;
  std::int32_t mHoveredIndex = -1;
  std::vector<vec2> mControlPoints;  // local space, curve order
  std::vector<vec2> mSamples;        // window space, parameter order
  float mPickRadiusSq = 100.0f;
  bool mSamplesValid = true;
  vec2 mLastMousePos = vec2(0.0f, 0.0f);
  TwBar* mBar = nullptr;
  std::string mFilename;
  std::int32_t mLoadIndex = 0;
  std::vector<std::string> mFilenames;
  vec2 mFileScale = vec2(0.0f, 0.0f);
  vec2 mFileSplineStart = vec2(0.0f, 0.0f);
  // Where the bar's Push Back and Insert buttons place a point: the pointer's last window
  // position outside the bar (the frame's centre until the pointer has been in the scene).
  vec2 mLastScenePointer;
  std::string mLoadedFile;  // the file the last successful load read, shown by the Load field

private:
  // Scale times cosine and sine of the rotation, as ToWindow and ToLocal use them.
  struct WindowMap {
    float kc;
    float ks;
    vec2 Apply(const vec2& p) const { return vec2(kc * p.x - ks * p.y, ks * p.x + kc * p.y); }
  };
  WindowMap MakeWindowMap() const;

  void BuildBar();

  // Every edit but a drag asks the next rebuild for all segments.
  void InvalidateSamples() {
    mSamplesValid = false;
    mMovedPoint = -1;
  }
  void EvaluateSegmentSamples(std::uint32_t segment, const WindowMap& map);
  void EvaluateEndSamples(std::uint32_t end, const WindowMap& map);
  void RebuildLongCurve(float end, const WindowMap& map);

  // What the samples were last built from.
  struct SampledState {
    bool fromSchedule = false;  // built at the places the segment schedule gives
    std::size_t count = 0;
    float rotation = 0.0f;
    float scale = 1.0f;
    const vec2* points = nullptr;  // a reload gives the list new storage
  };
  SampledState mSampled;
  std::int32_t mMovedPoint = -1;  // the one point MoveSelected changed since then, or -1
  std::uint64_t mEvaluatedSamples = 0;
};
