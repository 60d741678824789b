// Entries of the working folder that no path file should trip the editor over, offered by the
// Load list and chosen in the real program: it keeps running and stays usable, says what
// failed, and keeps the path on a failed load or replaces it on a good one.
#include <algorithm>
#include <functional>

#include "EditorFixture.h"

namespace editor {
namespace {

namespace fs = std::filesystem;

constexpr long kMemoryLimitKiB = 2L * 1024 * 1024;  // 2 GiB
constexpr int kManyPoints = 100000;

void Write(const fs::path& file, const std::string& text) { std::ofstream(file, std::ios::binary) << text; }

std::string Document(const std::string& children) { return "<resource>\n" + children + "</resource>\n"; }

// The file value of point i of the long path: 1000 columns across the frame, 100 rows in a
// band near its top edge (window y 504 ... 563), so the prepared points below stay clear.
std::pair<double, double> ManyPointsValue(int i) {
  return {0.1 + 0.0008 * (i % 1000), 0.8 + 0.0015 * (i / 1000)};
}

struct FailingCase {
  const char* name;  // the folder's only entry, so the first of the Load list
  std::function<void(const fs::path&)> make;
  std::function<void(const fs::path&)> afterListing;  // runs once the program has listed it
};

void PrintTo(const FailingCase& hostile, std::ostream* out) { *out << hostile.name; }

std::string PrintCase(const ::testing::TestParamInfo<FailingCase>& info) {
  std::string name = info.param.name;
  std::replace_if(
      name.begin(), name.end(), [](char c) { return !std::isalnum(static_cast<unsigned char>(c)); }, '_');
  return name;
}

const FailingCase kFailingCases[] = {
    {"folder.xml", [](const fs::path& work) { fs::create_directory(work / "folder.xml"); }, {}},
    {"empty.xml", [](const fs::path& work) { Write(work / "empty.xml", ""); }, {}},
    {"binary.xml",
     [](const fs::path& work) {
       // The head of a real program: ELF header, NUL bytes, every byte value.
       std::ifstream in(e2e::DemoBinary(), std::ios::binary);
       std::string bytes(65536, '\0');
       in.read(bytes.data(), static_cast<std::streamsize>(bytes.size()));
       bytes.resize(static_cast<std::size_t>(in.gcount()));
       Write(work / "binary.xml", bytes);
     },
     {}},
    {"notes.txt",
     [](const fs::path& work) { Write(work / "notes.txt", "Shopping list:\n- eggs & <milk>\n- bread\n"); },
     {}},
    {"deep.xml",
     [](const fs::path& work) {
       std::string text = "<resource>";
       for (int i = 0; i < 100000; ++i) text += "<a>";
       text += "<ControlPoint>0.5 0.5</ControlPoint>";
       for (int i = 0; i < 100000; ++i) text += "</a>";
       Write(work / "deep.xml", text + "</resource>\n");
     },
     {}},
    {"gone.xml",
     [](const fs::path& work) { Write(work / "gone.xml", Document("<ControlPoint>0 0</ControlPoint>\n")); },
     [](const fs::path& work) { fs::remove(work / "gone.xml"); }},
};

class HostileInput : public EditorTest {
protected:
  void SetUp() override {}

  // The path every case starts from: two points, the second one selected.
  void StartWithTwoPoints(const std::function<void(const fs::path&)>& prepare) {
    Start(prepare);
    AddPoint(400, 300);
    AddPoint(500, 350);
    ASSERT_TRUE(WaitForColor(400, 300, IsGreen));
    ASSERT_TRUE(WaitForColor(500, 350, IsRed));
  }

  void LoadFirstEntry() {
    mDemo->Click(kValueX, kLoadY);
    mDemo->Click(kValueX, kLoadListFirstY);
  }

  // A right click still adds a point, selected, where the pointer is.
  void ExpectUsable(std::chrono::milliseconds limit = std::chrono::seconds(5)) {
    ASSERT_TRUE(mDemo->Running());
    AddPoint(600, 250);
    EXPECT_TRUE(mDemo->WaitFor([&] { return IsRed(At(600, 250)); }, limit));
  }
};

class HostileEntry : public HostileInput, public ::testing::WithParamInterface<FailingCase> {};

TEST_P(HostileEntry, FailedLoadIsReportedAndKeepsThePath) {
  const FailingCase& hostile = GetParam();
  StartWithTwoPoints(hostile.make);
  mDemo->Click(kValueX, kLoadY);  // opening the list lists the folder as it is now
  if (hostile.afterListing) hostile.afterListing(mDemo->WorkDir());
  mDemo->Click(kValueX, kLoadListFirstY);
  EXPECT_TRUE(mDemo->WaitForOutput(std::string("Failed to load file: ") + hostile.name + "\n"));
  EXPECT_TRUE(WaitForColor(400, 300, IsGreen));
  EXPECT_TRUE(WaitForColor(500, 350, IsRed));
  ExpectUsable();
  EXPECT_TRUE(WaitForColor(500, 350, IsGreen));  // the new point took the selection
}

INSTANTIATE_TEST_SUITE_P(Load, HostileEntry, ::testing::ValuesIn(kFailingCases), PrintCase);

// Numbers a float reading does not accept (nan, inf, out of range) fail that reading: it
// keeps its target, and the reading after it in the same element fails too.
TEST_F(HostileInput, NumbersOutsideTheFloatsLeaveTheirTargetsAsTheyWere) {
  StartWithTwoPoints([](const fs::path& work) {
    Write(work / "numbers.xml", Document("  <Scale>350 200</Scale>\n"
                                         "  <Scale>1e999 nan</Scale>\n"
                                         "  <WorldPos>362 284</WorldPos>\n"
                                         "  <SplineStart>0 0</SplineStart>\n"
                                         "  <SplineStart>inf 0.5</SplineStart>\n"
                                         "  <ControlPoint>nan inf</ControlPoint>\n"
                                         "  <ControlPoint>1e999 0.25</ControlPoint>\n"
                                         "  <ControlPoint>0.5 0.5</ControlPoint>\n"
                                         "  <ControlPoint>0.25 -inf</ControlPoint>\n"));
  });
  LoadFirstEntry();
  // Points (0, 0), (0, 0), (0.5, 0.5), (0.25, 0) of the frame placed at (362, 284); the
  // selection (index 1) stays.
  EXPECT_TRUE(WaitForColor(362, 284, IsRed));
  EXPECT_TRUE(WaitForColor(712, 484, IsGreen));
  EXPECT_TRUE(WaitForColor(537, 284, IsGreen));
  EXPECT_FALSE(IsGreen(At(400, 300)) || IsRed(At(400, 300)));
  EXPECT_EQ(mDemo->Output().find("Failed to load file"), std::string::npos) << mDemo->Output();
  ExpectUsable();
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
