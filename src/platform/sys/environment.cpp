#include "platform/sys/environment.hpp"

#include <unistd.h>

#include <cstdlib>
#include <cstring>

#include "platform/text/case_fold.hpp"
#include "platform/text/unicode.hpp"

extern char** environ;

namespace vantorel::sys {

// Names match exactly first, then case-insensitively as on Windows, where templates written
// with %UserProfile% or %Path% come from.
std::optional<std::u16string> environmentVariable(std::u16string_view name) {
  if (name.empty() || name.find(u'=') != std::u16string_view::npos ||
      name.find(u'\0') != std::u16string_view::npos) {
    return std::nullopt;
  }
  const std::string narrow = toUtf8(name);
  if (const char* value = std::getenv(narrow.c_str())) return fromUtf8(value);
  for (char** entry = environ; entry && *entry; ++entry) {
    const char* equals = std::strchr(*entry, '=');
    if (!equals) continue;
    const std::u16string entryName = fromUtf8(std::string_view(*entry, equals - *entry));
    if (equalsNoCase(entryName, name)) return fromUtf8(equals + 1);
  }
  return std::nullopt;
}

std::u16string expandEnvironment(std::u16string_view text) {
  std::u16string out;
  out.reserve(text.size());
  std::size_t i = 0;
  while (i < text.size()) {
    const char16_t c = text[i];
    if (c != u'%') {
      out.push_back(c);
      ++i;
      continue;
    }
    const std::size_t close = text.find(u'%', i + 1);
    if (close == std::u16string_view::npos) {
      out.append(text.substr(i));
      break;
    }
    const auto value = environmentVariable(text.substr(i + 1, close - i - 1));
    if (value) {
      out.append(*value);
      i = close + 1;
    } else {
      // The closing sign may open the next reference ("50% of %HOME%").
      out.append(text.substr(i, close - i));
      i = close;
    }
  }
  return out;
}

}  // namespace vantorel::sys
