// The "Spline" bar the editor builds: its look, its entries, what they call, and
// the Load list's enumeration.
#include <cmath>

#include "PathFileTestSupport.h"
#include "PathResource.h"
#include "SplineEditor.h"
#include "TweakBarInspect.h"

namespace {

using pathtest::kFourPoints;
using testsupport::WriteFile;
using tweakbar::EntryKind;

// An editor in a fresh working folder: its bar, its path and its files.
class SplineBarTest : public ::testing::Test {
protected:
  testsupport::TempWorkDir work;
  SplineEditor editor;
  CubicBSpline& spline = editor.mSpline;
  PathFiles& files = editor.mFiles;
};

std::vector<std::string> LoadEnumLabels() {
  return tweakbar::EnumLabels(tweakbar::EnumTypeNamed("LoadFilenamesEnum"));
}

const TwBar& SplineBar() {
  const TwBar* bar = tweakbar::InspectBar("Spline");
  EXPECT_NE(nullptr, bar);
  static const TwBar empty;
  return bar != nullptr ? *bar : empty;
}

TEST_F(SplineBarTest, BarHasTheDefinedLook) {
  const TwBar& bar = SplineBar();
  EXPECT_EQ(editor.mBar, &bar);
  EXPECT_EQ(0, bar.rect.x);
  EXPECT_EQ(0, bar.rect.y);
  EXPECT_EQ(200, bar.rect.width);
  EXPECT_EQ(508,
            bar.rect.height);  // grown from 300 for placement, Labels, the curve's entries and the background
  EXPECT_EQ(80, bar.valuesWidth);
  EXPECT_EQ((std::array<int, 3>{49, 79, 79}), bar.color);
  EXPECT_EQ(255, bar.alpha);
  EXPECT_FLOAT_EQ(0.016f, bar.refresh);
  EXPECT_FALSE(bar.iconifiable);
  EXPECT_FALSE(bar.movable);
  EXPECT_FALSE(bar.resizable);
}

TEST_F(SplineBarTest, BarHasItsEntriesInOrder) {
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
      {EntryKind::Separator, "", "", 1.0f},
      {EntryKind::Button, "Undo", "CTRL+z", 1.0f},
      {EntryKind::Button, "Redo", "CTRL+y CTRL+SHIFT+z", 1.0f},
      {EntryKind::Separator, "", "", 1.0f},
      {EntryKind::CallbackVariable, "X", "", 1.0f},
      {EntryKind::CallbackVariable, "Y", "", 1.0f},
      {EntryKind::CallbackVariable, "Snap", "", 1.0f},
      {EntryKind::CallbackVariable, "Grid step", "", 1.0f},
      {EntryKind::Variable, "Labels", "", 1.0f},
      {EntryKind::Separator, "", "", 1.0f},
      {EntryKind::CallbackVariable, "Ends", "", 1.0f},
      {EntryKind::CallbackVariable, "Length", "", 1.0f},
      {EntryKind::CallbackVariable, "Preview speed", "", 10.0f},
      {EntryKind::Separator, "", "", 1.0f},
      {EntryKind::CallbackVariable, "Background", "", 1.0f},
      {EntryKind::CallbackVariable, "Opacity", "", 0.05f},
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
  EXPECT_EQ(&files.mFilename, entries[0].variable);
  EXPECT_EQ(tweakbar::EnumTypeNamed("LoadFilenamesEnum"), entries[2].type);
  EXPECT_EQ(TW_TYPE_FLOAT, entries[4].type);
  EXPECT_EQ(TW_TYPE_FLOAT, entries[5].type);
  EXPECT_EQ(TW_TYPE_BOOLCPP, entries[21].type);
  EXPECT_EQ(&editor.mShowLabels, entries[21].variable);
  EXPECT_TRUE(editor.mShowLabels);  // on until switched off
  EXPECT_EQ(tweakbar::EnumTypeNamed("PathEndsEnum"), entries[23].type);
  EXPECT_EQ((std::vector<std::string>{"Free", "Pinned", "Loop"}), tweakbar::EnumLabels(entries[23].type));
  // Length only shows a value, with one decimal.
  EXPECT_EQ(TW_TYPE_FLOAT, entries[24].type);
  EXPECT_EQ(nullptr, entries[24].setCallback);
  EXPECT_EQ(1, entries[24].precision);
  EXPECT_EQ(TW_TYPE_FLOAT, entries[25].type);
  EXPECT_EQ(tweakbar::EnumTypeNamed("BackgroundFilesEnum"), entries[27].type);
  EXPECT_EQ(TW_TYPE_FLOAT, entries[28].type);
}

TEST_F(SplineBarTest, BarEntriesCallThePath) {
  const auto& entries = SplineBar().entries;
  ASSERT_EQ(29u, entries.size());
  auto press = [&](std::size_t i) { entries[i].buttonCallback(entries[i].clientData); };
  auto setFloat = [&](std::size_t i, float value) { entries[i].setCallback(&value, entries[i].clientData); };
  auto getFloat = [&](std::size_t i) {
    float value = -1;
    entries[i].getCallback(&value, entries[i].clientData);
    return value;
  };

  editor.mLastScenePointer = vec2(300, 200);
  press(7);  // Push Back CP
  editor.mLastScenePointer = vec2(400, 250);
  press(7);
  editor.mLastScenePointer = vec2(350, 220);
  press(8);  // Insert Before Selected
  editor.mLastScenePointer = vec2(500, 300);
  press(9);  // Insert After Selected
  EXPECT_EQ((std::vector<vec2>{{300, 200}, {350, 220}, {500, 300}, {400, 250}}), spline.mControlPoints);
  EXPECT_EQ(2, spline.mSelectedIndex);
  press(12);  // Delete Selected
  EXPECT_EQ((std::vector<vec2>{{300, 200}, {350, 220}, {400, 250}}), spline.mControlPoints);

  setFloat(4, 400.0f);
  EXPECT_FLOAT_EQ(40.0f, getFloat(4));
  setFloat(5, 2.5f);
  EXPECT_FLOAT_EQ(2.5f, getFloat(5));

  files.mFilename = "fromBar";
  {
    testsupport::CaptureStdout capture;
    press(1);  // Save
  }
  EXPECT_TRUE(std::filesystem::exists("fromBar.xml"));

  const int index = 0;
  entries[2].setCallback(&index, entries[2].clientData);  // Load the first listed file
  EXPECT_EQ(1.0f, spline.mScale);
  int shown = -1;
  entries[2].getCallback(&shown, entries[2].clientData);
  EXPECT_EQ(0, shown);
  EXPECT_EQ("fromBar.xml", files.mFilename);
  EXPECT_EQ(3u, spline.mControlPoints.size());

  press(11);  // Clear CP
  EXPECT_TRUE(spline.mControlPoints.empty());
  EXPECT_EQ(-1, spline.mSelectedIndex);

  press(14);  // Undo: the cleared points come back
  EXPECT_EQ(3u, spline.mControlPoints.size());
  press(15);  // Redo
  EXPECT_TRUE(spline.mControlPoints.empty());
}

// Ends is one undo step; Length is the runtime's length of the points as they show, once the
// frame has measured them; a preview speed below 0 is refused.
TEST_F(SplineBarTest, EndsLengthAndPreviewSpeed) {
  const auto& entries = SplineBar().entries;
  ASSERT_EQ(29u, entries.size());
  const auto& ends = entries[23];
  const auto& length = entries[24];
  const auto& speed = entries[25];
  auto getInt = [](const tweakbar::Entry& entry) {
    int value = -1;
    entry.getCallback(&value, entry.clientData);
    return value;
  };
  auto getFloat = [](const tweakbar::Entry& entry) {
    float value = -1;
    entry.getCallback(&value, entry.clientData);
    return value;
  };
  for (const vec2& p : kFourPoints) spline.PushBack(p);
  spline.SetScale(0.5f);
  EXPECT_EQ(0, getInt(ends));  // Free

  const int loop = 2;
  ends.setCallback(&loop, ends.clientData);
  EXPECT_EQ(PathEnds::Loop, spline.mEnds);
  EXPECT_EQ(loop, getInt(ends));
  editor.mPreview.Follow(spline, true, false, 0.0);
  std::vector<PathPoint> shown;
  for (const vec2& w : spline.WindowPoints()) shown.push_back(PathPoint{w.x - 262.0f, w.y - 184.0f});
  EXPECT_EQ(
      static_cast<float>(PathResource::FromPoints(shown, PathEnds::Loop, PathPoint{700, 400})->Length()),
      getFloat(length));
  EXPECT_GT(getFloat(length), 0.0f);

  editor.Undo();  // the ends alone
  EXPECT_EQ(PathEnds::Free, spline.mEnds);
  EXPECT_EQ(4u, spline.mControlPoints.size());
  EXPECT_EQ(0.5f, spline.mScale);

  const float fast = 120.0f, backwards = -5.0f;
  speed.setCallback(&fast, speed.clientData);
  speed.setCallback(&backwards, speed.clientData);
  EXPECT_EQ(fast, getFloat(speed));
}

TEST(SplineBarLifetime, TheDestructorDeletesTheBar) {
  {
    SplineEditor editor;
    EXPECT_NE(nullptr, tweakbar::InspectBar("Spline"));
  }
  EXPECT_EQ(nullptr, tweakbar::InspectBar("Spline"));
}

TEST_F(SplineBarTest, LoadEnumHasOneLabelPerName) {
  EXPECT_TRUE(LoadEnumLabels().empty());  // built for the empty folder of the fixture
  const std::vector<std::string> names = {"B.xml", "a.xml", "c.xml.bak0"};
  const TwType type = DefineLoadEnum(names);
  EXPECT_EQ(type, tweakbar::EnumTypeNamed("LoadFilenamesEnum"));
  EXPECT_EQ(names, tweakbar::EnumLabels(type));
  EXPECT_EQ(type, DefineLoadEnum({}));
  EXPECT_TRUE(tweakbar::EnumLabels(type).empty());
}

TEST_F(SplineBarTest, ASavedFileAppearsInTheLoadList) {
  WriteFile("alpha.xml", "");
  WriteFile("omega.xml", "");
  for (const vec2& p : kFourPoints) spline.PushBack(p);
  files.mFilename = "new";
  {
    testsupport::CaptureStdout capture;
    editor.Save();
  }
  EXPECT_EQ((std::vector<std::string>{"alpha.xml", "new.xml", "omega.xml"}), LoadEnumLabels());
  EXPECT_EQ(LoadEnumLabels(), files.mFilenames);
}

}  // namespace

