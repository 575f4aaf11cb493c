#include "platform/data/connection_string.hpp"

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
