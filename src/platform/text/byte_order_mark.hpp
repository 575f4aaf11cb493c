#pragma once
#include <cstddef>
#include <string_view>

namespace vantorel {

enum class ByteOrderMark { None, Utf8, Utf16LittleEndian, Utf16BigEndian };

ByteOrderMark detectByteOrderMark(std::string_view bytes) noexcept;
std::size_t byteOrderMarkLength(ByteOrderMark mark) noexcept;

}  // namespace vantorel
