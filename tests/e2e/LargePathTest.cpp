// A path of a hundred thousand points loads through the Load list, and the editor stays
// usable within 2 GiB.
#include <sstream>

#include "HostileInputFixture.h"

namespace editor {
namespace {

namespace fs = std::filesystem;

constexpr long kMemoryLimitKiB = 2L * 1024 * 1024;  // 2 GiB
constexpr int kManyPoints = 100000;

// The file value of point i of the long path: 1000 columns across the frame, 100 rows in a
// band near its top edge (window y 504 ... 563), so the prepared points below stay clear.
std::pair<double, double> ManyPointsValue(int i) {
  return {0.1 + 0.0008 * (i % 1000), 0.8 + 0.0015 * (i / 1000)};
}

TEST_F(HostileInput, HundredThousandPointsLoadAndTheEditorStaysUsableInTwoGiB) {
  StartWithTwoPoints([](const fs::path& work) {
    std::ostringstream text;
    text << "<resource>\n  <Scale>350 200</Scale>\n  <WorldPos>262 184</WorldPos>\n"
            "  <SplineStart>0 0</SplineStart>\n";
    for (int i = 0; i < kManyPoints; ++i) {
      const auto [x, y] = ManyPointsValue(i);
      text << "  <ControlPoint>" << x << " " << y << "</ControlPoint>\n";
    }
    text << "</resource>\n";
    Write(work / "many.xml", text.str());
  });
  const auto slow = std::chrono::seconds(60);
  LoadFirstEntry();
  // Point 0 at (332, 504); the prepared points are gone.
  EXPECT_TRUE(mDemo->WaitFor([&] { return IsGreen(At(332, 504)) || IsRed(At(332, 504)); }, slow));
  EXPECT_TRUE(mDemo->WaitFor([&] { return !IsGreen(At(400, 300)) && !IsRed(At(500, 350)); }, slow));
  const long loaded = mDemo->ResidentKiB();
  ExpectUsable(slow);
  const long peak = mDemo->PeakResidentKiB();
  RecordProperty("resident_after_load_kib", std::to_string(loaded));
  RecordProperty("peak_resident_kib", std::to_string(peak));
  std::cout << kManyPoints << " points: resident after the load " << loaded / 1024 << " MiB, peak "
            << peak / 1024 << " MiB" << std::endl;
  EXPECT_GT(peak, 0);
  if (!e2e::kSanitizedBuild) {
    EXPECT_LT(peak, kMemoryLimitKiB);
  }
  EXPECT_EQ(mDemo->Output().find("Failed to load file"), std::string::npos);
  mDemo->Key("Escape");
  EXPECT_EQ(mDemo->WaitForExit(slow), std::optional<int>(0));
}

}  // namespace
}  // namespace editor
