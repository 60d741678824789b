// Draws a sample path in the real editor and saves the window as the README's screenshot.
// Usage: e2e_screenshot OUTPUT.png (needs Xvfb on the PATH, like the end-to-end tests).
#include <cmath>
#include <iostream>

#include "DemoSession.h"

namespace {

// The grid point nearest to a window coordinate: the frame starts at (262, 184), 25 apart.
int OnGrid(double value, int corner) {
  return corner + 25 * static_cast<int>(std::lround((value - corner) / 25.0));
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    std::cerr << "usage: e2e_screenshot OUTPUT.png" << std::endl;
    return 2;
  }
  e2e::DemoSession demo;
  demo.Click(122, 327);  // Snap on: the grid shows, and new points land on it
  // A wave across the frame: the points, the curve through them, and one point hovered.
  for (int i = 0; i < 8; ++i) {
    const int x = 300 + 90 * i;
    const int yUp = 384 + static_cast<int>(140.0 * std::sin(i * 0.9));
    demo.Click(x, 768 - yUp, e2e::Button::Right);
  }
  demo.Click(130, 31);  // the Filename field
  demo.Type("wave\r");
  demo.MoveTo(OnGrid(390, 262), 768 - OnGrid(384 + 140.0 * std::sin(0.9), 184));
  demo.Frames(5);
  if (!demo.SavePng(argv[1])) {
    std::cerr << "could not write " << argv[1] << std::endl;
    return 1;
  }
  return 0;
}
