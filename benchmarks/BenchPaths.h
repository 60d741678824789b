// Test paths shared by the benchmarks and the whole-program driver: n window positions on a
// closed Lissajous figure inside the editor's frame, so curve length is alike for every n.
#pragma once

#include <cmath>
#include <cstddef>
#include <cstdio>
#include <string>
#include <utility>
#include <vector>

namespace bench {

// Window position of parameter u in [0, 1) on the figure (the frame spans 262..962, 184..584).
inline std::pair<float, float> FigureAt(double u) {
  constexpr double kTau = 6.283185307179586;
  return {static_cast<float>(612.0 + 330.0 * std::sin(3.0 * kTau * u)),
          static_cast<float>(384.0 + 180.0 * std::sin(4.0 * kTau * u + 0.5))};
}

inline std::vector<std::pair<float, float>> WindowPath(std::size_t n) {
  std::vector<std::pair<float, float>> points;
  points.reserve(n);
  for (std::size_t i = 0; i < n; ++i) points.push_back(FigureAt(static_cast<double>(i) / n));
  return points;
}

// A path file as the editor writes it, with the start of the curve at (0, 0) so that every
// control point is its window position normalised to the frame; drawn over the image file
// `background` when one is named.
inline std::string PathFileText(std::size_t n, const std::string& background = "") {
  std::string text = background.empty() ? "<resource>\n" : "<resource background=\"" + background + "\">\n";
  text +=
      "  <Scale>350 200</Scale>\n  <WorldPos>262 184</WorldPos>\n"
      "  <SplineStart>0 0</SplineStart>\n";
  char line[96];
  for (const auto& [x, y] : WindowPath(n)) {
    std::snprintf(line, sizeof line, "  <ControlPoint>%g %g</ControlPoint>\n", (x - 262.0) / 700.0,
                  (y - 184.0) / 400.0);
    text += line;
  }
  text += "</resource>\n";
  return text;
}

// The level art the frame-rate runs draw under the path: as large as the frame, 700 x 400 RGB
// pixels, 25-pixel tiles of two shades over a gradient, so that it compresses and samples like
// a drawing rather than a plain colour.
constexpr int kLevelWidth = 700;
constexpr int kLevelHeight = 400;
inline std::vector<unsigned char> LevelImage() {
  std::vector<unsigned char> rgb;
  rgb.reserve(static_cast<std::size_t>(kLevelWidth) * kLevelHeight * 3);
  for (int y = 0; y < kLevelHeight; ++y) {
    for (int x = 0; x < kLevelWidth; ++x) {
      const bool dark = ((x / 25) + (y / 25)) % 2 == 0;
      rgb.push_back(static_cast<unsigned char>(60 + 120 * x / kLevelWidth));
      rgb.push_back(static_cast<unsigned char>(dark ? 70 : 140));
      rgb.push_back(static_cast<unsigned char>(60 + 120 * y / kLevelHeight));
    }
  }
  return rgb;
}

}  // namespace bench
