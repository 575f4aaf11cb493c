#include "platform/text/byte_order_mark.hpp"

namespace vantorel {

ByteOrderMark detectByteOrderMark(std::string_view bytes) noexcept {
  const auto at = [&](std::size_t i) { return static_cast<unsigned char>(bytes[i]); };
  if (bytes.size() >= 3 && at(0) == 0xEF && at(1) == 0xBB && at(2) == 0xBF) {
    return ByteOrderMark::Utf8;
  }
  if (bytes.size() >= 2 && at(0) == 0xFF && at(1) == 0xFE) return ByteOrderMark::Utf16LittleEndian;
  if (bytes.size() >= 2 && at(0) == 0xFE && at(1) == 0xFF) return ByteOrderMark::Utf16BigEndian;
  return ByteOrderMark::None;
}

std::size_t byteOrderMarkLength(ByteOrderMark mark) noexcept {
  switch (mark) {
    case ByteOrderMark::Utf8:
      return 3;
    case ByteOrderMark::Utf16LittleEndian:
    case ByteOrderMark::Utf16BigEndian:
      return 2;
    case ByteOrderMark::None:
      break;
  }
  return 0;
}

}  // namespace vantorel
