// The start of the hostile-input cases: a running editor with two points, the Load of the
// folder's first entry, and the check that the editor is still usable afterwards.
#pragma once

#include <chrono>
#include <filesystem>
#include <fstream>
#include <functional>
#include <string>

#include "EditorFixture.h"

namespace editor {

inline void Write(const std::filesystem::path& file, const std::string& text) {
  std::ofstream(file, std::ios::binary) << text;
}

inline std::string Document(const std::string& children) {
  return "<resource>\n" + children + "</resource>\n";
}

class HostileInput : public EditorTest {
protected:
  void SetUp() override {}

  // The path every case starts from: two points, the second one selected.
  void StartWithTwoPoints(const std::function<void(const std::filesystem::path&)>& prepare) {
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

}  // namespace editor
