// Drives the real Demo on a private X server: XTest input, XGetImage pixels, captured output.
// gtest first: Xlib defines None as a macro, which gtest uses as a name.
#include <gtest/gtest.h>

#include "DemoSession.h"

#include <X11/Xutil.h>
#include <X11/extensions/XTest.h>
#include <X11/extensions/Xdamage.h>
#include <X11/extensions/Xfixes.h>
#include <poll.h>      // waiting for the X connection
#include <signal.h>    // kill, SIGSTOP and SIGCONT
#include <sys/wait.h>  // waitpid
#include <unistd.h>    // fork, exec and pipes for the program's output

#include "WindowByTitle.h"

#include <stb/stb_image_write.h>  // PNG writer from Debian's libstb

#include <algorithm>
#include <cstdlib>
#include <fstream>
#include <iostream>
#include <random>
#include <sstream>
#include <stdexcept>
#include <thread>
#include <vector>

namespace fs = std::filesystem;

namespace e2e {

namespace {

constexpr const char* kTitle = "Veyrun Path Editor";

// A request about a window that has just gone (the program ended or crashed) must not abort
// the test process; the test sees the end through Running() instead.
int IgnoreXError(::Display*, XErrorEvent*) { return 0; }

void Sleep(int ms) { std::this_thread::sleep_for(std::chrono::milliseconds(ms)); }

fs::path MakeRoot() {
  std::random_device seed;
  std::mt19937_64 generator(seed());
  for (;;) {
    fs::path candidate = fs::temp_directory_path() / ("veyrun-e2e-" + std::to_string(generator()));
    if (fs::create_directory(candidate)) return candidate;
  }
}

// The command that starts Demo: VEYRUN_DEMO_WRAPPER's words, then the binary.
std::vector<std::string> DemoCommand() {
  std::vector<std::string> words;
  if (const char* wrapper = std::getenv("VEYRUN_DEMO_WRAPPER")) {
    std::istringstream in(wrapper);
    for (std::string word; in >> word;) words.push_back(word);
  }
  words.push_back(DemoBinary().string());
  return words;
}

// One line of /proc/<pid>/status such as "VmRSS:  1234 kB", in KiB.
long StatusKiB(pid_t pid, const std::string& field) {
  std::ifstream in("/proc/" + std::to_string(pid) + "/status");
  for (std::string line; std::getline(in, line);) {
    if (line.compare(0, field.size() + 1, field + ":") == 0)
      return std::atol(line.c_str() + field.size() + 1);
  }
  return 0;
}

}  // namespace

fs::path DemoBinary() { return DEMO_BINARY; }
fs::path RepositoryResources() { return REPOSITORY_RESOURCES; }

std::chrono::milliseconds Scaled(std::chrono::milliseconds limit) {
  static const double scale = [] {
    const char* text = std::getenv("VEYRUN_E2E_TIME_SCALE");
    const double value = text != nullptr ? std::atof(text) : 1.0;
    return value >= 1.0 ? value : 1.0;
  }();
  return std::chrono::milliseconds(static_cast<long long>(static_cast<double>(limit.count()) * scale));
}

DemoSession::DemoSession(const std::function<void(const fs::path&)>& prepare)
    : mServer(std::make_unique<XServer>()), mRoot(MakeRoot()), mWork(mRoot / "work") {
  fs::create_directories(mWork);
  fs::create_directory_symlink(RepositoryResources(), mRoot / "resources");
  if (prepare) prepare(mWork);

  std::vector<std::string> command = DemoCommand();
  mPid = fork();
  if (mPid == 0) {
    if (chdir(mWork.c_str()) != 0) _exit(126);
    std::FILE* out = std::freopen((mRoot / "stdout.txt").c_str(), "w", stdout);
    std::FILE* err = std::freopen((mRoot / "stderr.txt").c_str(), "w", stderr);
    if (out == nullptr || err == nullptr) _exit(126);
    setenv("DISPLAY", mServer->Display().c_str(), 1);
    std::vector<char*> argv;
    for (std::string& word : command) argv.push_back(word.data());
    argv.push_back(nullptr);
    execvp(argv[0], argv.data());
    _exit(127);
  }

  XSetErrorHandler(IgnoreXError);
  mX = XOpenDisplay(mServer->Display().c_str());
  if (mX == nullptr) throw std::runtime_error("cannot open " + mServer->Display());
  const bool found = WaitFor(
      [this] {
        mWindow = x11::FindWindowByTitle(mX, DefaultRootWindow(mX), kTitle);
        XWindowAttributes attributes;
        return mWindow != 0 && XGetWindowAttributes(mX, mWindow, &attributes) &&
               attributes.map_state == IsViewable;
      },
      Scaled(std::chrono::seconds(20)));
  if (!found)
    throw std::runtime_error("Demo's window did not appear; stderr: " + [this] {
      std::ifstream in(mRoot / "stderr.txt");
      std::stringstream s;
      s << in.rdbuf();
      return s.str();
    }());
  int damageError = 0;
  if (!XDamageQueryExtension(mX, &mDamageEventBase, &damageError)) throw std::runtime_error("no XDamage");
  mDamage = XDamageCreate(mX, mWindow, XDamageReportNonEmpty);
  Frames(10);
}

DemoSession::~DemoSession() {
  // The program is asked to quit as a user would, so that its shutdown and the leak check at
  // its exit run too; one that does not end in time is killed.
  const bool endedByItself = !Running();
  if (!endedByItself && mX != nullptr) {
    CloseWindow();
    WaitForExit(std::chrono::seconds(10));
  }
  const std::string report = SanitizerReport();
  if (!report.empty()) ADD_FAILURE() << "Demo's sanitizer report:\n" << report;
  if (::testing::Test::HasFailure()) {
    std::cerr << "Demo " << (endedByItself ? "had ended by itself" : "was running") << " (exit code "
              << (mExitCode ? std::to_string(*mExitCode) : std::string("none")) << "); its output:\n"
              << Output() << "\nits errors:\n"
              << Errors() << std::endl;
  }
  if (Running()) {
    kill(mPid, SIGKILL);
    waitpid(mPid, nullptr, 0);
  }
  if (mX != nullptr) XCloseDisplay(mX);
  std::error_code ignored;
  for (auto it = fs::recursive_directory_iterator(mRoot, ignored); it != fs::recursive_directory_iterator();
       it.increment(ignored)) {
    if (!it->is_symlink()) fs::permissions(it->path(), fs::perms::owner_all, fs::perm_options::add, ignored);
  }
  fs::remove_all(mRoot, ignored);
}

void DemoSession::MoveTo(int x, int y) {
  int rootX = 0, rootY = 0;
  ::Window child = 0;
  XTranslateCoordinates(mX, mWindow, DefaultRootWindow(mX), x, y, &rootX, &rootY, &child);
  XTestFakeMotionEvent(mX, DefaultScreen(mX), rootX, rootY, CurrentTime);
  XFlush(mX);
  Settle();
}

void DemoSession::Press(Button button) {
  XTestFakeButtonEvent(mX, static_cast<unsigned int>(button), True, CurrentTime);
  XFlush(mX);
  Settle();
}

void DemoSession::Release(Button button) {
  XTestFakeButtonEvent(mX, static_cast<unsigned int>(button), False, CurrentTime);
  XFlush(mX);
  Settle();
}

void DemoSession::Settle() {
  // The first frame counted may have begun before the input; three frames see it through the
  // program's frame and onto the screen.
  if (!mAtOnce) Frames(3);
}

bool DemoSession::Stop() {
  if (!Running()) return false;
  kill(mPid, SIGSTOP);
  int status = 0;
  if (waitpid(mPid, &status, WUNTRACED) != mPid) return false;
  if (WIFSTOPPED(status)) return true;
  mExitCode = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
  return false;
}

void DemoSession::Resume() { kill(mPid, SIGCONT); }

void DemoSession::AtOnce(const std::function<void()>& send, int frames) {
  const bool stopped = Stop();
  mAtOnce = true;
  send();
  mAtOnce = false;
  // Once the server has made the events, they wait in the program's connection; it reads them
  // all in one go when it goes on.
  XSync(mX, False);
  Sleep(20);
  if (stopped) Resume();
  if (frames > 0) Frames(frames);
}

bool DemoSession::InOneOfTheNextFrames(int count, const std::function<bool()>& seen) {
  XSync(mX, False);
  const auto end = std::chrono::steady_clock::now() + Scaled(std::chrono::seconds(10));
  for (int frame = 0; frame < count && std::chrono::steady_clock::now() < end && Running();) {
    if (!XPending(mX)) {
      pollfd connection{ConnectionNumber(mX), POLLIN, 0};
      poll(&connection, 1, 5);
      continue;
    }
    XEvent event;
    XNextEvent(mX, &event);
    if (event.type != mDamageEventBase + XDamageNotify) continue;
    // A frame has just been presented; the next one takes the program a while to draw.
    const bool stopped = Stop();
    XDamageSubtract(mX, mDamage, None, None);
    const bool holds = seen();
    if (stopped) Resume();
    if (holds) return true;
    ++frame;
  }
  return false;
}

void DemoSession::Resize(int width, int height) {
  XResizeWindow(mX, mWindow, static_cast<unsigned int>(width), static_cast<unsigned int>(height));
  XSync(mX, False);
  WaitFor([&] {
    XWindowAttributes attributes;
    return XGetWindowAttributes(mX, mWindow, &attributes) && attributes.width == width &&
           attributes.height == height;
  });
  Frames(5);
}

void DemoSession::Click(int x, int y, Button button) {
  MoveTo(x, y);
  Press(button);
  Release(button);
}

void DemoSession::Drag(int fromX, int fromY, int toX, int toY, Button button, int steps) {
  MoveTo(fromX, fromY);
  Press(button);
  for (int i = 1; i <= steps; ++i) {
    MoveTo(fromX + (toX - fromX) * i / steps, fromY + (toY - fromY) * i / steps);
  }
  Release(button);
}

void DemoSession::Key(const std::string& keysym, const std::string& modifiers) {
  const KeyCode code = XKeysymToKeycode(mX, XStringToKeysym(keysym.c_str()));
  // The modifiers, held in order and let go in reverse: "Control_L" or "Control_L+Shift_L".
  std::vector<KeyCode> held;
  for (std::size_t from = 0; from < modifiers.size();) {
    const std::size_t to = std::min(modifiers.find('+', from), modifiers.size());
    held.push_back(XKeysymToKeycode(mX, XStringToKeysym(modifiers.substr(from, to - from).c_str())));
    from = to + 1;
  }
  for (KeyCode modifier : held) XTestFakeKeyEvent(mX, modifier, True, CurrentTime);
  XTestFakeKeyEvent(mX, code, True, CurrentTime);
  XTestFakeKeyEvent(mX, code, False, CurrentTime);
  for (auto it = held.rbegin(); it != held.rend(); ++it) XTestFakeKeyEvent(mX, *it, False, CurrentTime);
  XFlush(mX);
  Settle();
}

void DemoSession::Hold(const std::string& keysym) {
  XTestFakeKeyEvent(mX, XKeysymToKeycode(mX, XStringToKeysym(keysym.c_str())), True, CurrentTime);
  XFlush(mX);
  Settle();
}

void DemoSession::LetGo(const std::string& keysym) {
  XTestFakeKeyEvent(mX, XKeysymToKeycode(mX, XStringToKeysym(keysym.c_str())), False, CurrentTime);
  XFlush(mX);
  Settle();
}

void DemoSession::Type(const std::string& text) {
  for (char c : text) {
    if (c == '\r') {
      Key("Return");
    } else if (c == '.') {
      Key("period");
    } else if (c == '-') {
      Key("minus");
    } else if (c == '_') {
      Key("underscore", "Shift_L");
    } else if (std::isupper(static_cast<unsigned char>(c))) {
      Key(std::string(1, c), "Shift_L");
    } else {
      Key(std::string(1, c));
    }
  }
}

void DemoSession::Frames(int count) {
  // Every buffer swap damages the window. Damage reported before this call may belong to a
  // frame drawn before the last input, so it is drained first and one more frame is awaited.
  XSync(mX, False);
  int seen = -1;
  const auto end = std::chrono::steady_clock::now() + Scaled(std::chrono::seconds(10));
  bool drained = false;
  while (seen < count && std::chrono::steady_clock::now() < end && Running()) {
    if (!XPending(mX)) {
      if (!drained) {
        drained = true;
        seen = 0;
      }
      Sleep(1);
      continue;
    }
    XEvent event;
    XNextEvent(mX, &event);
    if (event.type == mDamageEventBase + XDamageNotify) {
      XDamageSubtract(mX, mDamage, None, None);
      if (drained) ++seen;
    }
  }
}

Pixel DemoSession::PixelAt(int x, int y) {
  XSync(mX, False);
  XImage* image = XGetImage(mX, mWindow, x, y, 1, 1, AllPlanes, ZPixmap);
  if (image == nullptr) return Pixel{-1, -1, -1};
  const unsigned long value = XGetPixel(image, 0, 0);
  XDestroyImage(image);
  return Pixel{static_cast<int>((value >> 16) & 0xff), static_cast<int>((value >> 8) & 0xff),
               static_cast<int>(value & 0xff)};
}

bool DemoSession::WaitFor(const std::function<bool()>& condition, std::chrono::milliseconds limit) {
  const auto end = std::chrono::steady_clock::now() + Scaled(limit);
  do {
    if (condition()) return true;
    Sleep(20);
  } while (std::chrono::steady_clock::now() < end);
  return condition();
}

std::string DemoSession::Output() const {
  std::ifstream in(mRoot / "stdout.txt", std::ios::binary);
  std::stringstream text;
  text << in.rdbuf();
  return text.str();
}

std::string DemoSession::Errors() const {
  std::ifstream in(mRoot / "stderr.txt", std::ios::binary);
  std::stringstream text;
  text << in.rdbuf();
  return text.str();
}

bool DemoSession::WaitForOutput(const std::string& text, std::chrono::milliseconds limit) {
  return WaitFor([&] { return Output().find(text) != std::string::npos; }, limit);
}

bool DemoSession::CursorHidden() {
  XSync(mX, False);
  XFixesCursorImage* cursor = XFixesGetCursorImage(mX);
  if (cursor == nullptr) return false;
  bool hidden = true;
  for (unsigned long i = 0; i < static_cast<unsigned long>(cursor->width) * cursor->height; ++i) {
    if ((cursor->pixels[i] >> 24) != 0) hidden = false;  // any opaque pixel shows a pointer
  }
  XFree(cursor);
  return hidden;
}

void DemoSession::CloseWindow() {
  XEvent event{};
  event.xclient.type = ClientMessage;
  event.xclient.window = mWindow;
  event.xclient.message_type = XInternAtom(mX, "WM_PROTOCOLS", False);
  event.xclient.format = 32;
  event.xclient.data.l[0] = static_cast<long>(XInternAtom(mX, "WM_DELETE_WINDOW", False));
  event.xclient.data.l[1] = CurrentTime;
  XSendEvent(mX, mWindow, False, NoEventMask, &event);
  XFlush(mX);
}

bool DemoSession::Running() {
  if (mExitCode || mPid <= 0) return false;
  int status = 0;
  const pid_t done = waitpid(mPid, &status, WNOHANG);
  if (done == 0) return true;
  mExitCode = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
  return false;
}

std::optional<int> DemoSession::WaitForExit(std::chrono::milliseconds limit) {
  WaitFor([this] { return !Running(); }, limit);
  return mExitCode;
}

long DemoSession::ResidentKiB() const { return mExitCode ? 0 : StatusKiB(mPid, "VmRSS"); }
long DemoSession::PeakResidentKiB() const { return mExitCode ? 0 : StatusKiB(mPid, "VmHWM"); }

std::string DemoSession::SanitizerReport() const {
  const std::string errors = Errors();
  for (const char* marker : {"ERROR: AddressSanitizer", "ERROR: LeakSanitizer",
                             "runtime error:", "SUMMARY: UndefinedBehaviorSanitizer"}) {
    const std::size_t at = errors.find(marker);
    if (at == std::string::npos) continue;
    const std::size_t line = errors.rfind('\n', at);
    return errors.substr(line == std::string::npos ? 0 : line + 1);
  }
  return "";
}

bool DemoSession::SavePng(const fs::path& file) {
  XWindowAttributes attributes;
  XGetWindowAttributes(mX, mWindow, &attributes);
  XImage* image = XGetImage(mX, mWindow, 0, 0, static_cast<unsigned>(attributes.width),
                            static_cast<unsigned>(attributes.height), AllPlanes, ZPixmap);
  if (image == nullptr) return false;
  std::vector<unsigned char> rgb;
  rgb.reserve(static_cast<std::size_t>(attributes.width) * attributes.height * 3);
  for (int y = 0; y < attributes.height; ++y) {
    for (int x = 0; x < attributes.width; ++x) {
      const unsigned long value = XGetPixel(image, x, y);
      rgb.push_back(static_cast<unsigned char>((value >> 16) & 0xff));
      rgb.push_back(static_cast<unsigned char>((value >> 8) & 0xff));
      rgb.push_back(static_cast<unsigned char>(value & 0xff));
    }
  }
  XDestroyImage(image);
  return stbi_write_png(file.c_str(), attributes.width, attributes.height, 3, rgb.data(),
                        attributes.width * 3) != 0;
}

}  // namespace e2e
