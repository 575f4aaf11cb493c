#include "site/host/asp_state.hpp"

#include <cctype>

#include "platform/text/code_page.hpp"
#include "platform/text/unicode.hpp"

namespace vantorel::test::asp {

namespace {

bool sameName(std::u16string_view a, std::u16string_view b) {
  return NoCaseEqual{}(a, b);
}

int hexDigit(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

}  // namespace

Variant ValueStore::get(std::u16string_view name) const {
  for (const auto& [key, value] : items_) {
    if (sameName(key, name)) return value;
  }
  return Variant();
}

void ValueStore::put(std::u16string_view name, Variant value) {
  for (auto& [key, stored] : items_) {
    if (sameName(key, name)) {
      stored = std::move(value);
      return;
    }
  }
  items_.emplace_back(std::u16string(name), std::move(value));
}

void ValueStore::remove(std::u16string_view name) {
  std::erase_if(items_, [&](const auto& item) { return sameName(item.first, name); });
}

std::string HttpResponse::header(std::string_view name) const {
  for (const auto& [key, value] : headers) {
    if (key.size() == name.size() &&
        std::equal(key.begin(), key.end(), name.begin(), [](char a, char b) {
          return std::tolower(static_cast<unsigned char>(a)) ==
                 std::tolower(static_cast<unsigned char>(b));
        })) {
      return value;
    }
  }
  return {};
}

int RequestContext::codePage() const {
  if (responseCodePage != 0) return responseCodePage;
  if (directiveCodePage != 0) return directiveCodePage;
  if (session && session->codePage != 0) return session->codePage;
  return kCodePageWindows1252;
}

std::string urlDecodeBytes(std::string_view text) {
  std::string bytes;
  for (std::size_t i = 0; i < text.size(); ++i) {
    const char c = text[i];
    if (c == '+') {
      bytes += ' ';
    } else if (c == '%' && i + 2 < text.size() && hexDigit(text[i + 1]) >= 0 &&
               hexDigit(text[i + 2]) >= 0) {
      bytes += static_cast<char>(hexDigit(text[i + 1]) * 16 + hexDigit(text[i + 2]));
      i += 2;
    } else {
      bytes += c;
    }
  }
  return bytes;
}

std::vector<std::pair<std::u16string, std::u16string>> parseUrlEncoded(std::string_view text,
                                                                       int codePage) {
  std::vector<std::pair<std::u16string, std::u16string>> pairs;
  std::size_t pos = 0;
  while (pos <= text.size()) {
    std::size_t end = text.find('&', pos);
    if (end == std::string_view::npos) end = text.size();
    const std::string_view pair = text.substr(pos, end - pos);
    if (!pair.empty()) {
      const std::size_t eq = pair.find('=');
      const std::string_view name = pair.substr(0, eq);
      const std::string_view value = eq == std::string_view::npos ? "" : pair.substr(eq + 1);
      pairs.emplace_back(decodeCodePage(urlDecodeBytes(name), codePage),
                         decodeCodePage(urlDecodeBytes(value), codePage));
    }
    pos = end + 1;
  }
  return pairs;
}

std::string urlEncodeUtf8(std::u16string_view text) {
  static const char* hex = "0123456789ABCDEF";
  std::string out;
  for (const unsigned char c : toUtf8(text)) {
    if (std::isalnum(c) || c == '-' || c == '_' || c == '.' || c == '*') {
      out += static_cast<char>(c);
    } else if (c == ' ') {
      out += '+';
    } else {
      out += '%';
      out += hex[c >> 4];
      out += hex[c & 15];
    }
  }
  return out;
}

}  // namespace vantorel::test::asp
