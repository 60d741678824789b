// A private Xvfb server for one end-to-end test, so tests never share a pointer or a screen.
#pragma once

#include <string>
#include <sys/types.h>  // pid_t

namespace e2e {

class XServer {
public:
  XServer();   // starts Xvfb on a free display and waits until it answers
  ~XServer();  // stops it
  XServer(const XServer&) = delete;
  XServer& operator=(const XServer&) = delete;

  const std::string& Display() const { return mDisplay; }  // ":N"

private:
  pid_t mPid = -1;
  std::string mDisplay;
};

}  // namespace e2e
