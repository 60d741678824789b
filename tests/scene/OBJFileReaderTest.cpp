// The OBJ reader on inline text: statements, corner forms, normals, tangents and bad input.
#include <gtest/gtest.h>

#include <cctype>
#include <cmath>
#include <memory>
#include <string>
#include <vector>

#include "AllocationCounter.h"
#include "Mesh.h"
#include "OBJFileReader.h"
#include "TestSupport.h"

namespace {

// Every test runs in its own empty work folder, so the Mesh constructor finds no file.
class ObjReader : public ::testing::Test {
protected:
  std::unique_ptr<Mesh> Read(const std::string& text) {
    auto mesh = std::make_unique<Mesh>("none");
    EXPECT_TRUE(OBJFileReader::Instance()->LoadFromText(text, mesh.get()));
    return mesh;
  }

  testsupport::TempWorkDir mDir;
};

void ExpectVec(const vec3& expected, const vec3& actual, const char* what, float tolerance = 1e-5f) {
  EXPECT_NEAR(expected.x, actual.x, tolerance) << what;
  EXPECT_NEAR(expected.y, actual.y, tolerance) << what;
  EXPECT_NEAR(expected.z, actual.z, tolerance) << what;
}

bool Finite(const vec3& v) { return std::isfinite(v.x) && std::isfinite(v.y) && std::isfinite(v.z); }

void ExpectAllFinite(const Mesh& mesh) {
  for (const Vertex& v : mesh.mVertices) {
    EXPECT_TRUE(Finite(v.position) && Finite(v.normal) && Finite(v.tangent) && Finite(v.biTangent) &&
                std::isfinite(v.texCoord.x) && std::isfinite(v.texCoord.y))
        << "a vertex holds inf or NaN";
  }
  for (const vec3& n : mesh.mFaceNormals) EXPECT_TRUE(Finite(n)) << "face normal";
  for (const auto& list : mesh.mPositionNormals) {
    for (const vec3& n : list) EXPECT_TRUE(Finite(n)) << "position normal";
  }
}

// Test names from the case labels: "two corners, then a good face" -> TwoCornersThenAGoodFace.
template <typename Case>
std::string CaseName(const ::testing::TestParamInfo<Case>& info) {
  std::string name;
  bool upper = true;
  for (char c : std::string(info.param.label)) {
    if (std::isalnum(static_cast<unsigned char>(c))) {
      name += upper ? static_cast<char>(std::toupper(static_cast<unsigned char>(c))) : c;
      upper = false;
    } else {
      upper = true;
    }
  }
  return name;
}

void ExpectTriangleList(const Mesh& mesh) {
  ASSERT_EQ(mesh.mIndices.size(), mesh.mVertices.size());
  for (std::size_t i = 0; i < mesh.mIndices.size(); ++i) EXPECT_EQ(mesh.mIndices[i], i);
}

// A cube of side 2 around the origin, twelve triangles counter-clockwise seen from outside.
const int kCubeFaces[12][3] = {{5, 6, 7}, {5, 7, 8}, {2, 1, 4}, {2, 4, 3}, {6, 2, 3}, {6, 3, 7},
                               {1, 5, 8}, {1, 8, 4}, {8, 7, 3}, {8, 3, 4}, {1, 2, 6}, {1, 6, 5}};
const vec3 kCubeCorners[8] = {{-1, -1, -1}, {1, -1, -1}, {1, 1, -1}, {-1, 1, -1},
                              {-1, -1, 1},  {1, -1, 1},  {1, 1, 1},  {-1, 1, 1}};
const char* kCubePositions =
    "v -1 -1 -1\nv 1 -1 -1\nv 1 1 -1\nv -1 1 -1\nv -1 -1 1\nv 1 -1 1\nv 1 1 1\nv -1 1 1\n";

TEST_F(ObjReader, CubeWithAllThreeIndicesKeepsTheFileNormals) {
  // One deliberately unnormalised normal per side (+z, -z, +x, -x, +y, -y): stored as read.
  std::string text = std::string(kCubePositions) +
                     "vt 0 0\nvt 1 0\nvt 1 1\n"
                     "vn 0 0 2\nvn 0 0 -2\nvn 2 0 0\nvn -2 0 0\nvn 0 2 0\nvn 0 -2 0\n";
  for (int f = 0; f < 12; ++f) {
    text += "f";
    for (int k = 0; k < 3; ++k) {
      text += " " + std::to_string(kCubeFaces[f][k]) + "/" + std::to_string(k + 1) + "/" +
              std::to_string(f / 2 + 1);
    }
    text += "\n";
  }
  auto mesh = Read(text);
  ASSERT_EQ(mesh->mVertices.size(), 36u);
  ExpectTriangleList(*mesh);
  const vec3 sideNormals[6] = {{0, 0, 2}, {0, 0, -2}, {2, 0, 0}, {-2, 0, 0}, {0, 2, 0}, {0, -2, 0}};
  const vec2 texCoords[3] = {{0, 0}, {1, 0}, {1, 1}};
  for (int c = 0; c < 36; ++c) {
    const Vertex& v = mesh->mVertices[c];
    EXPECT_EQ(v.normal, sideNormals[c / 6]) << "corner " << c;
    EXPECT_EQ(v.texCoord, texCoords[c % 3]) << "corner " << c;
    EXPECT_EQ(v.position, kCubeCorners[kCubeFaces[c / 3][c % 3] - 1]) << "corner " << c;
  }
  ExpectAllFinite(*mesh);
}

TEST_F(ObjReader, CubeWithoutNormalsGetsSmoothCornerNormals) {
  std::string text = kCubePositions;
  for (const auto& face : kCubeFaces) {
    text +=
        "f " + std::to_string(face[0]) + " " + std::to_string(face[1]) + " " + std::to_string(face[2]) + "\n";
  }
  auto mesh = Read(text);
  ASSERT_EQ(mesh->mVertices.size(), 36u);
  // Every corner touches three sides: three distinct outward normals, averaged.
  ASSERT_EQ(mesh->mPositionNormals.size(), 8u);
  for (const auto& list : mesh->mPositionNormals) EXPECT_EQ(list.size(), 3u);
  EXPECT_EQ(mesh->mFaceNormals.size(), 24u);
  for (const Vertex& v : mesh->mVertices) {
    ExpectVec(v.position / std::sqrt(3.0f), v.normal, "smooth corner normal");
  }
}

TEST_F(ObjReader, CoplanarTrianglesShareOneNormalPerPosition) {
  auto mesh = Read("v 0 0 0\nv 1 0 0\nv 0 1 0\nv 1 1 0\nf 1 2 3\nf 2 4 3\n");
  ASSERT_EQ(mesh->mVertices.size(), 6u);
  // Three from the first triangle, one for the position only the second adds.
  ASSERT_EQ(mesh->mFaceNormals.size(), 4u);
  for (const vec3& n : mesh->mFaceNormals) ExpectVec(vec3(0, 0, 1), n, "face normal");
  for (const auto& list : mesh->mPositionNormals) EXPECT_EQ(list.size(), 1u);
  for (const Vertex& v : mesh->mVertices) ExpectVec(vec3(0, 0, 1), v.normal, "vertex normal");
}

TEST_F(ObjReader, PolygonKeepsOnlyItsFirstThreeCorners) {
  auto mesh = Read("v 0 0 0\nv 1 0 0\nv 1 1 0\nv 0 1 0\nf 1 2 3 4\nv 5 5 5\n");
  ASSERT_EQ(mesh->mVertices.size(), 3u);
  EXPECT_EQ(mesh->mVertices[2].position, vec3(1, 1, 0));
  EXPECT_EQ(mesh->mPositionNormals.size(), 5u);  // the line after the face is read as usual
}

struct CornerCase {
  const char* label;
  bool withNormal;  // the file has a "vn" statement, (0, 0, -1), opposite to the face's own
  const char* face;
  bool expectTexCoords;
  vec3 expectNormal;
};
void PrintTo(const CornerCase& c, std::ostream* os) { *os << c.label; }

class ObjCornerForms : public ObjReader, public ::testing::WithParamInterface<CornerCase> {};

TEST_P(ObjCornerForms, FillTheFieldsTheyName) {
  const CornerCase& c = GetParam();
  std::string text = "v 0 0 0\nv 1 0 0\nv 0 1 0\nvt 0.25 0.5\nvt 0.75 0.5\nvt 0.25 1\n";
  if (c.withNormal) text += "vn 0 0 -1\n";
  auto mesh = Read(text + c.face + "\n");
  ASSERT_EQ(mesh->mVertices.size(), 3u);
  const vec2 texCoords[3] = {{0.25f, 0.5f}, {0.75f, 0.5f}, {0.25f, 1.0f}};
  for (int k = 0; k < 3; ++k) {
    EXPECT_EQ(mesh->mVertices[k].texCoord, c.expectTexCoords ? texCoords[k] : vec2(0.0f));
    ExpectVec(c.expectNormal, mesh->mVertices[k].normal, c.label);
  }
}

INSTANTIATE_TEST_SUITE_P(
    Forms, ObjCornerForms,
    ::testing::Values(CornerCase{"position only", false, "f 1 2 3", false, vec3(0, 0, 1)},
                      CornerCase{"position/texcoord", false, "f 1/1 2/2 3/3", true, vec3(0, 0, 1)},
                      CornerCase{"position//normal", true, "f 1//1 2//1 3//1", false, vec3(0, 0, -1)},
                      CornerCase{"position/texcoord/normal", true, "f 1/1/1 2/2/1 3/3/1", true,
                                 vec3(0, 0, -1)},
                      CornerCase{"file has normals, corners none", true, "f 1/1 2/2 3/3", true, vec3(0.0f)}),
    CaseName<CornerCase>);

struct LineEndCase {
  const char* label;
  const char* text;
};
void PrintTo(const LineEndCase& c, std::ostream* os) { *os << c.label; }

class ObjLineEnds : public ObjReader, public ::testing::WithParamInterface<LineEndCase> {};

TEST_P(ObjLineEnds, ReadTheLastFaceExactlyOnce) {
  auto mesh = Read(GetParam().text);
  ASSERT_EQ(mesh->mVertices.size(), 3u) << GetParam().label;
  ExpectTriangleList(*mesh);
  EXPECT_EQ(mesh->mVertices[0].position, vec3(0, 0, 0));
  EXPECT_EQ(mesh->mVertices[1].position, vec3(1, 0, 0));
  EXPECT_EQ(mesh->mVertices[2].position, vec3(0, 1, 0));
  EXPECT_EQ(mesh->mVertices[2].texCoord, vec2(0, 1));
  EXPECT_EQ(mesh->mVertices[2].normal, vec3(0, 0, 1));
}

INSTANTIATE_TEST_SUITE_P(
    Ends, ObjLineEnds,
    ::testing::Values(
        LineEndCase{"LF, final newline",
                    "v 0 0 0\nv 1 0 0\nv 0 1 0\nvt 0 1\nvn 0 0 1\nf 1/1/1 2/1/1 3/1/1\n"},
        LineEndCase{"LF, no final newline",
                    "v 0 0 0\nv 1 0 0\nv 0 1 0\nvt 0 1\nvn 0 0 1\nf 1/1/1 2/1/1 3/1/1"},
        LineEndCase{"CR LF, final newline",
                    "# made on Windows\r\nv 0 0 0\r\nv 1 0 0\r\nv 0 1 0\r\nvt 0 1\r\nvn 0 0 1\r\n"
                    "f 1/1/1 2/1/1 3/1/1\r\n"},
        LineEndCase{"CR LF, no final newline",
                    "v 0 0 0\r\nv 1 0 0\r\nv 0 1 0\r\nvt 0 1\r\nvn 0 0 1\r\nf 1/1/1 2/1/1 3/1/1"},
        LineEndCase{"tabs and blank lines",
                    "\n\nv\t0 0 0\nv 1\t0 0\nv 0 1 0\n\nvt 0 1\nvn 0 0 1\n"
                    "f\t1/1/1  2/1/1\t3/1/1\n\n"}),
    CaseName<LineEndCase>);

TEST_F(ObjReader, SingleTriangleGivesItsTangentFrameToAllCorners) {
  // e1 = (2, 0, 0), e2 = (0, 3, 0); (du1, dv1) = (0, 1), (du2, dv2) = (1, 0); det = -1.
  // t = (dv2 e1 - dv1 e2) / det = (0, 3, 0); b = (du1 e2 - du2 e1) / det = (2, 0, 0).
  auto mesh = Read("v 0 0 0\nv 2 0 0\nv 0 3 0\nvt 0 0\nvt 0 1\nvt 1 0\nf 1/1 2/2 3/3\n");
  ASSERT_EQ(mesh->mVertices.size(), 3u);
  for (const Vertex& v : mesh->mVertices) {
    ExpectVec(vec3(0, 3, 0), v.tangent, "tangent, not normalised");
    ExpectVec(vec3(2, 0, 0), v.biTangent, "bitangent, not normalised");
  }
}

TEST_F(ObjReader, CollinearTexCoordsCountTowardTheAverageWithZero) {
  // The second triangle's texture coordinates coincide (det 0): it adds zero vectors to
  // positions 1, 3 and 4 but still counts for them.
  auto mesh = Read(
      "v 0 0 0\nv 2 0 0\nv 0 3 0\nv 5 5 5\nvt 0 0\nvt 0 1\nvt 1 0\n"
      "f 1/1 2/2 3/3\nf 1/1 3/1 4/1\n");
  ASSERT_EQ(mesh->mVertices.size(), 6u);
  const vec3 tangents[6] = {{0, 1.5f, 0}, {0, 3, 0}, {0, 1.5f, 0}, {0, 1.5f, 0}, {0, 1.5f, 0}, {0, 0, 0}};
  const vec3 bitangents[6] = {{1, 0, 0}, {2, 0, 0}, {1, 0, 0}, {1, 0, 0}, {1, 0, 0}, {0, 0, 0}};
  for (int c = 0; c < 6; ++c) {
    ExpectVec(tangents[c], mesh->mVertices[c].tangent, "tangent");
    ExpectVec(bitangents[c], mesh->mVertices[c].biTangent, "bitangent");
  }
}

TEST_F(ObjReader, CornerWithoutTexCoordPairsWithZeroForTangents) {
  // Corner 2 has no texture coordinate: (0, 0) stands in, so w = (0.5, 0), (0, 0), (0, 1).
  // du1 = -0.5, dv1 = 0, du2 = -0.5, dv2 = 1, det = -0.5; t = (-2, 0, 0), b = (-1, 1, 0).
  auto mesh = Read("v 0 0 0\nv 1 0 0\nv 0 1 0\nvt 0.5 0\nvt 0 1\nf 1/1 2 3/2\n");
  ASSERT_EQ(mesh->mVertices.size(), 3u);
  EXPECT_EQ(mesh->mVertices[1].texCoord, vec2(0.0f));
  for (const Vertex& v : mesh->mVertices) {
    ExpectVec(vec3(-2, 0, 0), v.tangent, "tangent");
    ExpectVec(vec3(-1, 1, 0), v.biTangent, "bitangent");
  }
}

TEST_F(ObjReader, TrianglesWithoutAreaAddNoNormal) {
  // Triangle 1 lies on a line and triangle 2 repeats a corner; triangle 3 is proper.
  auto mesh = Read("v 0 0 0\nv 1 0 0\nv 2 0 0\nv 0 1 0\nf 1 2 3\nf 1 1 4\nf 1 2 4\n");
  ASSERT_EQ(mesh->mVertices.size(), 9u);
  EXPECT_EQ(mesh->mFaceNormals.size(), 3u);
  EXPECT_TRUE(mesh->mPositionNormals[2].empty());
  ExpectVec(vec3(0.0f), mesh->mVertices[2].normal, "position used only by the flat triangle");
  ExpectVec(vec3(0, 0, 1), mesh->mVertices[0].normal, "position shared with the proper triangle");
  ExpectAllFinite(*mesh);
}

TEST_F(ObjReader, HugeCoordinatesGiveAUnitNormalNotNaN) {
  // The float cross product overflows; the normal still has a direction.
  auto mesh = Read(
      "v 3e38 0 0\nv -3e38 0 0\nv 0 3e38 0\nvt 0 0\nvt 1e30 0\nvt 0 1e30\n"
      "f 1/1 2/2 3/3\n");
  ASSERT_EQ(mesh->mVertices.size(), 3u);
  ExpectVec(vec3(0, 0, -1), mesh->mVertices[0].normal, "normal");
  ExpectAllFinite(*mesh);
}

struct SkipCase {
  const char* label;
  std::string text;
  std::size_t positions;
};
void PrintTo(const SkipCase& c, std::ostream* os) { *os << c.label; }

class ObjSkipping : public ObjReader, public ::testing::WithParamInterface<SkipCase> {};

TEST_P(ObjSkipping, ReadsOnlyTheStatementsItKnows) {
  auto mesh = Read(GetParam().text);
  EXPECT_EQ(mesh->mPositionNormals.size(), GetParam().positions) << GetParam().label;
  EXPECT_TRUE(mesh->mVertices.empty());
}

INSTANTIATE_TEST_SUITE_P(
    Lines, ObjSkipping,
    ::testing::Values(SkipCase{"fourth coordinate takes the rest of its line", "v 1 2 3 4 v 5 6 7\nv 8 9 0\n",
                               2},
                      SkipCase{"vp and other v keywords add nothing", "vp 0.1 0.2\nvx\nv 1 2 3\n", 1},
                      SkipCase{"comments and grouping statements",
                               "# v 1 2 3\nmtllib a.mtl\no thing\ng part\nusemtl red\ns 1\nv 1 2 3\n", 1},
                      SkipCase{"256 characters of a long line are dropped, the rest is read",
                               "#" + std::string(256, ' ') + "v 1 2 3\n", 1},
                      SkipCase{"the 256th dropped character is the v of the next statement",
                               "#" + std::string(255, ' ') + "v 1 2 3\n", 0},
                      SkipCase{"positions without faces", "v 1 2 3\nv 4 5 6\n", 2},
                      SkipCase{"empty text", "", 0}),
    CaseName<SkipCase>);

TEST_F(ObjReader, TexCoordWithThirdNumberStoresTwo) {
  auto mesh = Read("v 0 0 0\nv 1 0 0\nv 0 1 0\nvt 0.5 0.5 0.0\nf 1/1 2/1 3/1\n");
  ASSERT_EQ(mesh->mVertices.size(), 3u);
  EXPECT_EQ(mesh->mVertices[0].texCoord, vec2(0.5f, 0.5f));
}

TEST_F(ObjReader, EmptyTextLeavesTheMeshUntouched) {
  auto mesh = Read("");
  EXPECT_TRUE(mesh->mVertices.empty());
  EXPECT_TRUE(mesh->mIndices.empty());
  EXPECT_TRUE(mesh->mFaceNormals.empty());
  EXPECT_TRUE(mesh->mPositionNormals.empty());
}

TEST_F(ObjReader, SecondReadAppendsWithItsOwnIndices) {
  auto mesh = Read("v 0 0 0\nv 1 0 0\nv 0 1 0\nf 1 2 3\n");
  ASSERT_TRUE(OBJFileReader::Instance()->LoadFromText("v 0 0 5\nv 1 0 5\nv 0 1 5\nf 3 2 1\n", mesh.get()));
  ASSERT_EQ(mesh->mVertices.size(), 6u);
  ExpectTriangleList(*mesh);
  EXPECT_EQ(mesh->mVertices[3].position, vec3(0, 1, 5));
  ExpectVec(vec3(0, 0, -1), mesh->mVertices[3].normal, "second part's own normal");
  EXPECT_EQ(mesh->mPositionNormals.size(), 6u);
  EXPECT_EQ(mesh->mPositionNormals[5].size(), 1u);
}

struct BadCase {
  const char* label;
  std::string text;
  std::size_t vertices;
};
void PrintTo(const BadCase& c, std::ostream* os) { *os << c.label; }

class ObjBadInput : public ObjReader, public ::testing::WithParamInterface<BadCase> {};

const std::string kTriangle = "v 0 0 0\nv 1 0 0\nv 0 1 0\nvt 0 0\nvn 0 0 1\n";

TEST_P(ObjBadInput, SkipsTheBadFaceAndEnds) {
  auto mesh = Read(GetParam().text);
  EXPECT_EQ(mesh->mVertices.size(), GetParam().vertices) << GetParam().label;
  ExpectTriangleList(*mesh);
  ExpectAllFinite(*mesh);
}

INSTANTIATE_TEST_SUITE_P(
    Faces, ObjBadInput,
    ::testing::Values(
        BadCase{"index 0", kTriangle + "f 0 1 2\nf 1 2 3\n", 3},
        BadCase{"negative indices", kTriangle + "f -1 -2 -3\nf 1 2 3\n", 3},
        BadCase{"position beyond those read", kTriangle + "f 1 2 4\nf 1 2 3\n", 3},
        BadCase{"face before its positions", "f 1 2 3\n" + kTriangle, 0},
        BadCase{"texcoord beyond those read", kTriangle + "f 1/2 2/1 3/1\n", 0},
        BadCase{"normal beyond those read", kTriangle + "f 1//2 2//1 3//1\n", 0},
        BadCase{"texcoord 0 in the last corner", kTriangle + "f 1/1 2/1 3/0\nf 1 2 3\n", 3},
        BadCase{"two corners, then a good face", kTriangle + "f 1 2\nf 1 2 3\n", 3},
        BadCase{"two corners at the end", kTriangle + "f 1 2", 0},
        BadCase{"keyword alone at the end", kTriangle + "f", 0},
        BadCase{"open slash", kTriangle + "f 1/ 2 3\nf 1 2 3\n", 3},
        BadCase{"letters", kTriangle + "f 1/a/1 2 3\nf a b c\nf 1 2 3\n", 3},
        BadCase{"slashes only", kTriangle + "f / / /\nf //1 //1 //1\n", 0},
        BadCase{"index beyond int", kTriangle + "f 99999999999999999999 1 2\nf 4294967297 2 3\n", 0},
        BadCase{"non-numeric statements everywhere", "v x y z\nvn\nvt ?\nv 1 0 0 \nv 0 1\nf 1 2 3\n", 3},
        BadCase{"a bad number loses the rest of its line", kTriangle + "v 1 x f 1 2 3\n", 0},
        BadCase{"truncated position at the end", kTriangle + "v 1 2", 0},
        BadCase{"texcoord keyword at the end", kTriangle + "vt", 0},
        BadCase{"nan, inf and out-of-range numbers",
                "v nan 0 0\nv inf 0 0\nv 1e999 0 0\nvn nan 1 1\nvt -inf 2\nv 1e-50 0 0\n"
                "f 1/1/1 2/1/1 3/1/1\nf 4 2 3\n",
                6},
        BadCase{"binary junk", std::string("\0\xff/\n f/ //\x01\n\xfe v", 15), 0}),
    CaseName<BadCase>);

TEST_F(ObjReader, StatementsReadTheirNumbersAcrossLineEnds) {
  // Tokens are separated by any whitespace: "v 4 0", a line end, "7" is the position (4, 0, 7).
  auto mesh = Read("v 4 0\n7\nv 1\n\n0 0\nv 0 1 0\nvt 0.5\n0.25\nvn 0\n0\r\n1\nf 1/1/1 2/1/1 3/1/1\n");
  ASSERT_EQ(mesh->mVertices.size(), 3u);
  EXPECT_EQ(mesh->mVertices[0].position, vec3(4, 0, 7));
  EXPECT_EQ(mesh->mVertices[1].position, vec3(1, 0, 0));
  EXPECT_EQ(mesh->mVertices[0].texCoord, vec2(0.5f, 0.25f));
  EXPECT_EQ(mesh->mVertices[0].normal, vec3(0, 0, 1));
}

struct AcrossLinesCase {
  const char* label;
  std::string text;
  std::vector<vec3> positions;  // of the vertices read, in order
};
void PrintTo(const AcrossLinesCase& c, std::ostream* os) { *os << c.label; }

class ObjAcrossLines : public ObjReader, public ::testing::WithParamInterface<AcrossLinesCase> {};

TEST_P(ObjAcrossLines, EndStatementsWhereTheTokensSay) {
  auto mesh = Read(GetParam().text);
  std::vector<vec3> positions;
  for (const Vertex& v : mesh->mVertices) positions.push_back(v.position);
  EXPECT_EQ(positions, GetParam().positions) << GetParam().label;
  ExpectTriangleList(*mesh);
}

const vec3 kA(0, 0, 0), kB(1, 0, 0), kC(0, 1, 0);  // the positions of kTriangle

INSTANTIATE_TEST_SUITE_P(
    Statements, ObjAcrossLines,
    ::testing::Values(AcrossLinesCase{"corners on the next lines", kTriangle + "f 1\n2\n\n3\n", {kA, kB, kC}},
                      AcrossLinesCase{"a short position ends at the next keyword",
                                      "v 0 0 0\nv 1 0\nv 0 1 0\nf 1 2 3\n",
                                      {kA, kB, kC}},
                      AcrossLinesCase{"a keyword where a number should be starts its statement",
                                      "v 0 0 0\nv 1 0 0\nv 0 1 f 1 2 3\n",
                                      {kA, kB, kC}},
                      AcrossLinesCase{"a corner's fields do not run over a line end",
                                      kTriangle + "f 1/\n1 2 3\nf 3 2 1\n",
                                      {kC, kB, kA}}),
    CaseName<AcrossLinesCase>);

TEST_F(ObjReader, ReadsNumbersInTheFormsStreamsAccept) {
  auto mesh = Read("v +1.5 -.5 1e2\nv 5. 2E-1 -3\nv 0.125 -0 7\nvn 0 0 1\nf 1//1 2//1 3//1\n");
  ASSERT_EQ(mesh->mVertices.size(), 3u);
  EXPECT_EQ(mesh->mVertices[0].position, vec3(1.5f, -0.5f, 100.0f));
  EXPECT_EQ(mesh->mVertices[1].position, vec3(5.0f, 0.2f, -3.0f));
  EXPECT_EQ(mesh->mVertices[2].position, vec3(0.125f, 0.0f, 7.0f));
}

TEST_F(ObjReader, NonNumericPositionKeepsLaterIndicesAligned) {
  // The second "v" cannot be read; it still takes its place, so "4" is (1, 1, 0).
  auto mesh = Read("v 0 0 0\nv x 1 0\nv 0 1 0\nv 1 1 0\nf 1 3 4\n");
  ASSERT_EQ(mesh->mVertices.size(), 3u);
  EXPECT_EQ(mesh->mPositionNormals.size(), 4u);
  EXPECT_EQ(mesh->mVertices[1].position, vec3(0, 1, 0));
  EXPECT_EQ(mesh->mVertices[2].position, vec3(1, 1, 0));
}

TEST_F(ObjReader, LoadReadsTheNamedFileOrLeavesTheMeshAlone) {
  testsupport::WriteFile(mDir.Resources() / "meshes" / "tri.obj", "v 0 0 0\nv 1 0 0\nv 0 1 0\nf 1 2 3\n");
  Mesh tri("tri");
  EXPECT_EQ(tri.mVertices.size(), 3u);
  EXPECT_EQ(tri.mName, "tri");

  Mesh other("none");
  other.mVertices.resize(1);
  EXPECT_FALSE(OBJFileReader::Instance()->Load("missing", &other));
  std::filesystem::create_directory(mDir.Resources() / "meshes" / "folder.obj");
  EXPECT_FALSE(OBJFileReader::Instance()->Load("folder", &other));
  EXPECT_EQ(other.mVertices.size(), 1u);
  EXPECT_TRUE(other.mPositionNormals.empty());
}

// A file of several MB, with a comment line of 3 MB and a last face without a line end: every
// statement counts once.
TEST_F(ObjReader, BigFileReadsEveryStatementOnce) {
  std::string text;
  const int kPositions = 60000;
  for (int i = 0; i < kPositions; ++i) text += "v " + std::to_string(i) + " 0.5 -1\n";
  text += "# " + std::string(3 << 20, 'x') + "\n";
  for (int i = 1; i + 2 <= kPositions; ++i)
    text += "f " + std::to_string(i) + " " + std::to_string(i + 1) + " " + std::to_string(i + 2) + "\n";
  text.pop_back();
  testsupport::WriteFile(mDir.Resources() / "meshes" / "big.obj", text);

  Mesh mesh("big");
  const std::size_t faces = kPositions - 2;
  ASSERT_EQ(mesh.mVertices.size(), 3 * faces);
  ASSERT_EQ(mesh.mPositionNormals.size(), static_cast<std::size_t>(kPositions));
  for (std::size_t f = 0; f < faces; ++f) {
    for (std::size_t k = 0; k < 3; ++k) {
      ASSERT_EQ(mesh.mVertices[3 * f + k].position, vec3(static_cast<float>(f + k), 0.5f, -1.0f))
          << "face " << f << ", corner " << k;
    }
  }
}

// What a read holds grows with what the file holds, not with how its lines begin.
struct MemoryCase {
  const char* label;
  std::string head;  // once, then
  std::string line;  // this, many times
  std::size_t lines;
  std::size_t vertices;    // in the mesh afterwards
  double peakPerFileByte;  // the most the read may hold at once, per byte of the file
};
void PrintTo(const MemoryCase& c, std::ostream* os) { *os << c.label; }

class ObjMemory : public ObjReader, public ::testing::WithParamInterface<MemoryCase> {};

TEST_P(ObjMemory, PeakStaysWithinAMultipleOfTheFileSize) {
  const MemoryCase& c = GetParam();
  std::string text = c.head;
  for (std::size_t i = 0; i < c.lines; ++i) text += c.line;
  testsupport::WriteFile(mDir.Resources() / "meshes" / "generated.obj", text);
  const double fileBytes = static_cast<double>(text.size());
  std::string().swap(text);

  Mesh mesh("none");
  allocation::MarkPeak();
  ASSERT_TRUE(OBJFileReader::Instance()->Load("generated", &mesh));
  const double peak = static_cast<double>(allocation::PeakSinceMark());
  EXPECT_EQ(mesh.mVertices.size(), c.vertices);
  EXPECT_LE(peak, c.peakPerFileByte * fileBytes)
      << c.label << ": " << peak / fileBytes << " bytes held per byte of the file";
}

INSTANTIATE_TEST_SUITE_P(
    Files, ObjMemory,
    ::testing::Values(
        // A face keyword without corners adds nothing: the read holds the text and little else.
        MemoryCase{"face keywords without corners", "", "ff\n", 1000000, 0, 1.1},
        // Each 8-byte line adds a position and its list of normals to the mesh (36 bytes), and
        // a few working values while the normals and tangents are made.
        MemoryCase{"positions without faces", "", "v 1 2 3\n", 200000, 0, 12.0},
        // Each 8-byte line adds three 56-byte vertices, their indices and up to three face
        // normals: the mesh alone is 27 bytes per byte of such a file, the densest the format
        // allows, and the corners read are held until the vertices are made.
        MemoryCase{"faces of one-digit corners", "v 0 0 0\nv 1 0 0\nv 0 1 0\n", "f 1 2 3\n", 200000, 600000,
                   45.0},
        // Corners as modelling tools write them, with texture-coordinate and normal indices.
        MemoryCase{"faces of full corners", "v 0 0 0\nv 1 0 0\nv 0 1 0\nvt 0 0\nvn 0 0 1\n",
                   "f 1/1/1 2/1/1 3/1/1\n", 200000, 600000, 20.0}),
    CaseName<MemoryCase>);

TEST_F(ObjReader, ShippedSphereIsClosedAndFacesOutwards) {
  auto mesh = Read(testsupport::ReadFile(SCENE_SPHERE_OBJ));
  ASSERT_EQ(mesh->mVertices.size(), 3u * (16 * 2 + 16 * 10 * 2));
  ExpectTriangleList(*mesh);
  ExpectAllFinite(*mesh);
  for (std::size_t c = 0; c < mesh->mVertices.size(); c += 3) {
    const vec3& p0 = mesh->mVertices[c].position;
    const vec3& p1 = mesh->mVertices[c + 1].position;
    const vec3& p2 = mesh->mVertices[c + 2].position;
    vec3 n = glm::cross(p0 - p2, p1 - p2);
    EXPECT_GT(glm::dot(n, p0 + p1 + p2), 0.0f) << "triangle " << c / 3 << " faces inwards";
  }
  for (const Vertex& v : mesh->mVertices) {
    ExpectVec(v.position, v.normal, "unit sphere normal", 1e-5f);
    EXPECT_NEAR(glm::length(v.position), 1.0f, 1e-5f);
  }
}

}  // namespace
