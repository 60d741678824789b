// Runs the real Demo in a fresh working folder on a private X server, and drives it like a
// person: pointer motion, buttons and keys through XTest, pixels read back from the window,
// standard output captured.
//
// Two environment variables serve the checking runs (scripts/run-memcheck.sh):
// VEYRUN_DEMO_WRAPPER, a command put before Demo (words split at spaces, e.g. a valgrind
// command line), and VEYRUN_E2E_TIME_SCALE, a factor for every time limit of the harness.
#pragma once

#include <X11/Xlib.h>
#include <sys/types.h>  // pid_t

#include <chrono>
#include <filesystem>
#include <functional>
#include <memory>
#include <optional>
#include <string>

#include "XServer.h"

namespace e2e {

struct Pixel {
  int r = 0, g = 0, b = 0;
  bool operator==(const Pixel& other) const { return r == other.r && g == other.g && b == other.b; }
};

enum class Button { Left = 1, Middle = 2, Right = 3 };

class DemoSession {
public:
  // Starts Demo with its working folder at <temp>/work and <temp>/resources beside it.
  // `prepare` may write files into the working folder before the program starts.
  explicit DemoSession(const std::function<void(const std::filesystem::path&)>& prepare = {});
  ~DemoSession();
  DemoSession(const DemoSession&) = delete;
  DemoSession& operator=(const DemoSession&) = delete;

  const std::filesystem::path& WorkDir() const { return mWork; }
  ::Window WindowId() const { return mWindow; }
  ::Display* XDisplay() const { return mX; }

  // Input, in window coordinates with the origin at the top left (as X and GLUT give them).
  void MoveTo(int x, int y);
  void Press(Button button);
  void Release(Button button);
  void Click(int x, int y, Button button = Button::Left);  // press and release, frames apart
  void Drag(int fromX, int fromY, int toX, int toY, Button button, int steps = 8);
  // A key with modifiers held: Key("s", "Control_L"), Key("z", "Control_L+Shift_L").
  void Key(const std::string& keysym, const std::string& modifiers = "");
  void Type(const std::string& text);
  // A key held down across other input (Ctrl through a drag), and let go again.
  void Hold(const std::string& keysym);
  void LetGo(const std::string& keysym);  // printable characters and \r for Return

  // Waits until the program has presented `count` more frames (counted through XDamage, so a
  // busy machine slows the test down instead of making it lose events).
  void Frames(int count = 3);

  // Input faster than the program's frames: the input that `send` makes with the helpers above
  // (which then wait for no frame) is sent while the program is stopped, so that all of it
  // reaches the program between two of its frames; then `frames` frames are awaited.
  void AtOnce(const std::function<void()>& send, int frames = 3);
  // Looks at each of the next `count` frames the program presents, keeping the program stopped
  // while `seen` looks at it; true as soon as `seen` holds for one of them. For what shows for
  // one frame only.
  bool InOneOfTheNextFrames(int count, const std::function<bool()>& seen);
  // Resizes the window, as a window manager would, and waits for frames at the new size.
  void Resize(int width, int height);

  // A window pixel; y counts down from the top like the input coordinates.
  Pixel PixelAt(int x, int y);
  // The same with the editor's axes: y counts up from the bottom edge.
  Pixel PixelUp(int x, int yUp) { return PixelAt(x, 767 - yUp); }
  // Waits until the condition holds or the time is up; true when it held.
  bool WaitFor(const std::function<bool()>& condition,
               std::chrono::milliseconds limit = std::chrono::seconds(5));

  // Everything the program wrote to standard output so far.
  std::string Output() const;
  bool WaitForOutput(const std::string& text, std::chrono::milliseconds limit = std::chrono::seconds(5));

  // Whether the pointer is hidden (the program set an empty cursor).
  bool CursorHidden();

  // Ends the program by closing its window as a window manager would.
  void CloseWindow();
  // Waits for the program to end; its exit code, or nothing when it did not end in time.
  std::optional<int> WaitForExit(std::chrono::milliseconds limit = std::chrono::seconds(10));
  bool Running();
  // What the program wrote to standard error (a crash report, for a failing test's message).
  std::string Errors() const;

  // Memory of the running program from /proc: resident now and the peak so far, in KiB; 0 when
  // it has ended.
  long ResidentKiB() const;
  long PeakResidentKiB() const;
  pid_t Pid() const { return mPid; }

  // A sanitizer's report in the program's standard error, or an empty string. The session's
  // end fails the current test when there is one.
  std::string SanitizerReport() const;

  // Saves the window's pixels as a PNG image.
  bool SavePng(const std::filesystem::path& file);

private:
  // The frames an input helper waits for after its input: three, or none inside AtOnce.
  void Settle();
  // Stops the program (SIGSTOP) and lets it go on again; false when it is no longer running.
  bool Stop();
  void Resume();

  std::unique_ptr<XServer> mServer;
  std::filesystem::path mRoot;
  std::filesystem::path mWork;
  pid_t mPid = -1;
  std::optional<int> mExitCode;
  ::Display* mX = nullptr;
  ::Window mWindow = 0;
  unsigned long mDamage = 0;
  int mDamageEventBase = 0;
  bool mAtOnce = false;
};

// Where the build put Demo and where the repository keeps its resources.
std::filesystem::path DemoBinary();
std::filesystem::path RepositoryResources();

// Whether this build (and so Demo) runs under AddressSanitizer, whose shadow memory, red zones
// and quarantine of freed blocks make resident-memory figures meaningless.
#if defined(__SANITIZE_ADDRESS__)
constexpr bool kSanitizedBuild = true;
#else
constexpr bool kSanitizedBuild = false;
#endif

// A time limit stretched by VEYRUN_E2E_TIME_SCALE (1 when unset).
std::chrono::milliseconds Scaled(std::chrono::milliseconds limit);

}  // namespace e2e
