#pragma once
// Pieces of the date functions shared between their files, and usable by other formatting code.
#include <cstdint>
#include <string>

#include "platform/automation/object.hpp"

namespace vantorel::vbs {

// FormatDateTime's forms in the thread's locale: 0 general, 1 long date, 2 short date,
// 3 long time, 4 short time (24-hour "hh:mm"). Raises 5 for another format.
std::u16string formatDateTime(double oleDate, int format);
// "Thursday, March 5, 2009" in en-US.
std::u16string formatLongDate(std::int64_t day);

Variant dateAddFn(CallArgs args);
Variant dateDiffFn(CallArgs args);
Variant datePartFn(CallArgs args);

}  // namespace vantorel::vbs
