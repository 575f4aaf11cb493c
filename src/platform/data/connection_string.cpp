#include "platform/data/connection_string.hpp"

#include "platform/text/case_fold.hpp"
#include "platform/text/strings.hpp"

namespace vantorel::data {

namespace {

bool needsQuoting(std::u16string_view value) {
  if (value.find_first_of(u";{}=") != std::u16string_view::npos) return true;
  return !value.empty() && (isBlank(value.front()) || isBlank(value.back()));
}

}  // namespace

std::u16string quoteConnectionValue(std::u16string_view value) {
  if (!needsQuoting(value)) return std::u16string(value);
  return u"{" + replaceAll(value, u"}", u"}}") + u"}";
}

std::vector<ConnectionPair> connectionStringPairs(std::u16string_view text) {
  std::vector<ConnectionPair> pairs;
  std::size_t at = 0;
  while (at < text.size()) {
    const std::size_t stop = text.find_first_of(u";=", at);
    if (stop == std::u16string_view::npos || text[stop] == u';') {
      at = stop == std::u16string_view::npos ? text.size() : stop + 1;
      continue;
    }
    ConnectionPair pair{toLower(trimBlanks(text.substr(at, stop - at))), {}};
    std::size_t valueAt = stop + 1;
    while (valueAt < text.size() && isBlank(text[valueAt])) ++valueAt;
    if (valueAt < text.size() && text[valueAt] == u'{') {
      std::size_t i = valueAt + 1;
      for (; i < text.size(); ++i) {
        if (text[i] != u'}') {
          pair.value += text[i];
        } else if (i + 1 < text.size() && text[i + 1] == u'}') {
          pair.value += u'}';
          ++i;
        } else {
          break;
        }
      }
      const std::size_t end = text.find(u';', i);
      at = end == std::u16string_view::npos ? text.size() : end + 1;
    } else {
      const std::size_t end = text.find(u';', valueAt);
      const std::size_t last = end == std::u16string_view::npos ? text.size() : end;
      pair.value = std::u16string(trimBlanks(text.substr(valueAt, last - valueAt)));
      at = last + 1;
    }
    if (!pair.key.empty()) pairs.push_back(std::move(pair));
  }
  return pairs;
}

ConnectionString& ConnectionString::add(std::u16string key, std::u16string value) {
  parts_.emplace_back(std::move(key), std::move(value));
  return *this;
}

std::u16string ConnectionString::text() const {
  std::u16string text;
  for (const auto& [key, value] : parts_) {
    if (!text.empty()) text += u';';
    text += key;
    text += u'=';
    text += quoteConnectionValue(value);
  }
  return text;
}

std::u16string dsnConnectionString(std::u16string_view dsn, std::u16string_view uid,
                                   std::u16string_view pwd) {
  ConnectionString s;
  s.add(u"dsn", std::u16string(dsn));
  // An empty value would stand in for the login the data source stores (psqlODBC takes it so).
  if (!uid.empty()) s.add(u"uid", std::u16string(uid));
  if (!pwd.empty()) s.add(u"pwd", std::u16string(pwd));
  return s.text();
}

}  // namespace vantorel::data
