// The OBJ reader beside tinyobjloader, both reading the same generated mesh file.
#include <benchmark/benchmark.h>

#include <tiny_obj_loader.h>

#include <chrono>
#include <cmath>
#include <cstdio>
#include <memory>

#include "BenchSupport.h"
#include "TestSupport.h"
#include "Mesh.h"
#include "OBJFileReader.h"

namespace {

constexpr int kColumns = 1001;  // grid of 1001 x 501 positions: 2 * 1000 * 500 triangles
constexpr int kRows = 501;

// A wavy height field with positions, texture coordinates and normals, every corner written
// as p/t/n, the way modelling tools export a smooth surface.
void WriteGrid(const std::filesystem::path& file) {
  std::unique_ptr<std::FILE, int (*)(std::FILE*)> out(std::fopen(file.c_str(), "w"), std::fclose);
  std::fprintf(out.get(), "# generated grid\no grid\n");
  for (int r = 0; r < kRows; ++r) {
    for (int c = 0; c < kColumns; ++c) {
      const double x = c * 0.01, z = r * 0.01;
      std::fprintf(out.get(), "v %.6f %.6f %.6f\n", x, 0.1 * std::sin(7.0 * x) * std::cos(5.0 * z), z);
    }
  }
  for (int r = 0; r < kRows; ++r) {
    for (int c = 0; c < kColumns; ++c) {
      std::fprintf(out.get(), "vt %.6f %.6f\n", c / (kColumns - 1.0), r / (kRows - 1.0));
    }
  }
  for (int r = 0; r < kRows; ++r) {
    for (int c = 0; c < kColumns; ++c) {
      const double x = c * 0.01, z = r * 0.01;
      const double dx = 0.7 * std::cos(7.0 * x) * std::cos(5.0 * z);
      const double dz = -0.5 * std::sin(7.0 * x) * std::sin(5.0 * z);
      const double length = std::sqrt(dx * dx + 1.0 + dz * dz);
      std::fprintf(out.get(), "vn %.6f %.6f %.6f\n", -dx / length, 1.0 / length, -dz / length);
    }
  }
  std::fprintf(out.get(), "s 1\n");
  for (int r = 0; r + 1 < kRows; ++r) {
    for (int c = 0; c + 1 < kColumns; ++c) {
      const int a = r * kColumns + c + 1, b = a + 1, d = a + kColumns, e = d + 1;
      std::fprintf(out.get(), "f %d/%d/%d %d/%d/%d %d/%d/%d\n", a, a, a, d, d, d, b, b, b);
      std::fprintf(out.get(), "f %d/%d/%d %d/%d/%d %d/%d/%d\n", b, b, b, d, d, d, e, e, e);
    }
  }
}

// One generated file for both readers, made once per run.
class MeshFile {
public:
  static MeshFile& Get() {
    static MeshFile file;
    return file;
  }
  std::filesystem::path Path() const { return mFolder.Resources() / "meshes" / "grid.obj"; }
  const std::filesystem::path& Work() const { return mFolder.Path(); }

private:
  MeshFile() { WriteGrid(Path()); }
  testsupport::TempWorkDir mFolder;
};

// Only the read is timed; freeing the big lists afterwards is not.
void BM_ObjReader(benchmark::State& state) {
  std::filesystem::current_path(MeshFile::Get().Work());  // the reader looks in ../resources
  for (auto _ : state) {
    auto mesh = std::make_unique<Mesh>("");
    const auto start = std::chrono::steady_clock::now();
    const bool read = OBJFileReader::Instance()->Load("grid", mesh.get());
    const auto stop = std::chrono::steady_clock::now();
    if (!read || mesh->mVertices.size() != 3000000) state.SkipWithError("the grid did not load");
    state.SetIterationTime(std::chrono::duration<double>(stop - start).count());
  }
}
BENCHMARK(BM_ObjReader)->UseManualTime()->Iterations(1)->Unit(benchmark::kMillisecond);

void BM_TinyObjLoader(benchmark::State& state) {
  const std::string path = MeshFile::Get().Path().string();
  for (auto _ : state) {
    auto attrib = std::make_unique<tinyobj::attrib_t>();
    auto shapes = std::make_unique<std::vector<tinyobj::shape_t>>();
    std::vector<tinyobj::material_t> materials;
    std::string warn, err;
    const auto start = std::chrono::steady_clock::now();
    const bool read = tinyobj::LoadObj(attrib.get(), shapes.get(), &materials, &warn, &err, path.c_str());
    const auto stop = std::chrono::steady_clock::now();
    if (!read || shapes->empty() || shapes->front().mesh.indices.size() != 3000000)
      state.SkipWithError("tinyobjloader did not load the grid");
    state.SetIterationTime(std::chrono::duration<double>(stop - start).count());
  }
}
BENCHMARK(BM_TinyObjLoader)->UseManualTime()->Iterations(1)->Unit(benchmark::kMillisecond);

}  // namespace
