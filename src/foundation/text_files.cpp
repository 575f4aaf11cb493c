#include "foundation/text_files.hpp"

#include <exception>
#include <optional>
#include <string>
#include <vector>

#include "platform/automation/automation_error.hpp"
#include "platform/automation/safe_array.hpp"
#include "platform/automation/variant_convert.hpp"
#include "platform/fs/files.hpp"
#include "platform/text/byte_order_mark.hpp"
#include "platform/text/code_page.hpp"
#include "platform/text/strings.hpp"
#include "platform/text/unicode.hpp"

namespace vantorel {

namespace {

std::optional<std::string> readBytes(const Variant& path) {
  try {
    return fs::readFile(toString(path));
  } catch (const std::exception&) {
    return std::nullopt;
  }
}

// An odd last byte cannot be a code unit; it becomes U+FFFD so that its loss shows.
std::u16string decodeUtf16(std::string_view bytes, bool bigEndian) {
  std::u16string out;
  out.reserve(bytes.size() / 2 + 1);
  for (std::size_t i = 0; i + 1 < bytes.size(); i += 2) {
    const auto a = static_cast<unsigned char>(bytes[i]);
    const auto b = static_cast<unsigned char>(bytes[i + 1]);
    out.push_back(static_cast<char16_t>(bigEndian ? (a << 8) | b : (b << 8) | a));
  }
  if (bytes.size() % 2 != 0) out.push_back(u'\xFFFD');
  return out;
}

}  // namespace

Variant ReadTextFile(const Variant& path) {
  const std::optional<std::string> bytes = readBytes(path);
  if (!bytes || bytes->empty()) return Variant();
  const ByteOrderMark mark = detectByteOrderMark(*bytes);
  const std::string_view body = std::string_view(*bytes).substr(byteOrderMarkLength(mark));
  switch (mark) {
    case ByteOrderMark::Utf8:
      return Variant(fromUtf8(body));
    // Read as ANSI, a UTF-16 file would come back as pairs of garbage characters.
    case ByteOrderMark::Utf16LittleEndian:
      return Variant(decodeUtf16(body, false));
    case ByteOrderMark::Utf16BigEndian:
      return Variant(decodeUtf16(body, true));
    case ByteOrderMark::None:
      break;
  }
  return Variant(fromAnsi(*bytes));
}

Variant ReadUtf8File(const Variant& path) {
  const std::optional<std::string> bytes = readBytes(path);
  if (!bytes) return Variant();
  std::string_view body(*bytes);
  if (detectByteOrderMark(body) == ByteOrderMark::Utf8) body.remove_prefix(3);
  return Variant(fromUtf8(body));
}

Variant DetectFileEncoding(const Variant& path) {
  try {
    const std::optional<std::string> bytes = readBytes(path);
    if (!bytes) return Variant(std::u16string());
    std::vector<Variant> head;
    for (std::size_t i = 0; i < bytes->size() && i < 3; ++i) {
      head.emplace_back(static_cast<std::uint8_t>((*bytes)[i]));
    }
    const std::u16string hex =
        toString(BytesToHex(Variant(SafeArray::fromValues(std::move(head), VarType::Byte))));
    if (hex == u"EFBBBF") return Variant(std::u16string(u"UTF-8"));
    if (startsWith(hex, u"FEFF")) return Variant(std::u16string(u"UNICODE BIG"));
    if (startsWith(hex, u"FFFE")) return Variant(std::u16string(u"UNICODE"));
  } catch (const std::exception&) {
  }
  return Variant(std::u16string());
}

Variant BytesToHex(const Variant& bytes) {
  if (!bytes.isArray()) raiseVbError(vberr::kTypeMismatch);
  static constexpr char16_t kDigits[] = u"0123456789ABCDEF";
  // Digit by digit rather than through a number, so that any length gives its exact value.
  std::u16string hex;
  for (const Variant& element : bytes.arrayValue().elements()) {
    const std::uint8_t b = toByte(element);
    hex.push_back(kDigits[b >> 4]);
    hex.push_back(kDigits[b & 0xF]);
  }
  const std::size_t first = hex.find_first_not_of(u'0');
  if (first == std::u16string::npos) return Variant(std::u16string(u"0"));
  return Variant(hex.substr(first));
}

}  // namespace vantorel
