// A tiny file system for tests of a full disk: a tmpfs of a few kilobytes mounted on a folder
// in a mount namespace of the calling process alone, so the rest of the machine never sees it.
// It needs the right to mount, which a user without root, and root in many containers and
// chroots, does not have; tests that need it skip with the reason these functions give.
#pragma once

#include <filesystem>
#include <string>

namespace testsupport {

// Mounts the tmpfs on folder for this process and its children; "" when done, else why not.
std::string MountTinyDisk(const std::filesystem::path& folder, int kilobytes);

// Tries the same in a child process, which leaves nothing mounted; "" when this machine allows
// it, else why not.
std::string TinyDiskRefusal(const std::filesystem::path& folder);

}  // namespace testsupport
