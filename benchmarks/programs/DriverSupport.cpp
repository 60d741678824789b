// Pieces of the whole-program driver: child processes, the shared frame counter, the X
// window of a measured program, medians.
#include "DriverSupport.h"
#include "WindowByTitle.h"

#include <X11/Xutil.h>
#include <X11/extensions/XTest.h>
#include <fcntl.h>     // open of the shared swap log
#include <signal.h>    // kill
#include <sys/mman.h>  // mmap of the swap log the counter writes
#include <sys/wait.h>  // waitpid
#include <time.h>      // clock_gettime
#include <unistd.h>    // fork, exec and pipes

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <stdexcept>
#include <thread>

namespace bench {

std::int64_t NowNs() {
  timespec now{};
  clock_gettime(CLOCK_MONOTONIC, &now);
  return static_cast<std::int64_t>(now.tv_sec) * 1000000000 + now.tv_nsec;
}

void SleepMs(int ms) { std::this_thread::sleep_for(std::chrono::milliseconds(ms)); }

double Median(std::vector<double> values) {
  if (values.empty()) return 0.0;
  std::sort(values.begin(), values.end());
  const std::size_t middle = values.size() / 2;
  return values.size() % 2 == 1 ? values[middle] : 0.5 * (values[middle - 1] + values[middle]);
}

Child::Child(const std::vector<std::string>& argv, const std::filesystem::path& folder,
             const std::vector<std::string>& environment, const std::filesystem::path& log) {
  std::vector<char*> args;
  for (const std::string& arg : argv) args.push_back(const_cast<char*>(arg.c_str()));
  args.push_back(nullptr);
  mPid = fork();
  if (mPid == 0) {
    const int out = open(log.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    if (out < 0 || chdir(folder.c_str()) != 0) _exit(126);
    dup2(out, 1);
    dup2(out, 2);
    for (const std::string& variable : environment) putenv(const_cast<char*>(variable.c_str()));
    execv(args[0], args.data());
    _exit(127);
  }
  if (mPid < 0) throw std::runtime_error("fork failed");
}

Child::~Child() {
  if (Running()) kill(mPid, SIGKILL);
  Wait();
}

bool Child::Running() {
  if (mDone) return false;
  int status = 0;
  if (waitpid(mPid, &status, WNOHANG) == 0) return true;
  mDone = true;
  return false;
}

double Child::ProcessorSeconds() const {
  std::ifstream in("/proc/" + std::to_string(mPid) + "/stat");
  std::string stat;
  std::getline(in, stat);
  if (stat.rfind(')') == std::string::npos) return NAN;
  // Fields after the command name in parentheses; utime and stime are the 14th and 15th.
  std::istringstream fields(stat.substr(stat.rfind(')') + 2));
  std::string field;
  double ticks = 0.0;
  for (int i = 3; i <= 15 && fields >> field; ++i)
    if (i >= 14) ticks += std::stod(field);
  return ticks / static_cast<double>(sysconf(_SC_CLK_TCK));
}

int Child::Wait() {
  if (mDone) return -1;
  int status = 0;
  const pid_t done = waitpid(mPid, &status, 0);
  mDone = true;
  return done == mPid ? status : -1;
}

SwapCounter::SwapCounter(const std::filesystem::path& file) : mFile(file) {
  const int fd = open(file.c_str(), O_RDWR | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
  if (fd < 0 || ftruncate(fd, sizeof(SwapLog)) != 0) throw std::runtime_error("no swap log");
  void* mapped = mmap(nullptr, sizeof(SwapLog), PROT_READ, MAP_SHARED, fd, 0);
  close(fd);
  if (mapped == MAP_FAILED) throw std::runtime_error("cannot map the swap log");
  mLog = static_cast<const volatile SwapLog*>(mapped);
}

SwapCounter::~SwapCounter() {
  munmap(const_cast<SwapLog*>(mLog), sizeof(SwapLog));
  std::error_code ignored;
  std::filesystem::remove(mFile, ignored);
}

std::string SwapCounter::Environment() const { return std::string(kSwapLogVariable) + "=" + mFile.string(); }

SwapLog SwapCounter::Read() const {
  // The count is written last by the program, so the times read after it belong to it.
  SwapLog log{};
  log.swaps = __atomic_load_n(const_cast<const std::uint64_t*>(&mLog->swaps), __ATOMIC_ACQUIRE);
  log.firstSwapNs = mLog->firstSwapNs;
  log.lastSwapNs = mLog->lastSwapNs;
  return log;
}

bool SwapCounter::WaitFor(std::uint64_t from, std::uint64_t count, int limitMs) const {
  const std::int64_t end = NowNs() + static_cast<std::int64_t>(limitMs) * 1000000;
  while (Read().swaps < from + count) {
    if (NowNs() > end) return false;
    SleepMs(1);
  }
  return true;
}

Screen::Screen() {
  mX = XOpenDisplay(nullptr);
  if (mX == nullptr) throw std::runtime_error("cannot open the X display");
}

Screen::~Screen() { XCloseDisplay(mX); }

::Window Screen::FindWindow(const std::string& title, int limitMs) {
  const std::int64_t end = NowNs() + static_cast<std::int64_t>(limitMs) * 1000000;
  do {
    const ::Window window = x11::FindWindowByTitle(mX, DefaultRootWindow(mX), title);
    XWindowAttributes attributes;
    if (window != 0 && XGetWindowAttributes(mX, window, &attributes) && attributes.map_state == IsViewable)
      return window;
    SleepMs(10);
  } while (NowNs() < end);
  return 0;
}

void Screen::MoveTo(::Window window, int x, int y) {
  int rootX = 0, rootY = 0;
  ::Window child = 0;
  XTranslateCoordinates(mX, window, DefaultRootWindow(mX), x, y, &rootX, &rootY, &child);
  XTestFakeMotionEvent(mX, DefaultScreen(mX), rootX, rootY, CurrentTime);
  XFlush(mX);
}

void Screen::Button(bool press) {
  XTestFakeButtonEvent(mX, 1, press ? True : False, CurrentTime);
  XFlush(mX);
}

bool Screen::GreenNear(::Window window, int x, int y) {
  XImage* image = XGetImage(mX, window, x - 2, y - 2, 5, 5, AllPlanes, ZPixmap);
  if (image == nullptr) return false;
  bool green = false;
  for (int dy = 0; dy < 5 && !green; ++dy) {
    for (int dx = 0; dx < 5 && !green; ++dx) {
      const unsigned long value = XGetPixel(image, dx, dy);
      const unsigned long r = (value >> 16) & 0xff, g = (value >> 8) & 0xff, b = value & 0xff;
      green = g > 180 && r < 90 && b < 90;
    }
  }
  XDestroyImage(image);
  return green;
}

}  // namespace bench
