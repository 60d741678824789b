// Loading image files into textures: one load per name, silent failures that are tried again.
#include <GL/glew.h>
#include <gtest/gtest.h>
#include <sys/inotify.h>  // watching which files a load opens
#include <unistd.h>       // read and close of the watch

#include <cerrno>
#include <string>

#include "GraphicsTestSupport.h"
#include "TextureLibrary.h"
#include "NamedCases.h"

namespace {

using testsupport::WriteFile;

// An uncompressed 32-bit true-colour TGA of width x height pixels, all of one colour.
std::string SolidTga(int width, int height, unsigned char r, unsigned char g, unsigned char b,
                     unsigned char a) {
  std::string file(18, '\0');
  file[2] = 2;  // uncompressed true-colour
  file[12] = static_cast<char>(width & 0xFF);
  file[13] = static_cast<char>(width >> 8);
  file[14] = static_cast<char>(height & 0xFF);
  file[15] = static_cast<char>(height >> 8);
  file[16] = 32;    // bits per pixel
  file[17] = 0x08;  // 8 alpha bits, origin lower left
  for (int i = 0; i < width * height; ++i) {
    file += static_cast<char>(b);
    file += static_cast<char>(g);
    file += static_cast<char>(r);
    file += static_cast<char>(a);
  }
  return file;
}

// Counts the opens of anything in one folder, the folder itself included, through inotify.
class OpenWatch {
public:
  explicit OpenWatch(const std::string& folder) : mFd(inotify_init1(IN_NONBLOCK)) {
    inotify_add_watch(mFd, folder.c_str(), IN_OPEN);
  }
  ~OpenWatch() { close(mFd); }
  OpenWatch(const OpenWatch&) = delete;
  OpenWatch& operator=(const OpenWatch&) = delete;

  // Opens seen since the previous call (inotify merges repeats of an unread event).
  int Take() {
    int count = 0;
    alignas(inotify_event) char buffer[4096];
    for (;;) {
      const ssize_t length = read(mFd, buffer, sizeof buffer);
      if (length <= 0) break;
      for (ssize_t at = 0; at < length;) {
        const auto* event = reinterpret_cast<const inotify_event*>(buffer + at);
        if (event->mask & IN_OPEN) ++count;
        at += static_cast<ssize_t>(sizeof(inotify_event) + event->len);
      }
    }
    return count;
  }

private:
  int mFd;
};

class TextureLibraryTest : public testing::Test {
protected:
  void SetUp() override {
    testsupport::EnsureGlContext();
    graphicstest::DrainGlErrors();
  }
  void TearDown() override {
    for (const auto& entry : mLibrary.mTextures) glDeleteTextures(1, &entry.second);
    graphicstest::DrainGlErrors();
  }
  void WriteImage(const std::string& name, const std::string& content) {
    WriteFile(mDir.Resources() / "textures" / name, content);
  }
  std::string Folder() const { return (mDir.Resources() / "textures").string(); }

  // The lookup every object creation goes through: stored id, else a load.
  GLuint Lookup(const std::string& name) {
    if (name.empty()) return 0;
    const GLuint stored = mLibrary.FindTexture(name);
    return stored != 0 ? stored : mLibrary.LoadTexture(name);
  }

