#include "platform/vbscript/host/script_file.hpp"

#include "platform/text/byte_order_mark.hpp"
#include "platform/text/code_page.hpp"
#include "platform/text/unicode.hpp"

namespace vantorel::vbs {

namespace {

std::u16string decodeUtf16(std::string_view bytes, bool bigEndian) {
  std::u16string out;
  out.reserve(bytes.size() / 2 + 1);
  std::size_t i = 0;
  for (; i + 1 < bytes.size(); i += 2) {
    const auto a = static_cast<unsigned char>(bytes[i]);
    const auto b = static_cast<unsigned char>(bytes[i + 1]);
    out.push_back(static_cast<char16_t>(bigEndian ? (a << 8 | b) : (b << 8 | a)));
  }
  // A truncated file keeps a visible trace of its last byte rather than losing it silently.
  if (i < bytes.size()) out.push_back(u'\uFFFD');
  return out;
}

}  // namespace

std::u16string decodeScriptText(std::string_view bytes) {
  const ByteOrderMark mark = detectByteOrderMark(bytes);
  const std::string_view body = bytes.substr(byteOrderMarkLength(mark));
  switch (mark) {
    case ByteOrderMark::Utf8:
      return fromUtf8(body);
    case ByteOrderMark::Utf16LittleEndian:
      return decodeUtf16(body, false);
    case ByteOrderMark::Utf16BigEndian:
      return decodeUtf16(body, true);
    case ByteOrderMark::None:
      break;
  }
  // Files written today are UTF-8 without a mark; text in the code page that happens to be
  // well-formed UTF-8 as well is rare beyond ASCII, which reads the same either way.
  if (isValidUtf8(body)) return fromUtf8(body);
  return fromAnsi(body);
}

}  // namespace vantorel::vbs
