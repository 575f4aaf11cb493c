#include "platform/ui/interrupt.hpp"

#include <signal.h>

#include <atomic>

namespace vantorel::ui {

namespace {

std::atomic<bool> gInterrupted{false};
std::atomic<int> gSignal{0};
static_assert(std::atomic<bool>::is_always_lock_free, "the flag is set from a signal handler");
static_assert(std::atomic<int>::is_always_lock_free, "the signal is set from a signal handler");

// SIGTERM (a service manager, kill) ends a run as cleanly as Ctrl-C does.
constexpr int kHandled[] = {SIGINT, SIGTERM};

void onInterrupt(int signal) {
  int none = 0;
  gSignal.compare_exchange_strong(none, signal);
  if (gInterrupted.exchange(true)) {
    // The user insists: let this signal end the program, once the handler returns.
    struct sigaction dfl {};
    dfl.sa_handler = SIG_DFL;
    sigemptyset(&dfl.sa_mask);
    sigaction(signal, &dfl, nullptr);
    raise(signal);
  }
}

}  // namespace

void installInterruptHandler() {
  struct sigaction sa {};
  sa.sa_handler = &onInterrupt;
  sigemptyset(&sa.sa_mask);
  // No SA_RESTART: a prompt waiting on the terminal sees the interruption and can cancel.
  sa.sa_flags = 0;
  for (const int signal : kHandled) sigaction(signal, &sa, nullptr);
}

bool interruptRequested() noexcept {
  return gInterrupted.load();
}
int interruptSignal() noexcept {
  const int signal = gSignal.load();
  return signal != 0 ? signal : SIGINT;
}
void clearInterrupt() noexcept {
  gInterrupted.store(false);
  gSignal.store(0);
}

}  // namespace vantorel::ui
