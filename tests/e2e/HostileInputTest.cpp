// Entries of the working folder that no path file should trip the editor over, offered by the
// Load list and chosen in the real program: it keeps running and stays usable, says what
// failed, and keeps the path on a failed load or replaces it on a good one.
#include "BadPathFiles.h"
#include "HostileInputFixture.h"

namespace editor {
namespace {

namespace fs = std::filesystem;

class HostileEntry : public HostileInput, public ::testing::WithParamInterface<testsupport::BadPathFile> {};

TEST_P(HostileEntry, FailedLoadIsReportedAndKeepsThePath) {
  const testsupport::BadPathFile& hostile = GetParam();
  StartWithTwoPoints(hostile.make);  // the folder's only entry, so the first of the Load list
  mDemo->Click(kValueX, kLoadY);     // opening the list lists the folder as it is now
  if (hostile.goneAfterListing) fs::remove(mDemo->WorkDir() / hostile.name);
  mDemo->Click(kValueX, kLoadListFirstY);
  EXPECT_TRUE(mDemo->WaitForOutput(std::string("Failed to load file: ") + hostile.name + "\n"));
  EXPECT_TRUE(WaitForColor(400, 300, IsGreen));
  EXPECT_TRUE(WaitForColor(500, 350, IsRed));
  ExpectUsable();
  EXPECT_TRUE(WaitForColor(500, 350, IsGreen));  // the new point took the selection
}

INSTANTIATE_TEST_SUITE_P(Load, HostileEntry, ::testing::ValuesIn(testsupport::BadPathFiles()),
                         [](const ::testing::TestParamInfo<testsupport::BadPathFile>& c) {
                           return testsupport::BadPathFileCaseName(c.param);
                         });

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

}  // namespace
}  // namespace editor
