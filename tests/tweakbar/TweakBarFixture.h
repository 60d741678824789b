// A fresh tweak-bar layer per test, with every reported error collected.
#pragma once

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "TweakBar.h"
#include "TweakBarInspect.h"
#include "WindowView.h"

namespace {

std::vector<std::string> gErrors;
int gModifiers = 0;

class TweakBarTest : public ::testing::Test {
protected:
  void SetUp() override {
    TwTerminate();
    gErrors.clear();
    gModifiers = 0;
    TwHandleErrors([](const char* message) { gErrors.emplace_back(message); });
    ASSERT_EQ(TwInit(TW_OPENGL, nullptr), 1);
    TwWindowSize(gWindowWidth, gWindowHeight);
    TwGLUTModifiersFunc([] { return gModifiers; });
    TwCopyStdStringToClientFunc([](std::string& to, const std::string& from) { to = from; });
  }
  void TearDown() override { TwTerminate(); }

  // Runs ImGui frames, one input transition each, as the render loop would.
  static void Frames(int count) {
    for (int i = 0; i < count; ++i) tweakbar::RunFrame();
  }
};

}  // namespace
