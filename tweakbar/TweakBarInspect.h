// Read-only views of the tweak-bar layer for tests: bars by name, entries, enumerations.
#pragma once

#include <string>
#include <vector>

#include "TweakBarState.h"

namespace tweakbar {

inline const TwBar* InspectBar(const std::string& name) { return FindBar(name); }

inline std::vector<std::string> EnumLabels(TwType type) {
  std::vector<std::string> labels;
  if (const EnumType* found = FindEnum(type)) {
    for (const auto& value : found->values) labels.push_back(value.second);
  }
  return labels;
}

inline TwType EnumTypeNamed(const std::string& name) {
  const auto& enums = State().enums;
  for (std::size_t i = 0; i < enums.size(); ++i) {
    if (enums[i].name == name) return static_cast<TwType>(TW_TYPE_ENUM_BASE + i);
  }
  return TW_TYPE_UNDEF;
}

}  // namespace tweakbar
