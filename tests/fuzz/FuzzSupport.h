// Shared pieces of the fuzz targets: a private working folder, silenced console, a hard stop.
#pragma once

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <iostream>
#include <streambuf>
#include <string>

#include <unistd.h>  // chdir into the private folder

namespace fuzzsupport {

// A finding the sanitizers cannot see (a wrong result): report it and abort, which the
// fuzzer and the replay both count as a crash with the input saved.
[[noreturn]] inline void Fail(const char* what) {
  std::fprintf(stderr, "fuzz check failed: %s\n", what);
  std::fflush(stderr);
  std::abort();
}

// Swallows everything; the targets print messages for every malformed input.
class NullBuffer : public std::streambuf {
protected:
  int overflow(int c) override { return traits_type::not_eof(c); }
  std::streamsize xsputn(const char*, std::streamsize n) override { return n; }
};

inline void SilenceStdout() {
  static NullBuffer null;
  std::cout.rdbuf(&null);
}

// A fresh folder <temp>/veyrun-fuzz-XXXXXX/work that is the working directory for the whole
// run, with nothing beside it (so "../resources" is absent); removed when the run ends.
inline void EnterPrivateFolder() {
  static std::string root = "/tmp/veyrun-fuzz-XXXXXX";
  if (mkdtemp(root.data()) == nullptr) Fail("no work folder");
  const std::filesystem::path work = std::filesystem::path(root) / "work";
  std::error_code error;
  std::filesystem::create_directory(work, error);
  if (error || chdir(work.c_str()) != 0) Fail("no work folder");
  std::atexit([] {
    std::error_code ignored;
    std::filesystem::remove_all(root, ignored);
  });
}

}  // namespace fuzzsupport
