#include "platform/automation/automation_error.hpp"

#include "platform/text/unicode.hpp"

namespace vantorel {

AutomationError::AutomationError(std::int32_t number, std::u16string source,
                                 std::u16string description)
    : number_(number), source_(std::move(source)), description_(std::move(description)) {
  what_ = "error " + std::to_string(number_);
  if (!description_.empty()) what_ += ": " + toUtf8(description_);
}

void raiseVbError(std::int32_t number) {
  throw AutomationError(number, vbErrorDescription(number));
}

void raiseVbError(std::int32_t number, std::u16string description) {
  throw AutomationError(number, std::move(description));
}

}  // namespace vantorel