  testsupport::TempWorkDir mDir;
  TextureLibrary mLibrary;
};

TEST_F(TextureLibraryTest, ImageIsLoadedOnceAsANearestFilteredMipmappedTexture) {
  WriteImage("stone.tga", SolidTga(2, 2, 10, 200, 30, 255));
  OpenWatch opens(Folder());

  const GLuint id = Lookup("stone.tga");
  ASSERT_NE(id, 0u);
  EXPECT_GE(opens.Take(), 1);
  EXPECT_EQ(Lookup("stone.tga"), id);
  EXPECT_EQ(mLibrary.LoadTexture("stone.tga"), id);  // a stored name is not loaded again
  EXPECT_EQ(opens.Take(), 0);
  EXPECT_EQ(mLibrary.mTextures.size(), 1u);
  EXPECT_EQ(mLibrary.FindTexture("stone.tga"), id);

  GLint bound = -1;
  glGetIntegerv(GL_TEXTURE_BINDING_2D, &bound);
  EXPECT_EQ(bound, 0);

  glBindTexture(GL_TEXTURE_2D, id);
  GLint value = 0;
  glGetTexParameteriv(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, &value);
  EXPECT_EQ(value, GL_NEAREST);
  glGetTexParameteriv(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, &value);
  EXPECT_EQ(value, GL_NEAREST);
  glGetTexLevelParameteriv(GL_TEXTURE_2D, 0, GL_TEXTURE_WIDTH, &value);
  EXPECT_EQ(value, 2);
  glGetTexLevelParameteriv(GL_TEXTURE_2D, 1, GL_TEXTURE_WIDTH, &value);
  EXPECT_EQ(value, 1);  // the mipmap chain exists
  unsigned char pixels[16] = {};
  glPixelStorei(GL_PACK_ALIGNMENT, 1);
  glGetTexImage(GL_TEXTURE_2D, 0, GL_RGBA, GL_UNSIGNED_BYTE, pixels);
  for (int i = 0; i < 4; ++i) {
    EXPECT_EQ(pixels[4 * i], 10);
    EXPECT_EQ(pixels[4 * i + 1], 200);
    EXPECT_EQ(pixels[4 * i + 2], 30);
    EXPECT_EQ(pixels[4 * i + 3], 255);
  }
  glBindTexture(GL_TEXTURE_2D, 0);
}

TEST_F(TextureLibraryTest, TwoNamesForOneFileAreTwoTextures) {
  WriteImage("stone.tga", SolidTga(2, 2, 10, 200, 30, 255));
  const GLuint plain = Lookup("stone.tga");
  const GLuint dotted = Lookup("./stone.tga");
  EXPECT_NE(plain, 0u);
  EXPECT_NE(dotted, 0u);
  EXPECT_NE(plain, dotted);
  EXPECT_EQ(mLibrary.mTextures.size(), 2u);
}

TEST_F(TextureLibraryTest, EmptyNameIsNoTextureAndTouchesNoFile) {
  OpenWatch opens(Folder());
  EXPECT_EQ(mLibrary.FindTexture(""), 0u);
  EXPECT_EQ(mLibrary.LoadTexture(""), 0u);
  EXPECT_EQ(opens.Take(), 0);
  EXPECT_TRUE(mLibrary.mTextures.empty());
}

struct FailedLoadCase {
  const char* name;
  const char* file;
  const char* content;  // null: no file at all
};

class FailedLoad : public TextureLibraryTest, public ::testing::WithParamInterface<FailedLoadCase> {};

TEST_P(FailedLoad, IsSilentAndTriedAgainNextTime) {
  const FailedLoadCase& c = GetParam();
  if (c.content != nullptr) WriteImage(c.file, c.content);
  OpenWatch opens(Folder());
  for (int attempt = 0; attempt < 2; ++attempt) {
    testing::internal::CaptureStdout();  // the descriptor, so that C output shows up too
    EXPECT_EQ(Lookup(c.file), 0u);
    EXPECT_EQ(testing::internal::GetCapturedStdout(), "");
    if (c.content != nullptr) {
      EXPECT_GE(opens.Take(), 1);  // each request reads the file again
    }
  }
  EXPECT_TRUE(mLibrary.mTextures.empty());

  WriteImage(c.file, SolidTga(1, 1, 255, 255, 255, 255));
  EXPECT_NE(Lookup(c.file), 0u);
  EXPECT_EQ(mLibrary.mTextures.size(), 1u);
  EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));
}

INSTANTIATE_TEST_SUITE_P(Files, FailedLoad,
                         ::testing::Values(FailedLoadCase{"missing", "missing.tga", nullptr},
                                           FailedLoadCase{"not_an_image", "garbage.tga", "not an image"}),
                         testsupport::CaseName<FailedLoadCase>);

}  // namespace
