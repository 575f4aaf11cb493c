#pragma once
// TextStream: a whole text file read into memory, or text gathered in memory and written to
// the file when the stream is closed or released: replacing it atomically, or appended to it.
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "platform/automation/object.hpp"

namespace vantorel::vbs {

class TextStream : public Object {
 public:
  enum class Encoding { Ansi, Unicode };

  // Decodes the file's bytes: Unicode skips its byte-order mark; ANSI text that starts with a
  // UTF-16 LE byte-order mark is read as Unicode all the same.
  static Ref<TextStream> forReading(std::u16string path, std::string_view bytes, Encoding encoding);
  // `append` keeps what the file holds when the stream is closed and adds to it.
  static Ref<TextStream> forWriting(std::u16string path, bool append, Encoding encoding);

  ~TextStream() override;
  const ClassInfo& classInfo() const noexcept override;

  bool AtEndOfLine();
  bool AtEndOfStream();
  std::int32_t Column() const { return column_; }
  std::int32_t Line() const { return line_; }
  std::u16string Read(std::int32_t count);
  std::u16string ReadAll();
  std::u16string ReadLine();
  void Skip(std::int32_t count);
  void SkipLine();
  void Write(const std::u16string& text);
  void WriteLine(std::optional<std::u16string> text);
  void WriteBlankLines(std::int32_t count);
  void Close();

 protected:
  void terminate() noexcept override;

 private:
  enum class Direction { Read, Write, Append };
  TextStream(std::u16string path, Direction direction, Encoding encoding)
      : path_(std::move(path)), direction_(direction), encoding_(encoding) {}

  void requireReading();
  void requireWriting();
  // Moves past `count` characters, keeping Line and Column.
  void advance(std::size_t count);
  void track(std::u16string_view text);
  void flush();
  void forget() noexcept;
  friend void closeOpenTextStreams() noexcept;

  std::u16string path_;
  Direction direction_;
  Encoding encoding_;
  bool closed_ = false;
  std::u16string text_;  // what is read, or what waits to be written
  std::size_t position_ = 0;
  std::int32_t line_ = 1;
  std::int32_t column_ = 1;
  bool afterCarriageReturn_ = false;
};

// Writes out and closes every stream still open for writing, for a host about to end the
// process without releasing the script's objects (WScript.Quit). Main thread only.
void closeOpenTextStreams() noexcept;

}  // namespace vantorel::vbs
