#include "platform/registry/reg_value.hpp"

namespace vantorel::reg {

std::vector<std::uint8_t> utf16leBytes(std::u16string_view text) {
  std::vector<std::uint8_t> bytes;
  bytes.reserve(text.size() * 2);
  for (char16_t c : text) {
    bytes.push_back(static_cast<std::uint8_t>(c & 0xFF));
    bytes.push_back(static_cast<std::uint8_t>(c >> 8));
  }
  return bytes;
}

std::u16string fromUtf16leBytes(const std::vector<std::uint8_t>& bytes) {
  std::u16string text;
  text.reserve(bytes.size() / 2);
  for (std::size_t i = 0; i + 1 < bytes.size(); i += 2) {
    text.push_back(static_cast<char16_t>(bytes[i] | (bytes[i + 1] << 8)));
  }
  return text;
}

std::vector<std::uint8_t> stringData(std::u16string_view text) {
  std::vector<std::uint8_t> data = utf16leBytes(text);
  data.push_back(0);
  data.push_back(0);
  return data;
}

std::u16string textOfStringData(const std::vector<std::uint8_t>& data) {
  std::u16string text = fromUtf16leBytes(data);
  if (!text.empty() && text.back() == u'\0') text.pop_back();
  return text;
}

std::vector<std::uint8_t> multiStringData(const std::vector<std::u16string>& entries) {
  std::u16string joined;
  for (const auto& entry : entries) {
    joined += entry;
    joined.push_back(u'\0');
  }
  return stringData(joined);
}

std::vector<std::uint8_t> dwordData(std::uint32_t value) {
  return {static_cast<std::uint8_t>(value), static_cast<std::uint8_t>(value >> 8),
          static_cast<std::uint8_t>(value >> 16), static_cast<std::uint8_t>(value >> 24)};
}

std::uint32_t dwordOf(const std::vector<std::uint8_t>& data) noexcept {
  std::uint32_t value = 0;
  for (std::size_t i = 0; i < data.size() && i < 4; ++i) {
    value |= static_cast<std::uint32_t>(data[i]) << (8 * i);
  }
  return value;
}

std::optional<std::u16string> plainStringOf(const std::vector<std::uint8_t>& data) {
  if (data.size() < 2 || data.size() % 2 != 0) return std::nullopt;
  std::u16string text = fromUtf16leBytes(data);
  if (text.back() != u'\0') return std::nullopt;
  text.pop_back();
  for (std::size_t i = 0; i < text.size(); ++i) {
    char16_t c = text[i];
    if (c == u'\0' || c == u'\r' || c == u'\n') return std::nullopt;
    if (c >= 0xD800 && c <= 0xDBFF) {
      if (i + 1 < text.size() && text[i + 1] >= 0xDC00 && text[i + 1] <= 0xDFFF) {
        ++i;
        continue;
      }
      return std::nullopt;
    }
    if (c >= 0xDC00 && c <= 0xDFFF) return std::nullopt;
  }
  return text;
}

}  // namespace vantorel::reg
