#pragma once
// The engine's one clock. Tests replace it so that stamps, backups and logs are exact.
#include <chrono>
#include <functional>

namespace vantorel::sys {

using TimePoint = std::chrono::system_clock::time_point;

TimePoint now();
// Local wall-clock time as an OLE date (days since 30 December 1899), as Now() returns it.
double nowAsOleDate();
double toOleDate(TimePoint t);  // local time

// A null function restores the system clock.
void setClockForTesting(std::function<TimePoint()> clock);

}  // namespace vantorel::sys
