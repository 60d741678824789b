// Building, caching and selecting programs, and every build failure's console report.
#include <GL/glew.h>
#include <gtest/gtest.h>

#include <regex>

#include "GraphicsTestSupport.h"
#include "ShaderLibrary.h"
#include "NamedCases.h"

namespace {

using graphicstest::WriteShader;
using testsupport::CaptureStdout;

const char* const kColorVert =
    "#version 110\n"
    "attribute vec3 a_vertex;\n"
    "attribute vec4 a_color;\n"
    "uniform mat4 u_projection;\n"
    "varying vec4 v_color;\n"
    "void main() { v_color = a_color; gl_Position = u_projection * vec4(a_vertex, 1.0); }\n";
const char* const kColorFrag =
    "#version 110\n"
    "varying vec4 v_color;\n"
    "void main() { gl_FragColor = v_color; }\n";
// Declares none of the names the renderer feeds.
const char* const kBareVert = "#version 110\nvoid main() { gl_Position = vec4(0.0); }\n";
const char* const kBareFrag = "#version 110\nvoid main() { gl_FragColor = vec4(1.0); }\n";
const char* const kSyntaxErrorFrag = "#version 110\nvoid main() { gl_FragColor = vec4(1.0) }\n";
// Compiles, but the linker finds no body for shade().
const char* const kUnresolvedFrag = "#version 110\nvec4 shade();\nvoid main() { gl_FragColor = shade(); }\n";

GLint CurrentProgram() {
  GLint program = -1;
  glGetIntegerv(GL_CURRENT_PROGRAM, &program);
  return program;
}

class ShaderLibraryTest : public testing::Test {
protected:
  void SetUp() override {
    testsupport::EnsureGlContext();
    graphicstest::DrainGlErrors();
  }
  void TearDown() override {
    glUseProgram(0);
    graphicstest::DrainGlErrors();
  }
  void WritePair(const std::string& name, const char* vert, const char* frag) {
    WriteShader(mDir, name, ".vert", vert);
    WriteShader(mDir, name, ".frag", frag);
  }

  testsupport::TempWorkDir mDir;
  ShaderLibrary mLibrary;
};

TEST_F(ShaderLibraryTest, MissingFilesAreReportedAndTheBuildIsRetriedOnEveryRequest) {
  WriteShader(mDir, "Half", ".vert", kColorVert);
  for (int request = 0; request < 2; ++request) {
    CaptureStdout out;
    EXPECT_EQ(mLibrary.UseProgram("Half"), nullptr);
    // The open error comes first; whatever the compiler says about the empty source follows.
    EXPECT_EQ(out.Text().rfind("error in opening shader file: ../resources/shaders/Half.frag\n", 0), 0u)
        << out.Text();
    EXPECT_EQ(out.Text().find("Half.vert"), std::string::npos) << out.Text();
  }
  EXPECT_TRUE(mLibrary.mPrograms.empty());
  EXPECT_EQ(mLibrary.mCurrent, nullptr);
  EXPECT_EQ(CurrentProgram(), 0);

  {
    CaptureStdout out;
    EXPECT_EQ(mLibrary.UseProgram("Absent"), nullptr);
    // Each stage reports its file, then the compiler's verdict on the empty source.
    const std::regex both(
        "^error in opening shader file: \\.\\./resources/shaders/Absent\\.vert\n(.|\n)*"
        "error in opening shader file: \\.\\./resources/shaders/Absent\\.frag\n");
    EXPECT_TRUE(std::regex_search(out.Text(), both)) << out.Text();
  }

  // Once the file is there, the next request builds the program.
  WriteShader(mDir, "Half", ".frag", kColorFrag);
  CaptureStdout out;
  ShaderProgram* program = mLibrary.UseProgram("Half");
  ASSERT_NE(program, nullptr);
  EXPECT_EQ(out.Text(), "");
  EXPECT_EQ(CurrentProgram(), static_cast<GLint>(program->mId));
}

struct BuildFailureCase {
  const char* name;
  const char* frag;
  const char* firstLine;  // pattern of the message line
};

class BuildFailure : public ShaderLibraryTest, public ::testing::WithParamInterface<BuildFailureCase> {};

TEST_P(BuildFailure, PrintsItsMessageAndTheLog) {
  const BuildFailureCase& c = GetParam();
  WritePair(c.name, kColorVert, c.frag);
  CaptureStdout out;
  EXPECT_EQ(mLibrary.UseProgram(c.name), nullptr);
  // The message line, then the driver's log: at least one more non-empty line.
  EXPECT_TRUE(std::regex_search(out.Text(), std::regex(std::string("^") + c.firstLine + "\n.+")))
      << out.Text();
  EXPECT_EQ(out.Text().find("error in opening"), std::string::npos);
  EXPECT_EQ(out.Text().find("Error occurred in OpenGL"), std::string::npos) << out.Text();
  EXPECT_TRUE(mLibrary.mPrograms.empty());
  EXPECT_EQ(CurrentProgram(), 0);
}

INSTANTIATE_TEST_SUITE_P(
    Stages, BuildFailure,
    ::testing::Values(
        BuildFailureCase{
            "Broken", kSyntaxErrorFrag,
            R"(error in compiling shader source [1-9][0-9]*: \.\./resources/shaders/Broken\.frag)"},
        BuildFailureCase{"Unlinked", kUnresolvedFrag, R"(error in linking program: [1-9][0-9]*)"}),
    testsupport::CaseName<BuildFailureCase>);

TEST_F(ShaderLibraryTest, PendingOpenGLErrorIsReportedBeforeTheBuild) {
  WritePair("Bare", kBareVert, kBareFrag);
  glEnable(0x7FFF);  // not a capability: GL_INVALID_ENUM
  CaptureStdout out;
  ASSERT_NE(mLibrary.UseProgram("Bare"), nullptr);
  EXPECT_EQ(out.Text().rfind("Error occurred in OpenGL:\nCode: 1280\n", 0), 0u) << out.Text();
  EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));
}

