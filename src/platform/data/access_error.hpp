#pragma once
// Failures of the Access reader, numbered as DAO numbers the same failures, so that a loader's
// "Error # n" line reads as it did over DAO. The source names the library that failed.
#include <cstdint>
#include <string>
#include <string_view>

#include "platform/automation/automation_error.hpp"

namespace vantorel::data::access {

enum class AccessFailure : std::int32_t {
  ObjectNotFound = 3011,      // no table or query of that name
  FileNotFound = 3024,        // the file does not exist
  CannotOpen = 3051,          // the file exists but cannot be read
  UnrecognizedFormat = 3343,  // not an Access file, or one libmdb cannot read
  ObjectUnreadable = 3049,    // the file is damaged where this object is stored
};

// Raises AutomationError with the failure's number, source "libmdb" and the description, to
// which libmdb's own messages are added on a new line when there are any.
[[noreturn]] void raiseAccessError(AccessFailure failure, std::u16string description,
                                   std::string_view libraryMessages = {});

}  // namespace vantorel::data::access
