#include "platform/vbscript/objects/text_stream.hpp"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <mutex>
#include <vector>

#include "platform/automation/automation_error.hpp"
#include "platform/automation/bind.hpp"
#include "platform/fs/files.hpp"
#include "platform/fs/path.hpp"
#include "platform/text/byte_order_mark.hpp"
#include "platform/text/code_page.hpp"

namespace vantorel::vbs {

namespace {

std::u16string decodeUtf16Le(std::string_view bytes) {
  std::u16string text;
  text.reserve(bytes.size() / 2);
  for (std::size_t i = 0; i + 1 < bytes.size(); i += 2) {
    text.push_back(static_cast<char16_t>(static_cast<unsigned char>(bytes[i]) |
                                         (static_cast<unsigned char>(bytes[i + 1]) << 8)));
  }
  return text;
}

std::string encodeUtf16Le(std::u16string_view text) {
  std::string bytes;
  bytes.reserve(text.size() * 2);
  for (char16_t c : text) {
    bytes.push_back(static_cast<char>(c & 0xFF));
    bytes.push_back(static_cast<char>(c >> 8));
  }
  return bytes;
}

constexpr std::string_view kUtf16LeMark("\xFF\xFE", 2);

bool isLineEnd(char16_t c) {
  return c == u'\r' || c == u'\n';
}

// Appends in place: a log written line by line stays linear, and nothing already in the file
// is rewritten. An empty Unicode file gets its byte-order mark first.
void appendToFile(const std::u16string& path, std::string_view bytes, bool unicode) {
  const int fd =
      ::open(fs::toNative(path).c_str(), O_WRONLY | O_APPEND | O_CREAT | O_CLOEXEC, 0666);
  if (fd < 0)
    throw fs::FileError(std::string("cannot append to the file: ") + std::strerror(errno));
  struct stat st {};
  std::string data;
  if (unicode && ::fstat(fd, &st) == 0 && st.st_size == 0) data.append(kUtf16LeMark);
  data.append(bytes);
  std::size_t done = 0;
  while (done < data.size()) {
    const ssize_t n = ::write(fd, data.data() + done, data.size() - done);
    if (n < 0) {
      if (errno == EINTR) continue;
      const int error = errno;
      ::close(fd);
      throw fs::FileError(std::string("cannot append to the file: ") + std::strerror(error));
    }
    done += static_cast<std::size_t>(n);
  }
  if (::close(fd) != 0) throw fs::FileError("cannot append to the file");
}

// Streams open for writing, so that their text survives a process that ends at once.
std::mutex openWritersMutex;
std::vector<TextStream*>& openWriters() {
  static std::vector<TextStream*> writers;
  return writers;
}

}  // namespace

TextStream::~TextStream() {
  forget();
}

void TextStream::forget() noexcept {
  if (direction_ == Direction::Read) return;
  std::lock_guard lock(openWritersMutex);
  auto& writers = openWriters();
  writers.erase(std::remove(writers.begin(), writers.end(), this), writers.end());
}

void closeOpenTextStreams() noexcept {
  std::vector<TextStream*> writers;
  {
    std::lock_guard lock(openWritersMutex);
    writers.swap(openWriters());
  }
  for (TextStream* stream : writers) {
    try {
      stream->flush();
    } catch (...) {
      // The process is ending; what could not be written is lost either way.
    }
    stream->closed_ = true;
  }
}

Ref<TextStream> TextStream::forReading(std::u16string path, std::string_view bytes,
                                       Encoding encoding) {
  Ref<TextStream> stream(new TextStream(std::move(path), Direction::Read, encoding));
  // A UTF-8 mark stays in ANSI text as three characters, as the Windows runtime reads it.
  if (detectByteOrderMark(bytes) == ByteOrderMark::Utf16LittleEndian) {
    stream->encoding_ = Encoding::Unicode;
    stream->text_ = decodeUtf16Le(bytes.substr(2));
  } else if (encoding == Encoding::Unicode) {
    stream->text_ = decodeUtf16Le(bytes);
  } else {
    stream->text_ = fromAnsi(bytes);
  }
  return stream;
}

Ref<TextStream> TextStream::forWriting(std::u16string path, bool append, Encoding encoding) {
  Ref<TextStream> stream(
      new TextStream(std::move(path), append ? Direction::Append : Direction::Write, encoding));
  std::lock_guard lock(openWritersMutex);
  openWriters().push_back(stream.get());
  return stream;
}

const ClassInfo& TextStream::classInfo() const noexcept {
  static const ClassInfo& info = describeClass(u"TextStream", [](ClassInfo& c) {
    ClassBuilder<TextStream>(c)
        .get<&TextStream::AtEndOfLine>(u"AtEndOfLine")
        .get<&TextStream::AtEndOfStream>(u"AtEndOfStream")
        .get<&TextStream::Column>(u"Column")
        .get<&TextStream::Line>(u"Line")
        .method<&TextStream::Read>(u"Read")
        .method<&TextStream::ReadAll>(u"ReadAll")
        .method<&TextStream::ReadLine>(u"ReadLine")
        .method<&TextStream::Skip>(u"Skip")
        .method<&TextStream::SkipLine>(u"SkipLine")
        .method<&TextStream::Write>(u"Write")
        .method<&TextStream::WriteLine>(u"WriteLine")
        .method<&TextStream::WriteBlankLines>(u"WriteBlankLines")
        .method<&TextStream::Close>(u"Close");
  });
  return info;
}

void TextStream::requireReading() {
  if (closed_) raiseVbError(vberr::kBadFileNameOrNumber);
  if (direction_ != Direction::Read) raiseVbError(vberr::kBadFileMode);
}

void TextStream::requireWriting() {
  if (closed_) raiseVbError(vberr::kBadFileNameOrNumber);
  if (direction_ == Direction::Read) raiseVbError(vberr::kBadFileMode);
}

// CR, LF and CR LF each end one line; the LF of a CR LF pair starts no new one.
void TextStream::track(std::u16string_view text) {
  for (char16_t c : text) {
    if (c == u'\r') {
      ++line_;
      column_ = 1;
      afterCarriageReturn_ = true;
      continue;
    }
    if (c == u'\n') {
      if (!afterCarriageReturn_) ++line_;
      column_ = 1;
    } else {
      ++column_;
    }
    afterCarriageReturn_ = false;
  }
}

void TextStream::advance(std::size_t count) {
  count = std::min(count, text_.size() - position_);
  track(std::u16string_view(text_).substr(position_, count));
  position_ += count;
}

bool TextStream::AtEndOfLine() {
  requireReading();
  return position_ >= text_.size() || isLineEnd(text_[position_]);
}

bool TextStream::AtEndOfStream() {
  requireReading();
  return position_ >= text_.size();
}

std::u16string TextStream::Read(std::int32_t count) {
  requireReading();
  if (count < 0) raiseVbError(vberr::kInvalidProcedureCall);
  if (count > 0 && position_ >= text_.size()) raiseVbError(vberr::kInputPastEndOfFile);
  const std::size_t start = position_;
  advance(static_cast<std::size_t>(count));
  return text_.substr(start, position_ - start);
}

std::u16string TextStream::ReadAll() {
  requireReading();
  if (position_ >= text_.size()) raiseVbError(vberr::kInputPastEndOfFile);
  const std::size_t start = position_;
  advance(text_.size() - position_);
  return text_.substr(start);
}

std::u16string TextStream::ReadLine() {
  requireReading();
  if (position_ >= text_.size()) raiseVbError(vberr::kInputPastEndOfFile);
  std::size_t end = position_;
  while (end < text_.size() && !isLineEnd(text_[end])) ++end;
  std::u16string line = text_.substr(position_, end - position_);
  std::size_t consumed = end - position_;
  if (end < text_.size()) {
    consumed += (text_[end] == u'\r' && end + 1 < text_.size() && text_[end + 1] == u'\n') ? 2 : 1;
  }
  advance(consumed);
  return line;
}

void TextStream::Skip(std::int32_t count) {
  requireReading();
  if (count < 0) raiseVbError(vberr::kInvalidProcedureCall);
  if (count > 0 && position_ >= text_.size()) raiseVbError(vberr::kInputPastEndOfFile);
  advance(static_cast<std::size_t>(count));
}

void TextStream::SkipLine() {
  ReadLine();
}

void TextStream::Write(const std::u16string& text) {
  requireWriting();
  // An ANSI file cannot hold a character its code page lacks; refused, as Windows does,
  // rather than written as '?'.
  if (encoding_ == Encoding::Ansi && fromAnsi(toAnsi(text)) != text) {
    raiseVbError(vberr::kInvalidProcedureCall);
  }
  text_ += text;
  track(text);
}

void TextStream::WriteLine(std::optional<std::u16string> text) {
  Write(text.value_or(std::u16string()) + u"\r\n");
}

void TextStream::WriteBlankLines(std::int32_t count) {
  requireWriting();
  if (count < 0) raiseVbError(vberr::kInvalidProcedureCall);
  std::u16string lines;
  for (std::int32_t i = 0; i < count; ++i) lines += u"\r\n";
  Write(lines);
}

void TextStream::flush() {
  if (closed_ || direction_ == Direction::Read) return;
  std::string bytes;
  if (encoding_ == Encoding::Unicode) {
    bytes = encodeUtf16Le(text_);
  } else {
    bytes = toAnsi(text_);
  }
  if (direction_ == Direction::Append) {
    appendToFile(path_, bytes, encoding_ == Encoding::Unicode);
  } else {
    if (encoding_ == Encoding::Unicode) bytes.insert(0, kUtf16LeMark);
    fs::writeFileAtomic(path_, bytes);
  }
}

void TextStream::Close() {
  if (closed_) return;
  try {
    flush();
  } catch (const fs::FileError&) {
    raiseVbError(vberr::kPermissionDenied);
  }
  closed_ = true;
  text_.clear();
  forget();
}

void TextStream::terminate() noexcept {
  try {
    flush();
  } catch (...) {
    // Nobody is left to tell; a script that wants to know calls Close.
  }
  closed_ = true;
  forget();
}

}  // namespace vantorel::vbs
