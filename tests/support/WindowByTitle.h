// Finds a top-level or nested X window by its title; shared by the test harness and the
// benchmark driver, which both look for Demo's window on their own X server.
#pragma once

#include <X11/Xlib.h>

#include <string>

namespace x11 {

// The first window below `root`, depth first, whose name is `title`; 0 when there is none.
inline ::Window FindWindowByTitle(::Display* display, ::Window root, const std::string& title) {
  ::Window rootReturn = 0, parent = 0;
  ::Window* children = nullptr;
  unsigned int count = 0;
  if (!XQueryTree(display, root, &rootReturn, &parent, &children, &count)) return 0;
  ::Window found = 0;
  for (unsigned int i = 0; i < count && found == 0; ++i) {
    char* name = nullptr;
    if (XFetchName(display, children[i], &name) && name != nullptr) {
      if (title == name) found = children[i];
      XFree(name);
    }
    if (found == 0) found = FindWindowByTitle(display, children[i], title);
  }
  if (children != nullptr) XFree(children);
  return found;
}

}  // namespace x11
