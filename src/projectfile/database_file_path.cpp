#include "projectfile/database_file_path.hpp"

#include <algorithm>
#include <filesystem>
#include <system_error>
#include <utility>

#include "platform/data/connection_string.hpp"
#include "platform/data/sqlite_file.hpp"
#include "platform/fs/path.hpp"
#include "platform/text/case_fold.hpp"
#include "platform/text/strings.hpp"

namespace vantorel {

namespace {

// Where the value of the element whose key is `key` lies in text: its first and end position,
// braces included; nothing when no element has that key.
std::optional<std::pair<std::size_t, std::size_t>> valueSpan(std::u16string_view text,
                                                             std::u16string_view key) {
  std::size_t start = 0;
  while (start < text.size()) {
    const std::size_t equals = text.find(u'=', start);
    const std::size_t semicolon = text.find(u';', start);
    if (equals == std::u16string_view::npos) return std::nullopt;
    if (semicolon < equals) {
      start = semicolon + 1;
      continue;
    }
    std::size_t end = equals + 1;
    while (end < text.size() && (text[end] == u' ' || text[end] == u'\t')) ++end;
    if (end < text.size() && text[end] == u'{') {
      // A braced value runs to its closing brace, a doubled one standing for one.
      ++end;
      while (end < text.size()) {
        if (text[end] == u'}') {
          if (end + 1 < text.size() && text[end + 1] == u'}') {
            end += 2;
            continue;
          }
          ++end;
          break;
        }
        ++end;
      }
    }
    end = std::min(text.find(u';', end), text.size());
    if (equalsNoCase(trimBlanks(text.substr(start, equals - start)), key)) {
      return std::pair{equals + 1, end};
    }
    start = end + 1;
  }
  return std::nullopt;
}

}  // namespace

std::u16string projectFileFolder(std::u16string_view projFile) {
  std::error_code ec;
  std::filesystem::path path = fs::toNative(fs::normalizeSeparators(projFile));
  const std::filesystem::path absolute = std::filesystem::absolute(path, ec);
  if (!ec) path = absolute;
  return fs::fromNative(path.lexically_normal().parent_path());
}

std::optional<std::u16string> sqliteFileMadeAbsolute(std::u16string_view connectionString,
                                                     std::u16string_view folder) {
  const std::u16string file = data::sqliteDatabaseFile(connectionString);
  if (file.empty() || fs::isSeparator(file.front())) return std::nullopt;
  const std::optional<std::pair<std::size_t, std::size_t>> span =
      valueSpan(connectionString, u"database");
  if (!span) return std::nullopt;
  const std::filesystem::path absolute =
      (fs::toNative(folder) / fs::toNative(fs::normalizeSeparators(file))).lexically_normal();
  std::u16string text(connectionString.substr(0, span->first));
  text += data::quoteConnectionValue(fs::fromNative(absolute));
  text += connectionString.substr(span->second);
  return text;
}

}  // namespace vantorel
