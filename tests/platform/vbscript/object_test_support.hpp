#pragma once
// Helpers shared by the tests of the scripting objects: raised error numbers and calls through
// the dispatch interface.
#include <cstdint>
#include <vector>

#include "platform/automation/automation_error.hpp"
#include "platform/automation/object.hpp"

namespace vantorel::vbs::object_test {

inline Variant invoke(Object& o, DispId id, std::uint8_t flags, std::vector<Variant> args) {
  std::vector<Variant*> pointers;
  for (Variant& a : args) pointers.push_back(&a);
  return o.invoke(id, flags, CallArgs(pointers));
}

}  // namespace vantorel::vbs::object_test
