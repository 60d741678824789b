// The bar's Length after edits: the runtime's Length of the same points and ends, bit for bit,
// with only the segments an edit changed measured again.
#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <optional>
#include <random>
#include <string>
#include <vector>

#include "PathDocument.h"
#include "PathFrame.h"
#include "PathPreview.h"
#include "NamedCases.h"
#include "PathResource.h"
#include "TestSupport.h"

namespace {

// The runtime's Length of the path's points as they show, in frame pixels (0 where it refuses
// them).
double RuntimeLength(const CubicBSpline& spline) {
  std::vector<PathPoint> shown;
  for (const vec2& w : spline.WindowPoints())
    shown.push_back(PathPoint{w.x - FrameCorner().x, w.y - FrameCorner().y});
  const std::optional<PathResource> path = PathResource::FromPoints(shown, spline.mEnds, PathPoint{700, 400});
  return path ? path->Length() : 0.0;
}

std::vector<vec2> Wave(std::size_t count) {
  std::vector<vec2> points;
  for (std::size_t i = 0; i < count; ++i) {
    const float x = 300.0f + 15.0f * static_cast<float>(i);
    points.push_back(vec2(x, 380.0f + 120.0f * std::sin(0.7f * static_cast<float>(i))));
  }
  return points;
}

// A document holding a path of 40 points, measured once.
class EditedLength : public ::testing::Test {
public:
  void Start(PathEnds ends) {
    doc.mSpline.mControlPoints = Wave(40);
    doc.mSpline.SetEnds(ends);
    Measure();
  }
  void Measure() { preview.Follow(doc.mSpline, true, false, 0.0); }
  void Select(int index) { doc.mSpline.mSelectedIndex = index; }
  int Last() const { return static_cast<int>(doc.mSpline.mControlPoints.size()) - 1; }

