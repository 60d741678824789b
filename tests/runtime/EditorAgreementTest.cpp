// The runtime against the editor: a path saved by the editor's Save, with each kind of ends,
// reads back to the points and the samples the editor shows after loading it, less the frame's
// corner.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <optional>
#include <string>
#include <tuple>

#include "CubicBSpline.h"
#include "PathFiles.h"
#include "PathFrame.h"
#include "PathResource.h"
#include "RuntimeTestSupport.h"
#include "TestSupport.h"

namespace {

using runtimetest::Shape;

bool SameBits(const PathPoint& a, const vec2& b) {
  return std::memcmp(&a.x, &b.x, sizeof a.x) == 0 && std::memcmp(&a.y, &b.y, sizeof a.y) == 0;
}

class EditorAgreement : public ::testing::TestWithParam<std::tuple<Shape, PathEnds>> {
protected:
  // Saves the shape with the editor, loads the file back into the editor (rebuilding its
  // samples) and into the runtime.
  void SetUp() override {
    const Shape& shape = std::get<0>(GetParam());
    CubicBSpline drawn;
    for (const PathPoint& p : shape.windowPoints) drawn.PushBack(vec2(p.x, p.y));
    drawn.SetRotation(shape.rotation);
    drawn.SetScale(shape.scale);
    drawn.SetEnds(std::get<1>(GetParam()));
    PathFiles files;
    files.mFilename = "shape";
    testsupport::CaptureStdout quiet;
    files.Save(drawn);
    const auto listed = std::find(files.mFilenames.begin(), files.mFilenames.end(), "shape.xml");
    ASSERT_NE(files.mFilenames.end(), listed);
    ASSERT_TRUE(
        files.LoadResourceFile(static_cast<std::uint32_t>(listed - files.mFilenames.begin()), editor));
    editor.RebuildSamples();

    std::string error = "unchanged";
    runtime = PathResource::FromFile("shape.xml", &error);
    ASSERT_TRUE(runtime) << error;
    EXPECT_EQ("", error);
    EXPECT_EQ(drawn.mEnds, editor.mEnds);
    EXPECT_EQ(drawn.mEnds, runtime->Ends());
  }

  testsupport::TempWorkDir work;
  CubicBSpline editor;
  std::optional<PathResource> runtime;
  const PathPoint corner = FileFrame().corner;
};

TEST_P(EditorAgreement, PointsAndSamplesAreTheEditorsLessTheFrameCorner) {
  ASSERT_EQ(editor.mControlPoints.size(), runtime->ControlPoints().size());
  for (std::size_t i = 0; i < editor.mControlPoints.size(); ++i) {
    EXPECT_NEAR(editor.mControlPoints[i].x - corner.x, runtime->ControlPoints()[i].x, 1e-3) << i;
    EXPECT_NEAR(editor.mControlPoints[i].y - corner.y, runtime->ControlPoints()[i].y, 1e-3) << i;
  }
  EXPECT_EQ(PathPoint({700.0f, 400.0f}), runtime->FrameSize());

  const std::vector<PathPoint> samples = runtime->Samples();
  ASSERT_EQ(editor.mSamples.size(), samples.size());
  double deviation = 0.0;
  for (std::size_t k = 0; k < editor.mSamples.size(); ++k) {
    const PathPoint& sample = samples[k];
    deviation =
        std::max({deviation, std::abs(static_cast<double>(editor.mSamples[k].x) - corner.x - sample.x),
                  std::abs(static_cast<double>(editor.mSamples[k].y) - corner.y - sample.y)});
  }
  EXPECT_LE(deviation, 1e-3);
  RecordProperty("max_sample_deviation_px", runtimetest::Measured(deviation));
}

// On the same points the runtime's curve is the editor's, bit for bit: its samples, and its
// Evaluate over the whole parameter range, past the end where the indices wrap (free) or the
// curve is held to its end (pinned).
TEST_P(EditorAgreement, OnTheSamePointsTheCurveIsTheEditorsBitForBit) {
  CubicBSpline same;
  for (const PathPoint& p : runtime->ControlPoints()) same.mControlPoints.push_back(vec2(p.x, p.y));
  same.SetEnds(runtime->Ends());
  same.RebuildSamples();
  const std::vector<PathPoint> samples = runtime->Samples();
  ASSERT_EQ(same.mSamples.size(), samples.size());
  for (std::size_t k = 0; k < same.mSamples.size(); ++k)
    ASSERT_TRUE(SameBits(samples[k], same.mSamples[k])) << "sample " << k;

  const auto count = static_cast<float>(runtime->ControlPoints().size());
  for (float s : {0.0f, 0.37f, 1.0f, count / 2.0f + 0.61f, count - 3.0f, count - 2.5f, count - 1.0f,
                  count - 0.01f, count}) {
    EXPECT_TRUE(SameBits(runtime->Evaluate(s), same.Evaluate(s))) << "s = " << s;
  }
}

std::string EndsName(PathEnds ends) {
  return ends == PathEnds::Free ? "free" : ends == PathEnds::Pinned ? "pinned" : "loop";
}

INSTANTIATE_TEST_SUITE_P(Shapes, EditorAgreement,
                         ::testing::Combine(::testing::ValuesIn(runtimetest::Shapes()),
                                            ::testing::Values(PathEnds::Free, PathEnds::Pinned,
                                                              PathEnds::Loop)),
                         [](const ::testing::TestParamInfo<std::tuple<Shape, PathEnds>>& c) {
                           return std::string(std::get<0>(c.param).name) + "_" +
                                  EndsName(std::get<1>(c.param));
                         });

}  // namespace
