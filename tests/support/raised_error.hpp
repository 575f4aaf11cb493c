#pragma once
// The error number a call raises through the automation error path; 0 when it returns normally.
#include <cstdint>

#include "platform/automation/automation_error.hpp"

namespace vantorel::test {

inline std::int32_t errorOf(auto&& call) {
  try {
    call();
  } catch (const AutomationError& e) {
    return e.number();
  }
  return 0;
}

}  // namespace vantorel::test
