// The path resource file format: the text a path is saved as, and the values a text holds.
// Plain values in and out: no files, no console, no state kept between calls.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "PathPoint.h"
#include "SplineCurve.h"  // PathEnds

namespace pathfile {

// The frame rectangle that saved coordinates are normalised to, in window pixels.
struct Frame {
  PathPoint corner;    // lower-left corner
  PathPoint halfSize;  // half width and half height
};

// The text of a path file for control points at these window positions: the frame's half size
// and corner, then the start of the curve (its point at parameter 0) and every point,
// normalised to the frame (its lower-left corner at (0, 0), its upper-right corner at (1, 1))
// and made relative to that start; numbers as a text stream prints a float. A pinned path or a
// loop says so in the root's ends attribute; a free path has none. Nothing when a value has no
// finite form (a path placed beyond the float range).
std::optional<std::string> WriteResourceFile(const std::vector<PathPoint>& windowPoints, const Frame& frame,
                                             PathEnds ends = PathEnds::Free);

// What a path file holds, element by element.
struct Contents {
  PathPoint scale{0.0f, 0.0f};           // Scale: the half size of the frame it was drawn in
  PathPoint worldPos{0.0f, 0.0f};        // WorldPos: that frame's lower-left corner
  PathPoint splineStart{0.0f, 0.0f};     // SplineStart: the start of the curve, normalised
  std::vector<PathPoint> controlPoints;  // file values, relative to the start
  PathEnds ends = PathEnds::Free;        // the root's ends attribute
  std::vector<std::string> messages;     // "Unrecognised tag: " and the name, per other element
};

// Reads one child element of the root into `contents`: the first two numbers of its text go
// to the two components of the field its name gives. A reading that fails (no number, not a
// finite float) keeps its component, and the reading after it fails too. A ControlPoint is
// appended even when nothing could be read; an element of another name adds a message.
void ApplyElement(std::string_view tag, std::string_view text, Contents& contents);

// Reads a whole text: the root's ends attribute ("pinned", "loop" or "free"; another value reads
// as free and adds the message "Unrecognised ends: " with it), then every child element of the
// root, whatever the root's name, in document order. The text of an element is its first child
// node when that is text. A file without
// SplineStart keeps `splineStart` (the editor passes the start of the file it loaded before).
// Nothing when the text is no XML document with a root element.
std::optional<Contents> ReadResourceFile(std::string_view text, const PathPoint& splineStart = {0.0f, 0.0f});

// The control points where the file's frame puts them: (value + SplineStart) * (2 * Scale) +
// WorldPos, each component in single precision. Nothing when a result is not finite.
std::optional<std::vector<PathPoint>> WindowPositions(const Contents& contents);

}  // namespace pathfile
