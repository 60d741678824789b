// The "Spline" bar the path builds: its look, its thirteen entries and what they call.
#include "PathFileTestSupport.h"
#include "TweakBarInspect.h"

namespace {

using pathtest::PathFileTest;
using tweakbar::EntryKind;

const TwBar& SplineBar() {
  const TwBar* bar = tweakbar::InspectBar("Spline");
  EXPECT_NE(nullptr, bar);
  static const TwBar empty;
  return bar != nullptr ? *bar : empty;
}

TEST_F(PathFileTest, BarHasTheDefinedLook) {
  const TwBar& bar = SplineBar();
  EXPECT_EQ(spline->mBar, &bar);
  EXPECT_EQ(0, bar.rect.x);
  EXPECT_EQ(0, bar.rect.y);
  EXPECT_EQ(200, bar.rect.width);
  EXPECT_EQ(300, bar.rect.height);
  EXPECT_EQ(80, bar.valuesWidth);
  EXPECT_EQ((std::array<int, 3>{49, 79, 79}), bar.color);
  EXPECT_EQ(255, bar.alpha);
  EXPECT_FLOAT_EQ(0.016f, bar.refresh);
  EXPECT_FALSE(bar.iconifiable);
  EXPECT_FALSE(bar.movable);
  EXPECT_FALSE(bar.resizable);
}

TEST_F(PathFileTest, BarHasItsEntriesInOrder) {
  struct Expected {
    EntryKind kind;
    const char* label;
    const char* key;
    float step;
  };
  const Expected expected[] = {
      {EntryKind::Variable, "Filename", "", 1.0f},
      {EntryKind::Button, "Save", "CTRL+s", 1.0f},
      {EntryKind::CallbackVariable, "Load", "", 1.0f},
      {EntryKind::Separator, "", "", 1.0f},
      {EntryKind::CallbackVariable, "Rotation", "", 0.1f},
      {EntryKind::CallbackVariable, "Scale", "", 0.01f},
      {EntryKind::Separator, "", "", 1.0f},
      {EntryKind::Button, "Push Back CP", "z", 1.0f},
      {EntryKind::Button, "Insert Before Selected", "x", 1.0f},
      {EntryKind::Button, "Insert After Selected", "c", 1.0f},
      {EntryKind::Separator, "", "", 1.0f},
      {EntryKind::Button, "Clear CP", "p", 1.0f},
      {EntryKind::Button, "Delete Selected", "DEL", 1.0f},
  };
  const auto& entries = SplineBar().entries;
  ASSERT_EQ(std::size(expected), entries.size());
  for (std::size_t i = 0; i < entries.size(); ++i) {
    EXPECT_EQ(expected[i].kind, entries[i].kind) << i;
    EXPECT_EQ(expected[i].label, entries[i].label) << i;
    EXPECT_EQ(expected[i].key, entries[i].keyText) << i;
    EXPECT_FLOAT_EQ(expected[i].step, entries[i].step) << i;
    EXPECT_EQ("", entries[i].name) << i;
  }
  EXPECT_EQ(TW_TYPE_STDSTRING, entries[0].type);
  EXPECT_EQ(&spline->mFilename, entries[0].variable);
  EXPECT_EQ(tweakbar::EnumTypeNamed("LoadFilenamesEnum"), entries[2].type);
  EXPECT_EQ(TW_TYPE_FLOAT, entries[4].type);
  EXPECT_EQ(TW_TYPE_FLOAT, entries[5].type);
}

TEST_F(PathFileTest, BarEntriesCallThePath) {
  const auto& entries = SplineBar().entries;
  ASSERT_EQ(13u, entries.size());
  auto press = [&](std::size_t i) { entries[i].buttonCallback(entries[i].clientData); };
  auto setFloat = [&](std::size_t i, float value) { entries[i].setCallback(&value, entries[i].clientData); };
  auto getFloat = [&](std::size_t i) {
    float value = -1;
    entries[i].getCallback(&value, entries[i].clientData);
    return value;
  };

  spline->mLastScenePointer = vec2(300, 200);
  press(7);  // Push Back CP
  spline->mLastScenePointer = vec2(400, 250);
  press(7);
  spline->mLastScenePointer = vec2(350, 220);
  press(8);  // Insert Before Selected
  spline->mLastScenePointer = vec2(500, 300);
  press(9);  // Insert After Selected
  EXPECT_EQ((std::vector<vec2>{{300, 200}, {350, 220}, {500, 300}, {400, 250}}), spline->mControlPoints);
  EXPECT_EQ(2, spline->mSelectedIndex);
  press(12);  // Delete Selected
  EXPECT_EQ((std::vector<vec2>{{300, 200}, {350, 220}, {400, 250}}), spline->mControlPoints);

  setFloat(4, 400.0f);
  EXPECT_FLOAT_EQ(40.0f, getFloat(4));
  setFloat(5, 2.5f);
  EXPECT_FLOAT_EQ(2.5f, getFloat(5));

  spline->mFilename = "fromBar";
  {
    testsupport::CaptureStdout capture;
    press(1);  // Save
  }
  EXPECT_TRUE(std::filesystem::exists("fromBar.xml"));

  const int index = 0;
  entries[2].setCallback(&index, entries[2].clientData);  // Load the first listed file
  EXPECT_EQ(1.0f, spline->mScale);
  int shown = -1;
  entries[2].getCallback(&shown, entries[2].clientData);
  EXPECT_EQ(0, shown);
  EXPECT_EQ("fromBar.xml", spline->mFilename);
  EXPECT_EQ(3u, spline->mControlPoints.size());

  press(11);  // Clear CP
  EXPECT_TRUE(spline->mControlPoints.empty());
  EXPECT_EQ(-1, spline->mSelectedIndex);
}

TEST(SplineBarLifetime, TheDestructorDeletesTheBar) {
  {
    CubicBSpline spline;
    EXPECT_NE(nullptr, tweakbar::InspectBar("Spline"));
  }
  EXPECT_EQ(nullptr, tweakbar::InspectBar("Spline"));
}

}  // namespace
