// The edited path: control points of a uniform cubic B-spline, its placement, the selection
// and the curve samples. No user interface, no files, no OpenGL.
#pragma once

#include <cstdint>
#include <vector>

#include "SplineCurve.h"
#include "glm_types.h"

// The values a user edits: the control points, their placement, how the curve ends and the
// selection. They can be copied and compared on their own; undo keeps them, and a save writes
// the points as placed.
struct PathValues {
  std::vector<vec2> mControlPoints;  // local space, curve order
  float mRotation = 0.0f;            // degrees
  float mScale = 1.0f;
  std::int32_t mSelectedIndex = -1;
  PathEnds mEnds = PathEnds::Free;

  // Equal in everything a file keeps: all but the selection, which is no edit of its own.
  bool SameContent(const PathValues& other) const {
    return mControlPoints == other.mControlPoints && mRotation == other.mRotation && mScale == other.mScale &&
           mEnds == other.mEnds;
  }
  bool operator==(const PathValues& other) const {
    return SameContent(other) && mSelectedIndex == other.mSelectedIndex;
  }
  bool operator!=(const PathValues& other) const { return !(*this == other); }
};

class CubicBSpline : public PathValues {
public:
  // Curve evaluation. Evaluate works in local space, with the path's ends, and yields (0, 0)
  // below the points that make a curve (four free, two pinned, three for a loop).
  static vec2 EvaluateSegment(const vec2& p0, const vec2& p1, const vec2& p2, const vec2& p3, float t);
  vec2 Evaluate(float s) const;

  // Local space <-> window space: scale and rotation about the window origin.
  vec2 ToWindow(const vec2& local) const;
  vec2 ToLocal(const vec2& window) const;
  // Every control point in window space, in curve order.
  std::vector<vec2> WindowPoints() const;

  // The edited values as a whole; setting them asks for new samples.
  const PathValues& Values() const { return *this; }
  void SetValues(const PathValues& values);

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
  void SetEnds(PathEnds ends);
  void Pick(const vec2& window);
  void MoveSelected(const vec2& windowDelta);
  // Puts the selected point where it shows at this window position.
  void PlaceSelected(const vec2& window);
  void TranslateAll(const vec2& delta);
  // After a drag (MoveSelected and nothing else since the last rebuild) only the segments the
  // moved point shapes are evaluated again; every other edit of this class rebuilds all.
  // Code that assigns mControlPoints directly clears mSamplesValid and edits nothing through
  // MoveSelected before the next rebuild.
  void RebuildSamples();
  // Samples evaluated by rebuilds so far: a still path adds none.
  std::uint64_t EvaluatedSamples() const { return mEvaluatedSamples; }

  std::int32_t mHoveredIndex = -1;
  std::vector<vec2> mSamples;  // window space, parameter order
  float mPickRadiusSq = 100.0f;
  bool mSamplesValid = true;

private:
  // Scale times cosine and sine of the rotation, as ToWindow and ToLocal use them.
  struct WindowMap {
    float kc;
    float ks;
    vec2 Apply(const vec2& p) const { return vec2(kc * p.x - ks * p.y, ks * p.x + kc * p.y); }
  };
  WindowMap MakeWindowMap() const;

  // Every edit but a drag asks the next rebuild for all segments.
  void InvalidateSamples() {
    mSamplesValid = false;
    mMovedPoint = -1;
  }
  // Where the samples of the curve lie: their weights and segments, which depend on the number
  // of points and the ends alone.
  void PlaceSamples();
  // The samples of segments first .. last from their weights.
  void EvaluateSegments(std::uint32_t first, std::uint32_t last, const WindowMap& map);
  // The control points a segment of the samples weighs (the end's: those of the last).
  splinecurve::Terms<float> SegmentPoints(std::size_t segment) const;

  // What the samples were last built from.
  struct SampledState {
    std::size_t count = 0;
    PathEnds ends = PathEnds::Free;
    float rotation = 0.0f;
    float scale = 1.0f;
    const vec2* points = nullptr;  // a reload gives the list new storage
  };
  SampledState mSampled;
  // The weights of each sample and the first sample of each segment (one more for the end).
  std::vector<splineweights::Weights> mSampleWeights;
  std::vector<std::size_t> mSegmentFirstSample;
  std::int32_t mMovedPoint = -1;  // the one point MoveSelected changed since then, or -1
  std::uint64_t mEvaluatedSamples = 0;
};
