// Draws a sample path in the real editor and saves the window as the README's screenshots: the
// path alone, and (given a second file name) the same path over a level's image.
// Usage: e2e_screenshot OUTPUT.png [BACKGROUND_OUTPUT.png] (needs Xvfb on the PATH, like the
// end-to-end tests).
#include <stb/stb_image_write.h>  // the level's image, as PNG

#include <cmath>
#include <filesystem>
#include <iostream>
#include <vector>

#include "DemoSession.h"

namespace {

// The grid point nearest to a window coordinate: the frame starts at (262, 184), 25 apart.
int OnGrid(double value, int corner) {
  return corner + 25 * static_cast<int>(std::lround((value - corner) / 25.0));
}

// A level as a game's art might show it, 700 x 400: a sky, the ground, platforms and a door.
bool WriteLevelImage(const std::filesystem::path& file) {
  constexpr int kWidth = 700, kHeight = 400;
  struct Box {
    int x0, y0, x1, y1;  // from the top left
    unsigned char r, g, b;
  };
  const Box boxes[] = {{0, 340, 700, 400, 92, 64, 40},      {0, 330, 700, 340, 70, 140, 60},
                       {60, 250, 200, 265, 120, 110, 100},  {260, 180, 420, 195, 120, 110, 100},
                       {480, 110, 640, 125, 120, 110, 100}, {600, 230, 620, 330, 90, 80, 75},
                       {640, 260, 680, 330, 60, 40, 30},    {646, 266, 674, 330, 150, 100, 50}};
  std::vector<unsigned char> rgb;
  for (int y = 0; y < kHeight; ++y) {
    for (int x = 0; x < kWidth; ++x) {
      unsigned char c[3] = {static_cast<unsigned char>(30 + y / 8), static_cast<unsigned char>(50 + y / 5),
                            static_cast<unsigned char>(110 + y / 4)};
      for (const Box& box : boxes)
        if (x >= box.x0 && x < box.x1 && y >= box.y0 && y < box.y1) c[0] = box.r, c[1] = box.g, c[2] = box.b;
      rgb.insert(rgb.end(), c, c + 3);
    }
  }
  return stbi_write_png(file.c_str(), kWidth, kHeight, 3, rgb.data(), kWidth * 3) != 0;
}

// A wave across the frame on the grid: the points, the curve through them, one point hovered.
void DrawWave(e2e::DemoSession& demo) {
  demo.Click(122, 327);  // Snap on: the grid shows, and new points land on it
  for (int i = 0; i < 8; ++i) {
    const int x = 300 + 90 * i;
    const int yUp = 384 + static_cast<int>(140.0 * std::sin(i * 0.9));
    demo.Click(x, 768 - yUp, e2e::Button::Right);
  }
  demo.Click(130, 31);  // the Filename field
  demo.Type("wave\r");
  demo.MoveTo(OnGrid(390, 262), 768 - OnGrid(384 + 140.0 * std::sin(0.9), 184));
  demo.Frames(5);
}

bool Save(e2e::DemoSession& demo, const char* file) {
  if (demo.SavePng(file)) return true;
  std::cerr << "could not write " << file << std::endl;
  return false;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2 && argc != 3) {
    std::cerr << "usage: e2e_screenshot OUTPUT.png [BACKGROUND_OUTPUT.png]" << std::endl;
    return 2;
  }
  {
    e2e::DemoSession demo;
    DrawWave(demo);
    if (!Save(demo, argv[1])) return 1;
  }
  if (argc == 3) {
    e2e::DemoSession demo([](const std::filesystem::path& work) { WriteLevelImage(work / "level.png"); });
    demo.Click(130, 455);  // the Background list
    demo.Click(130, 492);  // level.png, after "(none)"
    DrawWave(demo);
    if (!Save(demo, argv[2])) return 1;
  }
  return 0;
}
