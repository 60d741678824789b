// Brings the tweak-bar layer up once for the whole test program; any bar error fails the test.
#include <gtest/gtest.h>

#include "TweakBar.h"

namespace {

void FailOnBarError(const char* message) { ADD_FAILURE() << "tweak-bar error: " << message; }

class TweakBarEnvironment : public ::testing::Environment {
public:
  void SetUp() override {
    TwHandleErrors(FailOnBarError);
    ASSERT_NE(TwInit(TW_OPENGL, nullptr), 0);
  }
  void TearDown() override { TwTerminate(); }
};

const ::testing::Environment* const gEnvironment =
    ::testing::AddGlobalTestEnvironment(new TweakBarEnvironment);

}  // namespace
