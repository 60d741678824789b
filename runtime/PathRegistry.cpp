// The game's registry of loaded paths, filled by the init function that resindex writes.
#include <iostream>
#include <map>

#include "PathResource.h"

namespace {

std::map<std::string, PathResource>& Registry() {
  static std::map<std::string, PathResource> registry;
  return registry;
}

// The name as one line of text: control characters (a name may hold a line feed) shown as '?'.
std::string Printable(const std::string& name) {
  std::string shown = name;
  for (char& c : shown)
    if (static_cast<unsigned char>(c) < 0x20 || c == 0x7f) c = '?';
  return shown;
}

}  // namespace

bool GetResource(const char* fileName) {
  const std::string name = fileName != nullptr ? fileName : "";
  std::string error;
  std::optional<PathResource> resource = PathResource::FromFile(name, &error);
  if (!resource) {
    std::cout << "Failed to load file: " << Printable(name) << " (" << error << ")" << std::endl;
    return false;
  }
  // Assigned in place, so that pointers FindPath gave out see the new path.
  auto& registry = Registry();
  const auto found = registry.find(name);
  if (found == registry.end()) {
    registry.emplace(name, std::move(*resource));
  } else {
    found->second = std::move(*resource);
  }
  return true;
}

const PathResource* FindPath(const std::string& fileName) {
  const auto& registry = Registry();
  const auto found = registry.find(fileName);
  return found == registry.end() ? nullptr : &found->second;
}
