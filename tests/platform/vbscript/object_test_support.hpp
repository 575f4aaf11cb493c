#pragma once
// Helpers shared by the tests of the scripting objects: raised error numbers, raw file bytes and
// calls through the dispatch interface.
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <string_view>
#include <vector>

#include "platform/automation/automation_error.hpp"
#include "platform/automation/object.hpp"

namespace vantorel::vbs::object_test {

// The error number `f` raises; 0 when it returns normally.
inline std::int32_t errorOf(auto&& f) {
  try {
    f();
  } catch (const AutomationError& e) {
    return e.number();
  }
  return 0;
}

inline std::string readBytes(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), {});
}

inline void writeBytes(const std::filesystem::path& path, std::string_view bytes) {
  std::ofstream out(path, std::ios::binary);
  out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

inline Variant invoke(Object& o, DispId id, std::uint8_t flags, std::vector<Variant> args) {
  std::vector<Variant*> pointers;
  for (Variant& a : args) pointers.push_back(&a);
  return o.invoke(id, flags, CallArgs(pointers));
}

}  // namespace vantorel::vbs::object_test
