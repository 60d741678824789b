// A minute of random input to the real program: it neither crashes nor grows.
#include <random>
#include <vector>

#include "EditorFixture.h"

namespace editor {
namespace {

namespace fs = std::filesystem;

constexpr auto kSoakTime = std::chrono::seconds(60);
constexpr int kMaxPointsBetweenClears = 24;

// Bar rows the soak clicks, from the top of the window.
constexpr int kSaveY = 51;
constexpr int kBarRows[] = {kFilenameY, kSaveY, kLoadY, kRotationY, kScaleY, 139, 159, 179, 203, 223};

class Soak : public EditorTest {
protected:
  void SetUp() override {
    Start([](const fs::path& work) {
      std::ofstream(work / "start.xml") << "<resource><ControlPoint>0.2 0.3</ControlPoint></resource>";
    });
  }

  int Any(int low, int high) { return std::uniform_int_distribution<int>(low, high)(mRandom); }
  template <typename T, std::size_t N>
  T Pick(const T (&choices)[N]) {
    return choices[Any(0, N - 1)];
  }
  std::pair<int, int> Scene() { return {Any(230, 1010), Any(5, 760)}; }

  // One random action: clicks, drags, keys, and the bar's fields, buttons and list. Points
  // are added at most kMaxPointsBetweenClears times before the path is cleared, so its size
  // stays within a steady bound.
  void RandomAction() {
    const int kind = Any(0, 99);
    if (mAdded >= kMaxPointsBetweenClears) {
      mDemo->Key("p");
      mAdded = 0;
    } else if (kind < 25) {
      const auto [x, y] = Scene();
      mDemo->Click(x, y, Button::Right);
      ++mAdded;
    } else if (kind < 40) {
      const auto [x, y] = Scene();
      const auto [toX, toY] = Scene();
      mDemo->Drag(x, y, toX, toY, kind < 33 ? Button::Left : Button::Middle, Any(1, 6));
    } else if (kind < 55) {
      const auto [x, y] = Scene();
      mDemo->Click(x, y, kind < 50 ? Button::Left : Button::Middle);
    } else if (kind < 70) {
      static const char* const keys[] = {"z",      "x",         "c",   "Delete", "a", "1",
                                         "Return", "BackSpace", "Tab", "space",  "F5"};
      const char* key = Pick(keys);
      mAdded += (key[0] == 'z' || key[0] == 'x' || key[0] == 'c') && key[1] == '\0';
      mDemo->Key(key);
    } else if (kind < 78) {
      static const char* const values[] = {"0", "-1", "400", "1e30", "-1e-30", "2.5", "nan", "abc", "1e999"};
      TypeInto(Any(0, 1) == 0 ? kRotationY : kScaleY, Pick(values));
    } else if (kind < 84) {
      static const char* const names[] = {"soak", "soak.xml", "x", "sub-dir", ".xml", "start.xml"};
      SetFilename(Pick(names));
      Save();
    } else if (kind < 90) {
      mDemo->Click(kValueX, kLoadY);
      mDemo->Click(kValueX, kLoadListFirstY + kLoadListStep * Any(0, 5));
      mAdded = 0;
    } else {
      mDemo->Click(Any(5, 195), Pick(kBarRows));
      mAdded += 1;  // any of the adding buttons
    }
  }

  std::mt19937 mRandom{20240611u};
  int mAdded = 0;
};

TEST_F(Soak, AMinuteOfRandomInputNeitherCrashesNorGrowsTheProgram) {
  // The work folder may hold a sub-folder among the listed names.
  fs::create_directory(mDemo->WorkDir() / "sub-dir.xml");
  const auto begin = std::chrono::steady_clock::now();
  std::vector<long> resident;  // one reading every five seconds
  auto nextReading = begin;
  int actions = 0;
  while (std::chrono::steady_clock::now() - begin < kSoakTime && mDemo->Running()) {
    RandomAction();
    ++actions;
    if (std::chrono::steady_clock::now() >= nextReading) {
      resident.push_back(mDemo->ResidentKiB());
      nextReading += std::chrono::seconds(5);
    }
  }
  ASSERT_TRUE(mDemo->Running()) << "ended after " << actions << " actions";
  std::string readings;
  for (long kib : resident) readings += std::to_string(kib / 1024) + " ";
  std::cout << actions << " actions; resident MiB every 5 s: " << readings << std::endl;
  RecordProperty("actions", actions);
  RecordProperty("resident_mib", readings);

  // Once the path's size is bounded, the second half of the run needs no more memory than the
  // first half reached, give or take what the allocator and the driver keep in reserve.
  ASSERT_GE(resident.size(), 4u);
  const long firstHalfPeak = *std::max_element(resident.begin(), resident.begin() + resident.size() / 2);
  const long lastReading = resident.back();
  if (!e2e::kSanitizedBuild) {
    EXPECT_LT(lastReading, firstHalfPeak + 16 * 1024) << readings;
  }

  // Still usable: with rotation 0 and scale 1 again, a cleared path takes a point where the
  // pointer is. The first click ends any edit of a bar field that the random input left open.
  mDemo->Click(900, 740);
  TypeInto(kRotationY, "0");
  TypeInto(kScaleY, "1");
  mDemo->MoveTo(900, 740);
  mDemo->Key("p");
  AddPoint(640, 420);
  EXPECT_TRUE(WaitForColor(640, 420, IsRed));
  mDemo->Key("Escape");
  EXPECT_EQ(mDemo->WaitForExit(), std::optional<int>(0));
}

}  // namespace
}  // namespace editor
