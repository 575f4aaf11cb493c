#include "platform/ui/interrupt.hpp"

#include <signal.h>

#include <atomic>

namespace vantorel::ui {

namespace {

std::atomic<bool> gInterrupted{false};
static_assert(std::atomic<bool>::is_always_lock_free, "the flag is set from a signal handler");

void onInterrupt(int) {
  if (gInterrupted.exchange(true)) {
    // The user insists: let this Ctrl-C end the program, once the handler returns.
    struct sigaction dfl {};
    dfl.sa_handler = SIG_DFL;
    sigemptyset(&dfl.sa_mask);
    sigaction(SIGINT, &dfl, nullptr);
    raise(SIGINT);
  }
}

}  // namespace

void installInterruptHandler() {
  struct sigaction sa {};
  sa.sa_handler = &onInterrupt;
  sigemptyset(&sa.sa_mask);
  // No SA_RESTART: a prompt waiting on the terminal sees the interruption and can cancel.
  sa.sa_flags = 0;
  sigaction(SIGINT, &sa, nullptr);
}

bool interruptRequested() noexcept {
  return gInterrupted.load();
}
void requestInterrupt() noexcept {
  gInterrupted.store(true);
}
void clearInterrupt() noexcept {
  gInterrupted.store(false);
}

}  // namespace vantorel::ui
