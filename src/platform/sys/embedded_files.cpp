#include "platform/sys/embedded_files.hpp"

#include <utility>

namespace vantorel::embedded {
// Generated at build time; ends with an entry whose name is empty.
extern const std::pair<std::string_view, std::string_view> kFiles[];
}  // namespace vantorel::embedded

namespace vantorel::sys {

std::optional<std::string_view> embeddedFile(std::string_view name) {
  if (name.empty()) return std::nullopt;
  for (const auto* f = embedded::kFiles; !f->first.empty(); ++f) {
    if (f->first == name) return f->second;
  }
  return std::nullopt;
}

}  // namespace vantorel::sys
