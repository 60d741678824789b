// Names each case of a parameterised table by its `name` field, so that a failure, in gtest's
// output and in ctest's list, says which case it was.
#pragma once

#include <gtest/gtest.h>  // TestParamInfo

#include <string>

namespace testsupport {

template <typename Case>
std::string CaseName(const ::testing::TestParamInfo<Case>& info) {
  return std::string(info.param.name);
}

}  // namespace testsupport