TEST_F(ShaderLibraryTest, BuiltProgramIsCachedAndNeverRebuilt) {
  WritePair("Good", kColorVert, kColorFrag);
  ShaderProgram* first = mLibrary.UseProgram("Good");
  ASSERT_NE(first, nullptr);
  EXPECT_EQ(first->mName, "Good");
  EXPECT_NE(first->mId, 0u);

  // Breaking the files afterwards changes nothing: the built program is reused as it is.
  WritePair("Good", kColorVert, kSyntaxErrorFrag);
  CaptureStdout out;
  EXPECT_EQ(mLibrary.UseProgram("Good"), first);
  EXPECT_EQ(mLibrary.UseProgram(""), nullptr);
  EXPECT_EQ(CurrentProgram(), 0);
  EXPECT_EQ(mLibrary.UseProgram("Good"), first);
  EXPECT_EQ(out.Text(), "");
  EXPECT_EQ(mLibrary.mPrograms.size(), 1u);
  EXPECT_EQ(mLibrary.mCurrent, first);
  EXPECT_EQ(CurrentProgram(), static_cast<GLint>(first->mId));
}

TEST_F(ShaderLibraryTest, ProgramsAreDeletedWithTheLibrary) {
  WritePair("Good", kColorVert, kColorFrag);
  WritePair("Bare", kBareVert, kBareFrag);
  GLuint ids[2];
  {
    ShaderLibrary library;
    ids[0] = library.UseProgram("Good")->mId;
    ids[1] = library.UseProgram("Bare")->mId;
    library.UseProgram("");
  }
  EXPECT_FALSE(glIsProgram(ids[0]));
  EXPECT_FALSE(glIsProgram(ids[1]));
}

// Attribute arrays, buffers and texture units as a released program must leave them.
struct BoundState {
  bool vertexArray;
  bool colorArray;
  GLint arrayBuffer;
  GLint elementBuffer;
  GLint textures[5];
  GLint activeUnit;
};

BoundState ReadBoundState(GLuint vertexLocation, GLuint colorLocation) {
  BoundState state{};
  GLint enabled = 0;
  glGetVertexAttribiv(vertexLocation, GL_VERTEX_ATTRIB_ARRAY_ENABLED, &enabled);
  state.vertexArray = enabled != 0;
  glGetVertexAttribiv(colorLocation, GL_VERTEX_ATTRIB_ARRAY_ENABLED, &enabled);
  state.colorArray = enabled != 0;
  glGetIntegerv(GL_ARRAY_BUFFER_BINDING, &state.arrayBuffer);
  glGetIntegerv(GL_ELEMENT_ARRAY_BUFFER_BINDING, &state.elementBuffer);
  glGetIntegerv(GL_ACTIVE_TEXTURE, &state.activeUnit);
  for (int unit = 0; unit < 5; ++unit) {
    glActiveTexture(GL_TEXTURE0 + static_cast<GLenum>(unit));
    glGetIntegerv(GL_TEXTURE_BINDING_2D, &state.textures[unit]);
  }
  glActiveTexture(static_cast<GLenum>(state.activeUnit));
  return state;
}

