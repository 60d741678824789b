// Writes the unit UV sphere used for light markers as an OBJ file (stdout, or the given path).
#include <cmath>
#include <cstdio>
#include <initializer_list>

namespace {

constexpr int kSegments = 16;  // around the y axis
constexpr int kRings = 12;     // from pole to pole
constexpr double kPi = 3.14159265358979323846;

// Six decimals, without the "-0.000000" that rounding tiny negatives would give.
double Clean(double value) { return std::fabs(value) < 5e-7 ? 0.0 : value; }

// 1-based indices: the north pole, kRings - 1 rings of kSegments positions, the south pole.
int PositionIndex(int ring, int segment) {
  if (ring == 0) return 1;
  if (ring == kRings) return 2 + (kRings - 1) * kSegments;
  return 2 + (ring - 1) * kSegments + segment % kSegments;
}

// Texture coordinates form a full (kRings + 1) x (kSegments + 1) grid, so the seam has its own.
int TexCoordIndex(int ring, int segment) { return 1 + ring * (kSegments + 1) + segment; }

void WritePosition(std::FILE* out, const char* keyword, int ring, int segment) {
  double theta = kPi * ring / kRings;
  double phi = 2.0 * kPi * segment / kSegments;
  // -z for growing phi keeps (down, east) a right-handed pair with the outward normal.
  std::fprintf(out, "%s %.6f %.6f %.6f\n", keyword, Clean(std::sin(theta) * std::cos(phi)),
               Clean(std::cos(theta)), Clean(-std::sin(theta) * std::sin(phi)));
}

void WriteCorner(std::FILE* out, int ring, int segment) {
  int p = PositionIndex(ring, segment);
  std::fprintf(out, " %d/%d/%d", p, TexCoordIndex(ring, segment), p);
}

void WriteTriangle(std::FILE* out, const int (&corners)[3][2]) {
  std::fputc('f', out);
  for (const auto& corner : corners) WriteCorner(out, corner[0], corner[1]);
  std::fputc('\n', out);
}

}  // namespace

int main(int argc, char** argv) {
  std::FILE* out = argc > 1 ? std::fopen(argv[1], "w") : stdout;
  if (out == nullptr) {
    std::printf("Cannot write %s\n", argv[1]);
    return 1;
  }
  std::fprintf(out, "# Unit UV sphere, %d segments x %d rings; written by make_sphere.\n", kSegments, kRings);
  // Positions, and the same unit vectors as normals.
  for (const char* keyword : {"v", "vn"}) {
    WritePosition(out, keyword, 0, 0);
    for (int ring = 1; ring < kRings; ++ring) {
      for (int segment = 0; segment < kSegments; ++segment) WritePosition(out, keyword, ring, segment);
    }
    WritePosition(out, keyword, kRings, 0);
  }
  for (int ring = 0; ring <= kRings; ++ring) {
    for (int segment = 0; segment <= kSegments; ++segment) {
      std::fprintf(out, "vt %.6f %.6f\n", Clean(double(segment) / kSegments),
                   Clean(1.0 - double(ring) / kRings));
    }
  }
  // Each cell (ring, segment) is split into two triangles, counter-clockwise seen from outside;
  // at the poles one of the two has no area and is left out.
  for (int ring = 0; ring < kRings; ++ring) {
    for (int segment = 0; segment < kSegments; ++segment) {
      if (ring != kRings - 1) {
        WriteTriangle(out, {{ring, segment}, {ring + 1, segment}, {ring + 1, segment + 1}});
      }
      if (ring != 0) {
        WriteTriangle(out, {{ring, segment}, {ring + 1, segment + 1}, {ring, segment + 1}});
      }
    }
  }
  if (out != stdout) std::fclose(out);
  return 0;
}
