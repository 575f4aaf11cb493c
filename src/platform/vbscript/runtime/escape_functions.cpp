// Escape and Unescape: the JavaScript-style %XX / %uXXXX encoding.
#include "platform/vbscript/runtime/string_support.hpp"

namespace vantorel::vbs::detail {

namespace {

constexpr char16_t kHexDigits[] = u"0123456789ABCDEF";

// Letters, digits and @*_+-./ pass through unchanged.
bool isUnreserved(char16_t c) noexcept {
  if ((c >= u'A' && c <= u'Z') || (c >= u'a' && c <= u'z') || (c >= u'0' && c <= u'9')) {
    return true;
  }
  switch (c) {
    case u'@':
    case u'*':
    case u'_':
    case u'+':
    case u'-':
    case u'.':
    case u'/':
      return true;
    default:
      return false;
  }
}

int hexValue(char16_t c) noexcept {
  if (c >= u'0' && c <= u'9') return c - u'0';
  if (c >= u'A' && c <= u'F') return c - u'A' + 10;
  if (c >= u'a' && c <= u'f') return c - u'a' + 10;
  return -1;
}

// The value of `digits` hex digits at s[pos], or -1 when they are not all there.
int hexAt(std::u16string_view s, std::size_t pos, std::size_t digits) noexcept {
  if (pos + digits > s.size()) return -1;
  int value = 0;
  for (std::size_t i = 0; i < digits; ++i) {
    const int d = hexValue(s[pos + i]);
    if (d < 0) return -1;
    value = value * 16 + d;
  }
  return value;
}

}  // namespace

Variant escape(CallArgs args) {
  const PlainArg s(args[0]);
  if (s->isNull()) return Variant::null();
  const TextArg text(*s);
  std::u16string out;
  out.reserve(text.size());
  for (const char16_t c : text.view()) {
    if (isUnreserved(c)) {
      out.push_back(c);
    } else if (c < 0x100) {
      out += {u'%', kHexDigits[c >> 4], kHexDigits[c & 0xF]};
    } else {
      out += {u'%',
              u'u',
              kHexDigits[c >> 12],
              kHexDigits[(c >> 8) & 0xF],
              kHexDigits[(c >> 4) & 0xF],
              kHexDigits[c & 0xF]};
    }
  }
  checkStringLength(out.size());
  return Variant(std::move(out));
}

// A '%' that does not start a complete escape stays as it is.
Variant unescape(CallArgs args) {
  const PlainArg arg(args[0]);
  if (arg->isNull()) return Variant::null();
  const TextArg text(*arg);
  const std::u16string_view s = text.view();
  std::u16string out;
  out.reserve(s.size());
  for (std::size_t i = 0; i < s.size(); ++i) {
    if (s[i] == u'%') {
      if (i + 1 < s.size() && s[i + 1] == u'u') {
        const int unit = hexAt(s, i + 2, 4);
        if (unit >= 0) {
          out.push_back(static_cast<char16_t>(unit));
          i += 5;
          continue;
        }
      }
      const int byte = hexAt(s, i + 1, 2);
      if (byte >= 0) {
        out.push_back(static_cast<char16_t>(byte));
        i += 2;
        continue;
      }
    }
    out.push_back(s[i]);
  }
  return Variant(std::move(out));
}

}  // namespace vantorel::vbs::detail
