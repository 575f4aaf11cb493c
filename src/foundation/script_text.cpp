#include "foundation/script_text.hpp"

#include <algorithm>
#include <exception>
#include <string>

#include "foundation/keyword_list.hpp"
#include "foundation/value_conversion.hpp"
#include "platform/automation/variant_convert.hpp"
#include "platform/text/code_page.hpp"
#include "platform/text/strings.hpp"

namespace vantorel {

namespace {

constexpr char16_t kHexDigits[] = u"0123456789ABCDEF";

bool isAsciiLetter(char16_t c) noexcept {
  return (c >= u'a' && c <= u'z') || (c >= u'A' && c <= u'Z');
}

bool keptInIdentifier(char16_t c) noexcept {
  return isAsciiLetter(c) || (c >= u'0' && c <= u'9') || c == u' ' || c == u'_';
}

// Upper-case hexadecimal without leading zeros, as Hex() writes it.
std::u16string hexOf(unsigned long value) {
  std::u16string out;
  do {
    out.insert(out.begin(), kHexDigits[value & 0xF]);
    value >>= 4;
  } while (value != 0);
  return out;
}

// The character's code in the system code page. A character the code page lacks would come
// back as "?" (3F), making different names collide, so its UTF-16 code unit is used instead.
std::u16string ansiHexOf(char16_t c) {
  const std::string bytes = toAnsi(std::u16string_view(&c, 1));
  if (bytes.empty() || (bytes == "?" && c != u'?')) return hexOf(c);
  unsigned long code = 0;
  for (char b : bytes) code = code << 8 | static_cast<unsigned char>(b);
  return hexOf(code);
}

}  // namespace

Variant GetVarName(const Variant& name, const Variant& prefix) {
  std::u16string raw = toString(name);
  while (SharedKeywords().IsKeyword(raw)) raw.push_back(u'z');
  std::u16string text;
  text.reserve(raw.size());
  for (char16_t c : raw) {
    if (c == u' ') {
      text.push_back(u'_');
    } else if (keptInIdentifier(c)) {
      text.push_back(c);
    } else {
      text += ansiHexOf(c);
    }
  }
  if (!text.empty() && !isAsciiLetter(text.front())) text.insert(text.begin(), u'z');
  return Variant(toString(prefix) + text);
}

Variant QuoteStr(const Variant& text, const Variant& level) {
  const std::u16string s = StripQuotes(toString(text));
  double depth = 0;
  try {
    depth = toDouble(level);
  } catch (const std::exception&) {
    depth = 0;  // a level that is no number quotes nothing
  }
  if (depth <= 0) return Variant(s);
  // A fractional level counts as its rounded whole number of quotes, as String() takes it.
  const std::u16string quotes(static_cast<std::size_t>(std::max(toLong(level), 0)), u'"');
  return Variant(quotes + replaceAll(s, u"\"", u"\"\"") + quotes);
}

std::u16string TextToVbsExpr(std::u16string_view text, std::u16string_view joiner) {
  std::u16string out;
  if (text.empty()) return out;
  std::size_t pos = 0;
  for (;;) {
    // A line ends at CR LF, CR or LF alike: a string literal must not span lines of the script.
    std::size_t end = text.find_first_of(u"\r\n", pos);
    if (end == std::u16string_view::npos) end = text.size();
    if (!out.empty()) out.push_back(u'&');
    out.push_back(u'"');
    out += replaceAll(text.substr(pos, end - pos), u"\"", u"\"\"");
    out.push_back(u'"');
    if (end == text.size()) break;
    if (text[end] == u'\r' && end + 1 < text.size() && text[end + 1] == u'\n') {
      out += u"&vbCrLf";
      pos = end + 2;
    } else {
      out += text[end] == u'\r' ? u"&vbCr" : u"&vbLf";
      pos = end + 1;
    }
    if (!joiner.empty()) {
      out.push_back(u'&');
      out += joiner;
    }
  }
  return out;
}

}  // namespace vantorel
