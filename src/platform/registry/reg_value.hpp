#pragma once
// One named, typed registry value. The data is kept exactly as the Windows registry keeps it
// (strings as UTF-16LE with their terminating NUL), so every type round-trips byte for byte.
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace vantorel::reg {

// Value type numbers of the Windows registry.
inline constexpr std::uint32_t kRegNone = 0;
inline constexpr std::uint32_t kRegSz = 1;
inline constexpr std::uint32_t kRegExpandSz = 2;
inline constexpr std::uint32_t kRegBinary = 3;
inline constexpr std::uint32_t kRegDword = 4;
inline constexpr std::uint32_t kRegDwordBigEndian = 5;
inline constexpr std::uint32_t kRegLink = 6;
inline constexpr std::uint32_t kRegMultiSz = 7;
inline constexpr std::uint32_t kRegQword = 11;

struct RegValue {
  std::u16string name;  // empty: the key's default value
  std::uint32_t type = kRegNone;
  std::vector<std::uint8_t> data;

  friend bool operator==(const RegValue&, const RegValue&) = default;
};

// UTF-16LE bytes of the text, without a terminator.
std::vector<std::uint8_t> utf16leBytes(std::u16string_view text);
// The text of UTF-16LE bytes; an odd last byte is ignored.
std::u16string fromUtf16leBytes(const std::vector<std::uint8_t>& bytes);

// A string value's data: the text and one terminating NUL.
std::vector<std::uint8_t> stringData(std::u16string_view text);
// The text of string data without its terminating NUL (when there is one).
std::u16string textOfStringData(const std::vector<std::uint8_t>& data);
// The entries of a multi-string joined and terminated as its data wants them.
std::vector<std::uint8_t> multiStringData(const std::vector<std::u16string>& entries);

// Four little-endian bytes.
std::vector<std::uint8_t> dwordData(std::uint32_t value);
// Up to the first four bytes, little-endian; missing bytes read as zero.
std::uint32_t dwordOf(const std::vector<std::uint8_t>& data) noexcept;

// The text when the data is exactly one string and its terminator, free of line breaks and
// unpaired surrogates, so that it can be written between quotes in a UTF-8 store file.
std::optional<std::u16string> plainStringOf(const std::vector<std::uint8_t>& data);

}  // namespace vantorel::reg
