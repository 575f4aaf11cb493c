#pragma once
// The text of a result's failure, "" when it succeeded: lets a table of cases hold both outcomes
// as one column.
#include <string>

#include "platform/automation/expected.hpp"

namespace vantorel::test {

template <class T>
std::u16string failureText(const Expected<T>& result) {
  return result.ok() ? std::u16string() : result.failure().text;
}

}  // namespace vantorel::test
