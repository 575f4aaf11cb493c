#include "platform/sys/clock.hpp"

#include <time.h>

#include <atomic>
#include <mutex>

namespace vantorel::sys {

namespace {

std::mutex clockMutex;
std::function<TimePoint()> testClock;
// Read without the mutex on every call, so the real clock costs no lock.
std::atomic<bool> hasTestClock{false};

}  // namespace

TimePoint now() {
  if (hasTestClock.load(std::memory_order_acquire)) {
    std::function<TimePoint()> clock;
    {
      std::lock_guard lock(clockMutex);
      clock = testClock;
    }
    if (clock) return clock();
  }
  return std::chrono::system_clock::now();
}

double nowAsOleDate() {
  // Now() has whole seconds.
  return toOleDate(std::chrono::floor<std::chrono::seconds>(now()));
}

double toOleDate(TimePoint t) {
  using namespace std::chrono;
  const auto wholeSeconds = floor<seconds>(t);
  const time_t seconds = system_clock::to_time_t(system_clock::time_point(wholeSeconds));
  struct tm local {};
  if (!localtime_r(&seconds, &local)) return 0.0;
  const year_month_day date{year{local.tm_year + 1900}, month{unsigned(local.tm_mon + 1)},
                            day{unsigned(local.tm_mday)}};
  constexpr year_month_day kOleEpoch{year{1899}, December, day{30}};
  const double days = static_cast<double>((sys_days{date} - sys_days{kOleEpoch}).count());
  const double secondOfDay = local.tm_hour * 3600.0 + local.tm_min * 60.0 + local.tm_sec +
                             duration<double>(t - wholeSeconds).count();
  const double fraction = secondOfDay / 86400.0;
  // Before the epoch the day counts down but the time of day still counts up: -1.25 is
  // 29 December 1899, 06:00.
  return days >= 0 ? days + fraction : days - fraction;
}

void setClockForTesting(std::function<TimePoint()> clock) {
  std::lock_guard lock(clockMutex);
  testClock = std::move(clock);
  hasTestClock.store(static_cast<bool>(testClock), std::memory_order_release);
}

}  // namespace vantorel::sys
