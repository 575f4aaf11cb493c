#pragma once
#include <optional>
#include <string>
#include <string_view>

namespace vantorel::sys {

std::optional<std::u16string> environmentVariable(std::u16string_view name);
// Replaces every %NAME% that names a set environment variable by its value; every other
// percent sign, and every %NAME% that names none, stays exactly as it was.
std::u16string expandEnvironment(std::u16string_view text);

}  // namespace vantorel::sys
