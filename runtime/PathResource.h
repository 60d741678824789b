// A path file as a game uses it: the control points in pixels of the frame they were drawn in,
// the curve the editor draws through them, and positions by distance along that curve for
// objects that move at constant speed. Standard C++17 and tinyxml2 only.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "ArcLength.h"
#include "PathPoint.h"
#include "SplineCurve.h"  // PathEnds

class PathResource {
public:
  // Reads a path file by the editor's rules: elements of unknown names are skipped (their
  // messages are kept, see Messages), numbers that cannot be read keep their defaults. A file
  // without SplineStart starts at (0, 0): there is no previously loaded file to take it from.
  // Nothing, with the reason in *error, for a file that cannot be read, is no XML document
  // with a root element, or whose points or curve go beyond the float range. `error` may be
  // null; it is emptied on success.
  static std::optional<PathResource> FromFile(const std::string& fileName, std::string* error);
  static std::optional<PathResource> FromText(std::string_view text, std::string* error);
  // A path made in code: control points in pixels of a frame of that size, as ControlPoints
  // gives them. Nothing when a point, the frame size, the curve or its length is not finite.
  static std::optional<PathResource> FromPoints(std::vector<PathPoint> framePoints, PathEnds ends,
                                                PathPoint frameSize);

  // The control points in pixels of the frame the path was drawn in, measured from the frame's
  // lower-left corner, x to the right and y up: (file value + SplineStart) * (2 * Scale).
  const std::vector<PathPoint>& ControlPoints() const { return mControlPoints; }
  // The width and height of that frame in pixels (2 * Scale), to map the path onto a screen.
  PathPoint FrameSize() const { return mFrameSize; }
  // The image the path was drawn over (the root's background attribute): a plain file name in
  // the path file's folder, or empty when there is none. A name that could reach outside that
  // folder is refused: empty, with a message.
  const std::string& Background() const { return mBackground; }
  // "Unrecognised tag: " and the name, for each skipped element, "Unrecognised ends: " and the
  // value for an ends attribute read as free, and "Refused background: " with the name and the
  // reason.
  const std::vector<std::string>& Messages() const { return mMessages; }
  // How the curve ends: Free (the default) stops short of the first and last points, Pinned
  // starts and ends on them, Loop closes.
  PathEnds Ends() const { return mEnds; }

  // The curve at parameter s, bit for bit as the editor evaluates it: 0 at its start, and at its
  // end the number of points less 3 (free), less 1 (pinned), or the number of points (a loop,
  // whose end is its start). Past the end of a free curve the indices wrap to the first points.
  // s is held to 0 ... number of points, on a pinned path to its end (a NaN counts as 0).
  // (0, 0) below four points (free), two (pinned) or three (loop).
  PathPoint Evaluate(float s) const;
  // The points the editor draws the curve through: parameters 0, 0.01, 0.02, ... summed in
  // single precision, then the end. A loop's last sample is its first. Empty without a curve.
  // Made on each call (100 points a segment): a path keeps no copy, so keep the result where it
  // is used more than once.
  std::vector<PathPoint> Samples() const;

  // The length of the curve in pixels; 0 without a curve.
  double Length() const { return mArcLength.Length(); }
  // The point at distance d along the curve from its start, within a thousandth of a pixel. An
  // open path holds d to 0 ... Length(); a loop goes round, d modulo Length(), a negative d
  // backwards from the start. A NaN counts as 0, and on a loop so does an infinite d. (0, 0)
  // without a curve. A lookup takes a few nanoseconds: no search, one polynomial for the
  // parameter, one for the point.
  PathPoint PointAtDistance(double d) const { return mArcLength.PointAt(d); }
  // The unit direction of travel there. Where the curve stops for an instant (a cusp, or
  // control points that repeat) it is the direction in which the curve moves on, or, at the
  // very end of an open curve, in which it arrived. (0, 0) on a curve of length 0.
  PathPoint TangentAtDistance(double d) const { return mArcLength.DirectionAt(d); }
  // The point and the direction together, for one lookup.
  PathPose PoseAtDistance(double d) const { return mArcLength.PoseAt(d); }
  // The distance along the curve of the curve's point nearest to p, for an object that joins
  // the path where it is closest: 0 ... Length(), on a loop below Length(). 0 without a curve
  // and for a point that is not finite. A search over the segments: a few microseconds on a
  // path of 1,000 points.
  double NearestDistance(PathPoint p) const { return mArcLength.NearestDistance(arclength::Vec{p.x, p.y}); }

private:
  PathResource() = default;

  std::vector<PathPoint> mControlPoints;
  PathPoint mFrameSize{0.0f, 0.0f};
  std::string mBackground;
  std::vector<std::string> mMessages;
  PathEnds mEnds = PathEnds::Free;
  arclength::Table mArcLength;
};

// Loads the path file `fileName` from the working folder into the game's registry of paths,
// under that name; a later call with the same name loads it again. On failure prints one line,
// "Failed to load file: " with the name and the reason, keeps any path loaded under that name
// before, and returns false. The function that resindex writes calls this for every file.
// The registry is for one thread: load and look up from the same one, or guard the calls.
bool GetResource(const char* fileName);
// The path GetResource loaded under `fileName`, or null. The pointer stays valid for the whole
// program, and a later load of that name updates the path it points to.
const PathResource* FindPath(const std::string& fileName);
