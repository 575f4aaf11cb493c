#include "platform/xml/xml_text.hpp"

#include <algorithm>
#include <cstddef>
#include <cstdint>

#include "platform/text/byte_order_mark.hpp"
#include "platform/text/byte_scan.hpp"
#include "platform/text/charset_name.hpp"
#include "platform/text/code_page.hpp"
#include "platform/text/unicode.hpp"
#include "platform/xml/text_position.hpp"

namespace vantorel::xml {

namespace {

// Length of the valid UTF-8 sequence at `i`, 0 when it is not one (overlong forms and
// surrogates included, as XML parsers reject them).
std::size_t utf8SequenceLength(std::string_view s, std::size_t i) {
  const auto b0 = static_cast<unsigned char>(s[i]);
  if (b0 < 0x80) return 1;
  std::size_t n;
  std::uint32_t cp;
  if (b0 >= 0xC2 && b0 <= 0xDF) {
    n = 2;
    cp = b0 & 0x1Fu;
  } else if (b0 >= 0xE0 && b0 <= 0xEF) {
    n = 3;
    cp = b0 & 0x0Fu;
  } else if (b0 >= 0xF0 && b0 <= 0xF4) {
    n = 4;
    cp = b0 & 0x07u;
  } else {
    return 0;
  }
  if (i + n > s.size()) return 0;
  for (std::size_t k = 1; k < n; ++k) {
    const auto b = static_cast<unsigned char>(s[i + k]);
    if ((b & 0xC0u) != 0x80u) return 0;
    cp = (cp << 6) | (b & 0x3Fu);
  }
  if ((n == 3 && cp < 0x800) || (n == 4 && (cp < 0x10000 || cp > 0x10FFFF))) return 0;
  if (cp >= 0xD800 && cp <= 0xDFFF) return 0;
  return n;
}

std::u16string at(std::string_view text, std::size_t offset, std::u16string_view what) {
  return positionText(text, static_cast<std::ptrdiff_t>(offset), ColumnUnit::Character) + u": " +
         std::u16string(what);
}

// Characters XML 1.0 forbids anywhere (a DOM parser refuses the document): NUL and the C0
// controls other than tab, line feed and carriage return; also bytes that are not UTF-8.
// Checks from `i` to at least `end` (a sequence that starts before end is checked whole);
// positions in the error count from the start of the whole text.
bool checkCharacters(std::string_view text, std::size_t& i, std::size_t end,
                     std::u16string& error) {
  while (i < end) {
    // Printable ASCII, most of any document, is passed many bytes at a time.
    i = scan::printableAsciiEnd(text.data(), i, end);
    if (i >= end) break;
    const auto b = static_cast<unsigned char>(text[i]);
    if (b < 0x20 && b != '\t' && b != '\n' && b != '\r') {
      constexpr char16_t kHex[] = u"0123456789ABCDEF";
      error = at(text, i, std::u16string(u"invalid character U+00") + kHex[b >> 4] + kHex[b & 15]);
      return false;
    }
    const std::size_t n = utf8SequenceLength(text, i);
    if (n == 0) {
      error = at(text, i, u"invalid UTF-8 byte sequence");
      return false;
    }
    i += n;
  }
  return true;
}

std::u16string decodeUtf16(std::string_view bytes, bool bigEndian) {
  std::u16string out;
  out.reserve(bytes.size() / 2);
  for (std::size_t i = 0; i + 1 < bytes.size(); i += 2) {
    const auto a = static_cast<unsigned char>(bytes[i]);
    const auto b = static_cast<unsigned char>(bytes[i + 1]);
    out.push_back(static_cast<char16_t>(bigEndian ? (a << 8) | b : (b << 8) | a));
  }
  return out;
}

// The encoding named by an XML declaration at the very start; "" when there is none.
std::string declaredEncoding(std::string_view bytes) {
  if (!bytes.starts_with("<?xml") || bytes.size() < 6 || !isXmlBlank(bytes[5])) return {};
  const std::size_t end = bytes.find("?>");
  const std::string_view decl = bytes.substr(0, end);
  std::size_t i = decl.find("encoding");
  if (i == std::string_view::npos) return {};
  i += 8;
  while (i < decl.size() && isXmlBlank(decl[i])) ++i;
  if (i >= decl.size() || decl[i] != '=') return {};
  ++i;
  while (i < decl.size() && isXmlBlank(decl[i])) ++i;
  if (i >= decl.size() || (decl[i] != '"' && decl[i] != '\'')) return {};
  const char quote = decl[i++];
  const std::size_t close = decl.find(quote, i);
  if (close == std::string_view::npos) return {};
  return std::string(decl.substr(i, close - i));
}

// Brings the file's bytes to UTF-8, the form the parser is given.
// `text` views the bytes themselves when they are UTF-8 already, else `out`.
bool toUtf8Text(std::string_view bytes, std::string& out, std::string_view& text,
                std::u16string& error) {
  const ByteOrderMark mark = detectByteOrderMark(bytes);
  bool utf16 = mark == ByteOrderMark::Utf16LittleEndian || mark == ByteOrderMark::Utf16BigEndian;
  bool bigEndian = mark == ByteOrderMark::Utf16BigEndian;
  std::string_view body = bytes.substr(byteOrderMarkLength(mark));
  if (mark == ByteOrderMark::None && bytes.size() >= 2) {
    // Without a mark, UTF-16 shows in the zero byte beside the opening '<'.
    if (bytes[0] == '<' && bytes[1] == '\0') utf16 = true;
    if (bytes[0] == '\0' && bytes[1] == '<') utf16 = bigEndian = true;
  }
  if (utf16) {
    if (body.size() % 2 != 0) {
      error = u"the UTF-16 text ends in the middle of a character";
      return false;
    }
    out = toUtf8(decodeUtf16(body, bigEndian));
    text = out;
    return true;
  }
  if (mark == ByteOrderMark::None) {
    const std::string name = declaredEncoding(body);
    const int codePage = name.empty() ? kCodePageUtf8 : codePageOfCharset(fromUtf8(name));
    if (codePage == kCodePageUtf16Le || codePage == kCodePageUtf16Be) {
      error = u"the declaration names UTF-16 but the file is not UTF-16";
      return false;
    }
    if (codePage == 0 || !isSupportedCodePage(codePage)) {
      error = u"unsupported encoding \"" + fromUtf8(name) + u"\"";
      return false;
    }
    if (codePage != kCodePageUtf8) {
      out = toUtf8(decodeCodePage(body, codePage));
      text = out;
      return true;
    }
  }
  text = body;
  return true;
}

}  // namespace

bool textAsUtf8(std::string_view bytes, std::string& out, std::u16string& error) {
  std::string_view text;
  if (!toUtf8Text(bytes, out, text, error)) return false;
  if (text.data() != out.data()) out.assign(text);
  return true;
}

bool viewAsUtf8(std::string_view bytes, std::string& storage, std::string_view& text,
                std::u16string& error) {
  return toUtf8Text(bytes, storage, text, error);
}

bool checkXmlCharacters(std::string_view utf8, std::u16string& error) {
  std::size_t i = 0;
  return checkCharacters(utf8, i, utf8.size(), error);
}

bool checkXmlCharacters(std::string_view utf8, std::size_t& from, std::size_t to,
                        std::u16string& error) {
  return checkCharacters(utf8, from, std::min(to, utf8.size()), error);
}

}  // namespace vantorel::xml
