#include "platform/sys/clock.hpp"

#include <gtest/gtest.h>
#include <time.h>

#include "support/scoped_env.hpp"

namespace vantorel::sys {
namespace {

// TZ for a scope; localtime_r only rereads it after tzset.
class ScopedTimeZone {
 public:
  explicit ScopedTimeZone(const char* zone) : env_("TZ", zone) { tzset(); }
  ~ScopedTimeZone() { tzset(); }

 private:
  test::ScopedEnv env_;
};

TimePoint utc(int y, unsigned m, unsigned d, int hour, int minute, int second) {
  using namespace std::chrono;
  return sys_days{year{y} / month{m} / day{d}} + hours{hour} + minutes{minute} + seconds{second};
}

TEST(Clock, OleDatesFollowTheLocalCalendar) {
  const struct {
    const char* zone;
    TimePoint t;
    double ole;
  } cases[] = {
      {"UTC0", utc(1899, 12, 30, 0, 0, 0), 0.0},    {"UTC0", utc(1900, 1, 1, 0, 0, 0), 2.0},
      {"UTC0", utc(2000, 1, 1, 12, 0, 0), 36526.5}, {"UTC0", utc(2024, 2, 29, 18, 0, 0), 45351.75},
      {"UTC0", utc(1899, 12, 29, 6, 0, 0), -1.25},  // the time of day counts up before the epoch
      {"EST5", utc(2000, 1, 1, 17, 0, 0), 36526.5}, {"JST-9", utc(1999, 12, 31, 15, 0, 0), 36526.0},
  };
  for (const auto& c : cases) {
    ScopedTimeZone zone(c.zone);
    EXPECT_DOUBLE_EQ(toOleDate(c.t), c.ole) << c.zone << " " << c.ole;
  }
}

TEST(Clock, TestClockReplacesAndRestores) {
  ScopedTimeZone zone("UTC0");
  const TimePoint fixed = utc(2010, 6, 15, 8, 30, 0) + std::chrono::milliseconds(700);
  setClockForTesting([fixed] { return fixed; });
  EXPECT_EQ(now(), fixed);
  // Now() has whole seconds.
  EXPECT_DOUBLE_EQ(nowAsOleDate(), toOleDate(utc(2010, 6, 15, 8, 30, 0)));
  setClockForTesting(nullptr);
  EXPECT_GT(now(), utc(2020, 1, 1, 0, 0, 0));
}

}  // namespace
}  // namespace vantorel::sys