TEST_F(ShaderLibraryTest, SwitchingProgramsReleasesThePreviousOneOnly) {
  WritePair("Lines", kColorVert, kColorFrag);
  WritePair("Bare", kBareVert, kBareFrag);
  ShaderProgram* lines = mLibrary.UseProgram("Lines");
  ASSERT_NE(lines, nullptr);
  ASSERT_NE(lines->a_vertex, -1);
  ASSERT_NE(lines->a_color, -1);
  const auto vertex = static_cast<GLuint>(lines->a_vertex);
  const auto color = static_cast<GLuint>(lines->a_color);

  GLuint buffers[2];
  glGenBuffers(2, buffers);
  GLuint textures[5];
  glGenTextures(5, textures);
  auto fill = [&] {
    glBindBuffer(GL_ARRAY_BUFFER, buffers[0]);
    glBindBuffer(GL_ELEMENT_ARRAY_BUFFER, buffers[1]);
    glEnableVertexAttribArray(vertex);
    glEnableVertexAttribArray(color);
    for (GLenum unit = 0; unit < 5; ++unit) {
      glActiveTexture(GL_TEXTURE0 + unit);
      glBindTexture(GL_TEXTURE_2D, textures[unit]);
    }
    glActiveTexture(GL_TEXTURE1);
  };
  auto expectUntouched = [&] {
    const BoundState state = ReadBoundState(vertex, color);
    EXPECT_TRUE(state.vertexArray);
    EXPECT_TRUE(state.colorArray);
    EXPECT_EQ(state.arrayBuffer, static_cast<GLint>(buffers[0]));
    EXPECT_EQ(state.elementBuffer, static_cast<GLint>(buffers[1]));
    for (int unit = 0; unit < 5; ++unit) {
      EXPECT_EQ(state.textures[unit], static_cast<GLint>(textures[unit])) << unit;
    }
    EXPECT_EQ(state.activeUnit, GL_TEXTURE1);
  };
  auto expectReleased = [&] {
    const BoundState state = ReadBoundState(vertex, color);
    EXPECT_FALSE(state.vertexArray);
    EXPECT_FALSE(state.colorArray);
    EXPECT_EQ(state.arrayBuffer, 0);
    EXPECT_EQ(state.elementBuffer, 0);
    for (int unit = 0; unit < 5; ++unit) EXPECT_EQ(state.textures[unit], 0) << unit;
    EXPECT_EQ(state.activeUnit, GL_TEXTURE4);
  };

  {
    SCOPED_TRACE("the current program again");
    fill();
    EXPECT_EQ(mLibrary.UseProgram("Lines"), lines);
    expectUntouched();
    EXPECT_EQ(CurrentProgram(), static_cast<GLint>(lines->mId));
  }
  {
    SCOPED_TRACE("no program after Lines");
    EXPECT_EQ(mLibrary.UseProgram(""), nullptr);
    expectReleased();
    EXPECT_EQ(CurrentProgram(), 0);
  }
  {
    SCOPED_TRACE("a program after none");
    fill();
    ShaderProgram* bare = mLibrary.UseProgram("Bare");
    ASSERT_NE(bare, nullptr);
    EXPECT_EQ(mLibrary.mCurrent, bare);
    expectUntouched();
  }
  {
    SCOPED_TRACE("another program after Lines");
    mLibrary.UseProgram("Lines");
    fill();
    ASSERT_NE(mLibrary.UseProgram("Bare"), nullptr);
    expectReleased();
  }
  {
    SCOPED_TRACE("a failed build after Lines");
    mLibrary.UseProgram("Lines");
    fill();
    CaptureStdout quiet;
    EXPECT_EQ(mLibrary.UseProgram("Nowhere"), nullptr);
    expectReleased();
    EXPECT_EQ(CurrentProgram(), 0);
  }

  glDeleteBuffers(2, buffers);
  glDeleteTextures(5, textures);
}

}  // namespace
