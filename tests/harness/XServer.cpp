// Starts and stops a private Xvfb for an end-to-end test.
#include "XServer.h"

#include <X11/Xlib.h>
#include <fcntl.h>     // open of /dev/null
#include <signal.h>    // kill
#include <sys/wait.h>  // waitpid
#include <unistd.h>    // fork, exec and the display pipe

#include <chrono>
#include <stdexcept>
#include <thread>

namespace e2e {

XServer::XServer() {
  int fds[2];
  if (pipe(fds) != 0) throw std::runtime_error("pipe failed");
  mPid = fork();
  if (mPid == 0) {
    close(fds[0]);
    const int devnull = open("/dev/null", O_WRONLY);
    dup2(devnull, STDOUT_FILENO);
    dup2(devnull, STDERR_FILENO);
    const std::string fd = std::to_string(fds[1]);
    // -noreset: without it the server resets when its last client leaves, and a connection
    // made during the reset fails.
    execlp("Xvfb", "Xvfb", "-displayfd", fd.c_str(), "-screen", "0", "1280x1024x24", "-nolisten", "tcp",
           "-noreset", static_cast<char*>(nullptr));
    _exit(127);
  }
  close(fds[1]);
  // Xvfb writes the display number it chose once it accepts connections.
  std::string number;
  char c = 0;
  while (read(fds[0], &c, 1) == 1 && c != '\n') number += c;
  close(fds[0]);
  if (number.empty()) throw std::runtime_error("Xvfb did not start");
  mDisplay = ":" + number;
  for (int attempt = 0; attempt < 100; ++attempt) {
    if (::Display* probe = XOpenDisplay(mDisplay.c_str())) {
      XCloseDisplay(probe);
      return;
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
  }
  throw std::runtime_error("Xvfb does not answer on " + mDisplay);
}

XServer::~XServer() {
  if (mPid > 0) {
    kill(mPid, SIGTERM);
    waitpid(mPid, nullptr, 0);
  }
}

}  // namespace e2e
