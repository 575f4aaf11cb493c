#pragma once
// ADODB.Stream: bytes in memory with a position, read and written as binary or as text in a
// character set, loaded from and saved to files.
#include <cstdint>
#include <optional>
#include <string>

#include "platform/automation/object.hpp"

namespace vantorel::vbs {

// ADO's error numbers, as scripts see them in Err.Number.
namespace adoerr {
constexpr std::int32_t kInvalidArgument = 3001;
constexpr std::int32_t kOpeningFile = 3002;
constexpr std::int32_t kWriteFile = 3004;
constexpr std::int32_t kIllegalOperation = 3219;
constexpr std::int32_t kObjectClosed = 3704;
constexpr std::int32_t kObjectOpen = 3705;
}  // namespace adoerr

class AdoStream : public Object {
 public:
  static constexpr std::int32_t kTypeBinary = 1;
  static constexpr std::int32_t kTypeText = 2;

  const ClassInfo& classInfo() const noexcept override;

  std::int32_t Type() const { return type_; }
  void setType(std::int32_t type);
  std::int32_t Mode() const { return mode_; }
  void setMode(std::int32_t mode);
  std::u16string Charset() const { return charset_; }
  void setCharset(const std::u16string& charset);
  std::int32_t LineSeparator() const { return lineSeparator_; }
  void setLineSeparator(std::int32_t separator);
  std::int32_t State() const { return open_ ? 1 : 0; }
  std::int32_t Position();
  void setPosition(std::int32_t position);
  std::int32_t Size();
  bool EOS();

  void Open(std::optional<Variant> source, std::optional<std::int32_t> mode,
            std::optional<std::int32_t> options, std::optional<std::u16string> user,
            std::optional<std::u16string> password);
  void Close();
  void Flush();
  void Cancel() {}
  void SetEOS();
  void LoadFromFile(const std::u16string& path);
  void SaveToFile(const std::u16string& path, std::optional<std::int32_t> options);
  Variant ReadText(std::optional<std::int32_t> count);
  void WriteText(const std::u16string& text, std::optional<std::int32_t> options);
  void SkipLine();
  Variant Read(std::optional<std::int32_t> count);
  void Write(const Variant& buffer);
  void CopyTo(AdoStream* destination, std::optional<std::int32_t> count);

  // The stored bytes, for C++ callers and tests.
  const std::string& bytes() const noexcept { return bytes_; }

 private:
  void requireOpen() const;
  void requireType(std::int32_t type) const;
  std::string_view byteOrderMark() const;
  void skipByteOrderMark();
  // Bytes from the position that hold `count` characters (all that remain when fewer do).
  std::size_t bytesForCharacters(std::size_t count) const;
  std::size_t lineEnd(std::size_t& separatorLength) const;
  std::u16string decode(std::string_view bytes) const;
  std::string encode(std::u16string_view text) const;
  void writeBytes(std::string_view bytes);

  std::int32_t type_ = kTypeText;
  std::int32_t mode_ = 0;
  std::u16string charset_ = u"Unicode";
  int codePage_ = 1200;
  std::int32_t lineSeparator_ = -1;
  bool open_ = false;
  std::string bytes_;
  std::size_t position_ = 0;
};

}  // namespace vantorel::vbs
