#pragma once
// Members of a lower object that a higher layer defines reach it through an operation that the
// higher layer installs at start-up; an operation that is not installed raises 445.
#include <string>

#include "platform/automation/automation_error.hpp"

namespace vantorel {

template <typename Operation>
Operation installedOperation(Operation operation, const char16_t* owner, const char16_t* member) {
  if (!operation) {
    throw AutomationError(445, owner, std::u16string(owner) + u"." + member + u" is not available");
  }
  return operation;
}

}  // namespace vantorel
