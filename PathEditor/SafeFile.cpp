// POSIX side of the safe file writes: permission checks, temporary file, flushes and rename.
#include "SafeFile.h"

#include <fcntl.h>     // open and its flags
#include <sys/stat.h>  // stat, fchmod and the permission bits
#include <unistd.h>    // write, fsync, close, unlink, access and the ids of the user

#include <cerrno>
#include <cstdio>
#include <filesystem>
#include <system_error>
#include <vector>

namespace safefile {
namespace {

bool InGroup(gid_t group) {
  if (group == getegid()) return true;
  const int count = getgroups(0, nullptr);
  if (count <= 0) return false;
  std::vector<gid_t> groups(static_cast<std::size_t>(count));
  const int got = getgroups(count, groups.data());
  for (int i = 0; i < got; ++i)
    if (groups[static_cast<std::size_t>(i)] == group) return true;
  return false;
}

// Write permission as the permission bits give it. access(2) lets root write anything, so
// for root a file counts as writable only while some write bit is set.
bool BitsAllowWrite(const struct stat& info) {
  const uid_t user = geteuid();
  if (user == 0) return (info.st_mode & (S_IWUSR | S_IWGRP | S_IWOTH)) != 0;
  if (info.st_uid == user) return (info.st_mode & S_IWUSR) != 0;
  if (InGroup(info.st_gid)) return (info.st_mode & S_IWGRP) != 0;
  return (info.st_mode & S_IWOTH) != 0;
}

std::string FolderOf(const std::string& path) {
  const std::string folder = std::filesystem::path(path).parent_path().string();
  return folder.empty() ? std::string(".") : folder;
}

bool FolderAllowsCreate(const std::string& path) {
  const std::string folder = FolderOf(path);
  struct stat info {};
  if (stat(folder.c_str(), &info) != 0 || !S_ISDIR(info.st_mode)) return false;
  return BitsAllowWrite(info) && access(folder.c_str(), W_OK | X_OK) == 0;
}

// The bytes, then a flush of the file's data to the disk.
bool WriteAllAndFlush(int fd, std::string_view bytes) {
  const char* data = bytes.data();
  std::size_t left = bytes.size();
  while (left > 0) {
    const ssize_t written = write(fd, data, left);
    if (written < 0) {
      if (errno == EINTR) continue;
      return false;
    }
    data += written;
    left -= static_cast<std::size_t>(written);
  }
  return fsync(fd) == 0;
}

// Makes a rename or a new entry of the folder holding `path` durable.
bool FlushFolderOf(const std::string& path) {
  const int fd = open(FolderOf(path).c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (fd < 0) return false;
  const bool ok = fsync(fd) == 0;
  close(fd);
  return ok;
}

// The file a chain of symbolic links ends at, which may not exist yet (a write creates it, as
// opening the link for writing would). A path that is no link is its own target; a chain that
// loops or runs too long gives the path itself, which then fails as no regular file.
std::string ResolveLinks(const std::string& path) {
  namespace fs = std::filesystem;
  fs::path at(path);
  for (int hop = 0; hop < 40; ++hop) {
    std::error_code error;
    if (!fs::is_symlink(fs::symlink_status(at, error))) return at.string();
    const fs::path next = fs::read_symlink(at, error);
    if (error) return path;
    at = next.is_absolute() ? next : at.parent_path() / next;
  }
  return path;
}

mode_t NewFileMode() {
  const mode_t mask = umask(0);
  umask(mask);
  return static_cast<mode_t>(0666 & ~mask);
}

// The pattern of a temporary file for mkstemp beside `target`, so that a rename or a link to
// the target stays within one file system.
std::string TemporaryBeside(const std::string& target) {
  const std::string base = std::filesystem::path(target).filename().string();
  return base.size() <= 200 ? target + ".tmpXXXXXX" : FolderOf(target) + "/.tmpXXXXXX";
}

// Writes a new file in place, for a file system without hard links: a kill during the write
// can leave it partly written.
CreateResult CreateInPlace(const std::string& path, std::string_view bytes) {
  const int fd = open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
  if (fd < 0) return errno == EEXIST ? CreateResult::Exists : CreateResult::Failed;
  bool ok = WriteAllAndFlush(fd, bytes);
  ok = (close(fd) == 0) && ok;
  if (!ok) {
    unlink(path.c_str());
    return CreateResult::Failed;
  }
  return CreateResult::Created;
}

}  // namespace

bool IsRegularFile(const std::string& path) {
  struct stat info {};
  return stat(path.c_str(), &info) == 0 && S_ISREG(info.st_mode);
}

bool CanReplace(const std::string& path) {
  const std::string target = ResolveLinks(path);
  struct stat info {};
  if (stat(target.c_str(), &info) == 0) {
    if (!S_ISREG(info.st_mode) || !BitsAllowWrite(info) || access(target.c_str(), W_OK) != 0) return false;
  } else if (errno != ENOENT) {
    return false;
  }
  return FolderAllowsCreate(target);
}

bool ReplaceFile(const std::string& path, std::string_view bytes) {
  if (!CanReplace(path)) return false;
  const std::string target = ResolveLinks(path);
  struct stat info {};
  const bool exists = stat(target.c_str(), &info) == 0;

  std::string temp = TemporaryBeside(target);
  const int fd = mkstemp(temp.data());
  if (fd < 0) return false;
  bool ok = fchmod(fd, exists ? (info.st_mode & 07777) : NewFileMode()) == 0;
  if (ok && exists && (fchown(fd, info.st_uid, info.st_gid) != 0)) {
    // Keeping the owner is best effort; only root may give a file away.
  }
  ok = ok && WriteAllAndFlush(fd, bytes);
  ok = (close(fd) == 0) && ok;
  ok = ok && std::rename(temp.c_str(), target.c_str()) == 0;
  if (!ok) {
    unlink(temp.c_str());
    return false;
  }
  // The new file is in place; a folder that cannot be flushed is no reason to report a failure.
  FlushFolderOf(target);
  return true;
}

CreateResult CreateNewFile(const std::string& path, std::string_view bytes) {
  struct stat info {};
  if (lstat(path.c_str(), &info) == 0) return CreateResult::Exists;
  if (!FolderAllowsCreate(path)) return CreateResult::Failed;
  // The whole file is written and flushed under a temporary name, then linked in under its own
  // name, which fails when another has taken it meanwhile: a kill or a power cut at any moment
  // leaves no file of that name or the whole file, never a part of it.
  std::string temp = TemporaryBeside(path);
  const int fd = mkstemp(temp.data());
  if (fd < 0) return CreateResult::Failed;
  bool ok = fchmod(fd, NewFileMode()) == 0 && WriteAllAndFlush(fd, bytes);
  ok = (close(fd) == 0) && ok;
  CreateResult result = CreateResult::Failed;
  bool noLinks = false;
  if (ok) {
    if (link(temp.c_str(), path.c_str()) == 0) {
      result = CreateResult::Created;
    } else if (errno == EEXIST) {
      result = CreateResult::Exists;
    } else {
      noLinks = errno == EPERM || errno == EOPNOTSUPP || errno == ENOSYS;
    }
  }
  unlink(temp.c_str());
  if (noLinks) result = CreateInPlace(path, bytes);
  if (result == CreateResult::Created) FlushFolderOf(path);
  return result;
}

}  // namespace safefile