  testsupport::TempWorkDir work;
  PathDocument doc;
  PathPreview preview;
};

struct EditCase {
  std::string name;
  PathEnds ends;
  // Steps before the edit, each measured as the editor measures after it.
  std::vector<std::function<void(EditedLength&)>> before;
  std::function<void(EditedLength&)> edit;
  bool local;  // the edit changes a point or two: at most four segments are measured again
};

void PrintTo(const EditCase& c, std::ostream* out) { *out << c.name; }

class EditTable : public EditedLength, public ::testing::WithParamInterface<EditCase> {};

void MoveMiddle(EditedLength& t) {
  t.Select(20);
  t.doc.Step([&] { t.doc.mSpline.MoveSelected(vec2(7.0f, -11.0f)); });
}

std::vector<EditCase> Cases() {
  using T = EditedLength;
  const std::vector<std::pair<std::string, std::function<void(T&)>>> local = {
      {"move_first",
       [](T& t) {
         t.Select(0);
         t.doc.Step([&] { t.doc.mSpline.MoveSelected(vec2(5.0f, 9.0f)); });
       }},
      {"move_middle", MoveMiddle},
      {"move_last",
       [](T& t) {
         t.Select(t.Last());
         t.doc.Step([&] { t.doc.mSpline.MoveSelected(vec2(-4.0f, 6.0f)); });
       }},
      {"insert_at_start",
       [](T& t) {
         t.Select(0);
         t.doc.Step([&] { t.doc.mSpline.InsertBeforeSelected(vec2(280.0f, 300.0f)); });
       }},
      {"insert_in_the_middle",
       [](T& t) {
         t.Select(20);
         t.doc.Step([&] { t.doc.mSpline.InsertAfterSelected(vec2(610.0f, 450.0f)); });
       }},
      {"insert_at_end", [](T& t) { t.doc.Step([&] { t.doc.mSpline.PushBack(vec2(920.0f, 300.0f)); }); }},
      {"delete_first",
       [](T& t) {
         t.Select(0);
         t.doc.Step([&] { t.doc.mSpline.DeleteSelected(); });
       }},
      {"delete_in_the_middle",
       [](T& t) {
         t.Select(20);
         t.doc.Step([&] { t.doc.mSpline.DeleteSelected(); });
       }},
      {"delete_last",
       [](T& t) {
         t.Select(t.Last());
         t.doc.Step([&] { t.doc.mSpline.DeleteSelected(); });
       }},
      {"insert_a_copy_of_its_neighbour",
       [](T& t) {
         t.Select(20);
         const vec2 at = t.doc.mSpline.ToWindow(t.doc.mSpline.mControlPoints[20]);
         t.doc.Step([&] { t.doc.mSpline.InsertAfterSelected(at); });
       }},
  };
  std::vector<EditCase> cases;
  for (const auto& [ends, endsName] :
       {std::pair{PathEnds::Free, "free"}, std::pair{PathEnds::Pinned, "pinned"},
        std::pair{PathEnds::Loop, "loop"}}) {
    const std::string prefix = std::string(endsName) + "_";
    for (const auto& [name, edit] : local) cases.push_back({prefix + name, ends, {}, edit, true});
    cases.push_back({prefix + "undo", ends, {MoveMiddle}, [](T& t) { t.doc.Undo(); }, true});
    cases.push_back(
        {prefix + "redo", ends, {MoveMiddle, [](T& t) { t.doc.Undo(); }}, [](T& t) { t.doc.Redo(); }, true});
    cases.push_back({prefix + "rotate",
                     ends,
                     {},
                     [](T& t) { t.doc.Step([&] { t.doc.mSpline.SetRotation(10.0f); }); },
                     false});
    for (const auto& [to, toName] : {std::pair{PathEnds::Free, "free"}, std::pair{PathEnds::Pinned, "pinned"},
                                     std::pair{PathEnds::Loop, "loop"}}) {
      if (to == ends) continue;
      const PathEnds target = to;
      cases.push_back({prefix + "ends_to_" + toName,
                       ends,
                       {},
                       [target](T& t) { t.doc.Step([&] { t.doc.mSpline.SetEnds(target); }); },
                       false});
    }
    cases.push_back({prefix + "load",
                     ends,
                     {},
                     [](T& t) {
                       testsupport::WriteFile("other.xml",
                                              "<resource>\n  <ControlPoint>0.1 0.2</ControlPoint>\n"
                                              "  <ControlPoint>0.3 0.5</ControlPoint>\n"
                                              "  <ControlPoint>0.5 0.3</ControlPoint>\n"
                                              "  <ControlPoint>0.7 0.6</ControlPoint>\n"
                                              "  <ControlPoint>0.9 0.2</ControlPoint>\n</resource>\n");
                       t.doc.RefreshListing();
                       testsupport::CaptureStdout quiet;
                       t.doc.Load(0);
                     },
                     false});
  }
  return cases;
}

TEST_P(EditTable, LengthIsTheRuntimesAndOnlyChangedSegmentsAreMeasured) {
  const EditCase& c = GetParam();
  Start(c.ends);
  ASSERT_EQ(RuntimeLength(doc.mSpline), preview.Length());
  ASSERT_GT(preview.Length(), 0.0);
  for (const auto& step : c.before) {
    step(*this);
    Measure();
  }
  const double before = preview.Length();
  const std::uint64_t measured = preview.MeasuredSegments();
  c.edit(*this);
  Measure();
  EXPECT_EQ(RuntimeLength(doc.mSpline), preview.Length());
  EXPECT_NE(before, preview.Length());
  if (c.local) {
    EXPECT_LE(preview.MeasuredSegments() - measured, 4u);
  }
}

INSTANTIATE_TEST_SUITE_P(Edits, EditTable, ::testing::ValuesIn(Cases()), testsupport::CaseName<EditCase>);

// Hundreds of random edits in a row, each measured after it: the length carried from edit to edit
// stays the runtime's, through short paths without a curve and changes of the ends.
TEST_F(EditedLength, RandomEditsInARowKeepTheRuntimesLength) {
  Start(PathEnds::Free);
  std::mt19937 random(3);
  std::uniform_real_distribution<float> x(270.0f, 950.0f), y(190.0f, 580.0f);
  std::uniform_int_distribution<int> kind(0, 9);
  CubicBSpline& spline = doc.mSpline;
  for (int i = 0; i < 400; ++i) {
    const int count = static_cast<int>(spline.mControlPoints.size());
    const int k = kind(random);
    Select(count == 0 ? -1 : std::uniform_int_distribution<int>(0, count - 1)(random));
    if (k <= 2 && count > 0) {
      doc.Step([&] { spline.MoveSelected(vec2(x(random) - 610.0f, y(random) - 385.0f) * 0.1f); });
    } else if (k <= 4) {
      doc.Step([&] { spline.InsertAfterSelected(vec2(x(random), y(random))); });
    } else if (k <= 6) {
      doc.Step([&] { spline.DeleteSelected(); });
    } else if (k == 7) {
      doc.Step(
          [&] { spline.SetEnds(static_cast<PathEnds>(std::uniform_int_distribution<int>(0, 2)(random))); });
    } else if (k == 8) {
      doc.Undo();
    } else {
      doc.Redo();
    }
    // Sometimes two edits before one measure, as while a drag of a long path holds it back.
    if (i % 7 == 3) continue;
    Measure();
    ASSERT_EQ(RuntimeLength(spline), preview.Length()) << "edit " << i << " of kind " << k;
  }
}

}  // namespace
