// Shared steps of the editor's end-to-end tests: positions on the bar, colours, file names.
#pragma once

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <optional>
#include <sstream>
#include <string>
#include <vector>

#include "DemoSession.h"
#include "PathFileFormat.h"

namespace editor {

using e2e::Button;
using e2e::DemoSession;
using e2e::Pixel;

// Rows of the "Spline" bar at the top left, in window pixels from the top: the title bar is
// 17 pixels, each row 20, a separator 4.
constexpr int kValueX = 130;  // inside the value column
constexpr int kFilenameY = 31;
constexpr int kLoadY = 71;
constexpr int kRotationY = 95;
constexpr int kScaleY = 115;
constexpr int kLoadListFirstY = 92;  // first entry of the open Load list
constexpr int kLoadListStep = 16;
// The placement rows, below Undo and Redo, and the switches after them.
constexpr int kXY = 287;
constexpr int kYY = 307;
constexpr int kSnapY = 327;
constexpr int kLabelsY = 367;
constexpr int kSwitchX = 122;  // a switch itself
// Buttons, in the middle of the bar.
constexpr int kBarX = 100;
constexpr int kSaveY = 51;
constexpr int kPushBackY = 137;

inline bool Near(const Pixel& p, int r, int g, int b, int tolerance = 60) {
  return std::abs(p.r - r) <= tolerance && std::abs(p.g - g) <= tolerance && std::abs(p.b - b) <= tolerance;
}
inline bool IsRed(const Pixel& p) { return Near(p, 255, 0, 0); }
inline bool IsGreen(const Pixel& p) { return Near(p, 0, 255, 0); }
inline bool IsYellow(const Pixel& p) { return Near(p, 255, 255, 0); }

// Editor coordinates have y up from the bottom; input coordinates y down from the top.
inline int Down(int yUp) { return 768 - yUp; }

inline std::string ReadText(const std::filesystem::path& file) {
  std::ifstream in(file, std::ios::binary);
  std::stringstream text;
  text << in.rdbuf();
  return text.str();
}

// The points a path file holds, at the window positions it was saved from.
inline std::vector<PathPoint> PointsOf(const std::string& text) {
  const std::optional<pathfile::Contents> contents = pathfile::ReadResourceFile(text);
  if (!contents) return {};
  return pathfile::WindowPositions(*contents).value_or(std::vector<PathPoint>{});
}

class EditorTest : public ::testing::Test {
protected:
  // A right click in the scene at an editor position.
  void AddPoint(int x, int yUp) { mDemo->Click(x, Down(yUp), Button::Right); }
  Pixel At(int x, int yUp) { return mDemo->PixelAt(x, Down(yUp)); }
  bool WaitForColor(int x, int yUp, bool (*test)(const Pixel&)) {
    return mDemo->WaitFor([&] { return test(At(x, yUp)); });
  }

  // Types a file name into the Filename field and commits it with Return.
  void SetFilename(const std::string& name) {
    mDemo->Click(kValueX, kFilenameY);
    mDemo->Key("a", "Control_L");  // select what is there, so typing replaces it
    mDemo->Type(name + "\r");
  }
  void TypeInto(int rowY, const std::string& text) {
    mDemo->Click(kValueX, rowY);
    mDemo->Key("a", "Control_L");
    mDemo->Type(text + "\r");
  }
  void Save() {
    mDemo->MoveTo(600, 700);
    mDemo->Key("s", "Control_L");
  }
  std::string File(const std::string& name) { return ReadText(mDemo->WorkDir() / name); }
  bool Exists(const std::string& name) { return std::filesystem::exists(mDemo->WorkDir() / name); }

  void Start(const std::function<void(const std::filesystem::path&)>& prepare = {}) {
    mDemo = std::make_unique<DemoSession>(prepare);
  }
  void SetUp() override { Start(); }

  std::unique_ptr<DemoSession> mDemo;
};

}  // namespace editor
