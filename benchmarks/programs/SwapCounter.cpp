// SwapCounter.so: preloaded into Demo or a peer program, it counts the program's buffer swaps
// (glutSwapBuffers) into the file named by VEYRUN_SWAP_LOG, without changing what it draws.
#include <dlfcn.h>
#include <fcntl.h>
#include <sys/mman.h>
#include <time.h>
#include <unistd.h>

#include <cstdlib>

#include "SwapLog.h"

namespace {

bench::SwapLog* Log() {
  static bench::SwapLog* log = []() -> bench::SwapLog* {
    const char* path = std::getenv(bench::kSwapLogVariable);
    if (path == nullptr) return nullptr;
    const int fd = open(path, O_RDWR | O_CLOEXEC);
    if (fd < 0) return nullptr;
    void* mapped = mmap(nullptr, sizeof(bench::SwapLog), PROT_READ | PROT_WRITE, MAP_SHARED, fd, 0);
    close(fd);
    return mapped == MAP_FAILED ? nullptr : static_cast<bench::SwapLog*>(mapped);
  }();
  return log;
}

std::int64_t NowNs() {
  timespec now{};
  clock_gettime(CLOCK_MONOTONIC, &now);
  return static_cast<std::int64_t>(now.tv_sec) * 1000000000 + now.tv_nsec;
}

}  // namespace

extern "C" void glutSwapBuffers() {
  using Swap = void (*)();
  static const auto real = reinterpret_cast<Swap>(dlsym(RTLD_NEXT, "glutSwapBuffers"));
  real();
  if (bench::SwapLog* log = Log()) {
    const std::int64_t now = NowNs();
    if (log->firstSwapNs == 0) log->firstSwapNs = now;
    log->lastSwapNs = now;
    __atomic_store_n(&log->swaps, log->swaps + 1, __ATOMIC_RELEASE);  // read last by the driver
  }
}
