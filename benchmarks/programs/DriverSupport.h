// Pieces of the whole-program driver: child processes, the shared frame counter, the X
// window of a measured program, medians.
#pragma once

#include <X11/Xlib.h>
#include <sys/types.h>

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

#include "SwapLog.h"

namespace bench {

std::int64_t NowNs();
void SleepMs(int ms);
double Median(std::vector<double> values);

// A program started in `folder` with extra environment variables ("NAME=value"); its output
// goes to `log`. Ended with SIGKILL when the object goes.
class Child {
public:
  Child(const std::vector<std::string>& argv, const std::filesystem::path& folder,
        const std::vector<std::string>& environment, const std::filesystem::path& log);
  ~Child();
  Child(const Child&) = delete;
  Child& operator=(const Child&) = delete;
  bool Running();
  // Waits for the end; the exit status as waitpid gives it, or -1.
  int Wait();
  // Processor time the program used so far, all its threads, user and system (seconds).
  double ProcessorSeconds() const;

private:
  pid_t mPid = -1;
  bool mDone = false;
};

// The frame counter file of one run, mapped for reading.
class SwapCounter {
public:
  explicit SwapCounter(const std::filesystem::path& file);
  ~SwapCounter();
  SwapCounter(const SwapCounter&) = delete;
  SwapCounter& operator=(const SwapCounter&) = delete;
  std::string Environment() const;  // the variable to hand to the program
  SwapLog Read() const;
  // Waits until `count` more swaps happened than `from`; false after `limitMs`.
  bool WaitFor(std::uint64_t from, std::uint64_t count, int limitMs) const;

private:
  std::filesystem::path mFile;
  const volatile SwapLog* mLog = nullptr;
};

// The X display of the driver ($DISPLAY) and the measured program's window.
class Screen {
public:
  Screen();
  ~Screen();
  Screen(const Screen&) = delete;
  Screen& operator=(const Screen&) = delete;
  // The top-level window with this title, waiting up to limitMs; 0 when none appeared.
  ::Window FindWindow(const std::string& title, int limitMs);
  // Pointer motion and button events through XTest, at window coordinates (y down).
  void MoveTo(::Window window, int x, int y);
  void Button(bool press);
  // Whether the window pixel near (x, y) (y down) looks green, as a control point is drawn.
  bool GreenNear(::Window window, int x, int y);

private:
  ::Display* mX = nullptr;
};

}  // namespace bench