namespace {

// The Background list: "(none)", then the folder's images as they are when it opens; a choice
// names the image in the path as one undo step; Opacity is held to 0 ... 1.
TEST_F(SplineBarTest, BackgroundListsTheImagesAndAChoiceIsOneStep) {
  const auto& entries = SplineBar().entries;
  ASSERT_EQ(29u, entries.size());
  const tweakbar::Entry& background = entries[27];
  const tweakbar::Entry& opacity = entries[28];
  const TwType type = tweakbar::EnumTypeNamed("BackgroundFilesEnum");
  EXPECT_EQ(std::vector<std::string>{"(none)"}, tweakbar::EnumLabels(type));

  for (const char* name : {"level.png", "Art.JPG", "b.jpeg", "c.Bmp", "d.tga", "notes.txt", "e.png.xml"})
    WriteFile(name, "");
  std::filesystem::create_directory("folder.png");
  ASSERT_NE(nullptr, background.listOpenCallback);
  background.listOpenCallback(background.listOpenClientData);
  EXPECT_EQ((std::vector<std::string>{"(none)", "Art.JPG", "b.jpeg", "c.Bmp", "d.tga", "level.png"}),
            tweakbar::EnumLabels(type));

  auto shown = [&] {
    int index = -2;
    background.getCallback(&index, background.clientData);
    return index;
  };
  EXPECT_EQ(0, shown());
  const int level = 5;
  background.setCallback(&level, background.clientData);
  EXPECT_EQ("level.png", spline.mBackground);
  EXPECT_EQ(5, shown());
  EXPECT_TRUE(editor.mDocument.HasUnsavedEdits());
  const int none = 0;
  background.setCallback(&none, background.clientData);
  EXPECT_EQ("", spline.mBackground);
  editor.Undo();
  EXPECT_EQ("level.png", spline.mBackground);
  editor.Undo();
  EXPECT_EQ("", spline.mBackground);
  EXPECT_FALSE(editor.mDocument.HasUnsavedEdits());
  spline.mBackground = "gone.png";  // named by a file, not in the folder
  EXPECT_EQ(-1, shown());

  auto setOpacity = [&](float value) { opacity.setCallback(&value, opacity.clientData); };
  auto getOpacity = [&] {
    float value = -1.0f;
    opacity.getCallback(&value, opacity.clientData);
    return value;
  };
  EXPECT_FLOAT_EQ(0.5f, getOpacity());
  setOpacity(0.75f);
  EXPECT_FLOAT_EQ(0.75f, getOpacity());
  setOpacity(1.5f);
  EXPECT_FLOAT_EQ(1.0f, getOpacity());
  setOpacity(-0.05f);
  EXPECT_FLOAT_EQ(0.0f, getOpacity());
  setOpacity(std::nanf(""));
  EXPECT_FLOAT_EQ(0.0f, getOpacity());
}

}  // namespace
