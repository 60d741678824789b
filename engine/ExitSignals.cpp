// The exit signals' handler, which only sets a flag.
#include "ExitSignals.h"

#include <signal.h>  // sigaction and its flags

#include <atomic>
#include <initializer_list>

namespace {

// Lock-free, so setting it from the handler is safe, whichever thread the signal lands on.
std::atomic<bool> gExitSignalled{false};
static_assert(std::atomic<bool>::is_always_lock_free);

extern "C" void NoteExitSignal(int /*signal*/) { gExitSignalled.store(true); }

}  // namespace

void InstallExitSignals() {
  for (const int signal : {SIGTERM, SIGHUP, SIGINT}) {
    struct sigaction previous {};
    if (sigaction(signal, nullptr, &previous) != 0 || previous.sa_handler == SIG_IGN) continue;
    struct sigaction action {};
    action.sa_handler = NoteExitSignal;
    sigemptyset(&action.sa_mask);
    // Calls the signal breaks into go on; the handler stands for one signal, and the same
    // signal again (a user who insists) ends the program as it would have without it.
    action.sa_flags = SA_RESTART | SA_RESETHAND;
    sigaction(signal, &action, nullptr);
  }
}

bool ExitSignalled() { return gExitSignalled.load(); }
