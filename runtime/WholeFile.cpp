// The whole-file reader over POSIX descriptors; elsewhere over the standard library.
#include "WholeFile.h"

#include <cerrno>
#include <system_error>

#if defined(_WIN32)
#include <cstdio>
#include <filesystem>
#else
#include <fcntl.h>     // open and its flags
#include <sys/stat.h>  // fstat and the file type bits
#include <unistd.h>    // read, close
#endif

namespace wholefile {
namespace {

constexpr char kNotRegular[] = "not a regular file";

bool Fail(std::string* reason, int error) {
  if (reason != nullptr) *reason = error != 0 ? std::generic_category().message(error) : "read failed";
  return false;
}

bool Fail(std::string* reason, const char* text) {
  if (reason != nullptr) *reason = text;
  return false;
}

}  // namespace

#if defined(_WIN32)

// Without descriptors to examine, the type is checked before the file is opened.
bool Read(const std::string& path, std::string& out, std::string* reason) {
  out.clear();
  std::error_code code;
  const auto status = std::filesystem::status(path, code);
  if (code) return Fail(reason, code.value());
  if (!std::filesystem::is_regular_file(status)) return Fail(reason, kNotRegular);
  errno = 0;
  std::FILE* file = std::fopen(path.c_str(), "rb");
  if (file == nullptr) return Fail(reason, errno);
  char buffer[65536];
  std::size_t got = 0;
  while ((got = std::fread(buffer, 1, sizeof buffer, file)) > 0) out.append(buffer, got);
  const bool ok = std::ferror(file) == 0;
  const int error = errno;
  std::fclose(file);
  return ok || Fail(reason, error);
}

#else

// Closes the descriptor on every way out.
struct Descriptor {
  int fd;
  ~Descriptor() {
    if (fd >= 0) close(fd);
  }
};

bool Read(const std::string& path, std::string& out, std::string* reason) {
  out.clear();
  // O_NONBLOCK: opening a pipe with no writer would otherwise wait for one.
  const Descriptor file{open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK)};
  if (file.fd < 0) return Fail(reason, errno);
  struct stat info {};
  if (fstat(file.fd, &info) != 0) return Fail(reason, errno);
  if (!S_ISREG(info.st_mode)) return Fail(reason, kNotRegular);
  out.reserve(static_cast<std::size_t>(info.st_size));
  char buffer[65536];
  for (;;) {
    const ssize_t got = read(file.fd, buffer, sizeof buffer);
    if (got < 0 && errno == EINTR) continue;
    if (got < 0) return Fail(reason, errno);
    if (got == 0) return true;
    out.append(buffer, static_cast<std::size_t>(got));
  }
}

#endif

}  // namespace wholefile
