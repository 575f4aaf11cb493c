#include "platform/vbscript/objects/ado_stream.hpp"

#include <algorithm>

#include "platform/automation/automation_error.hpp"
#include "platform/automation/bind.hpp"
#include "platform/automation/safe_array.hpp"
#include "platform/fs/files.hpp"
#include "platform/text/charset_name.hpp"
#include "platform/text/code_page.hpp"
#include "platform/vbscript/objects/file_system.hpp"

namespace vantorel::vbs {

namespace {

[[noreturn]] void raiseAdo(std::int32_t number) {
  std::u16string description;
  switch (number) {
    case adoerr::kInvalidArgument:
      description =
          u"Arguments are of the wrong type, are out of acceptable range, or are in conflict "
          u"with one another.";
      break;
    case adoerr::kOpeningFile:
      description = u"File could not be opened.";
      break;
    case adoerr::kWriteFile:
      description = u"Write to file failed.";
      break;
    case adoerr::kIllegalOperation:
      description = u"Operation is not allowed in this context.";
      break;
    case adoerr::kObjectClosed:
      description = u"Operation is not allowed when the object is closed.";
      break;
    case adoerr::kObjectOpen:
      description = u"Operation is not allowed when the object is open.";
      break;
    default:
      break;
  }
  throw AutomationError(number, u"ADODB.Stream", std::move(description));
}

// Code pages whose characters take one or two bytes; all others here take a fixed width.
bool isDoubleByte(int codePage) {
  switch (codePage) {
    case 932:
    case 936:
    case 949:
    case 950:
    case 50220:
    case 51932:
    case 51949:
    case 54936:
      return true;
    default:
      return false;
  }
}

}  // namespace

const ClassInfo& AdoStream::classInfo() const noexcept {
  static const ClassInfo& info = describeClass(u"Stream", [](ClassInfo& c) {
    using S = AdoStream;
    ClassBuilder<S>(c)
        .prop<&S::Type, &S::setType>(u"Type")
        .prop<&S::Mode, &S::setMode>(u"Mode")
        .prop<&S::Charset, &S::setCharset>(u"Charset")
        .prop<&S::LineSeparator, &S::setLineSeparator>(u"LineSeparator")
        .prop<&S::Position, &S::setPosition>(u"Position")
        .get<&S::Size>(u"Size")
        .get<&S::EOS>(u"EOS")
        .get<&S::State>(u"State")
        .method<&S::Open>(u"Open")
        .method<&S::Close>(u"Close")
        .method<&S::Flush>(u"Flush")
        .method<&S::Cancel>(u"Cancel")
        .method<&S::SetEOS>(u"SetEOS")
        .method<&S::LoadFromFile>(u"LoadFromFile")
        .method<&S::SaveToFile>(u"SaveToFile")
        .method<&S::ReadText>(u"ReadText")
        .method<&S::WriteText>(u"WriteText")
        .method<&S::SkipLine>(u"SkipLine")
        .method<&S::Read>(u"Read")
        .method<&S::Write>(u"Write")
        .method<&S::CopyTo>(u"CopyTo");
  });
  return info;
}

void AdoStream::requireOpen() const {
  if (!open_) raiseAdo(adoerr::kObjectClosed);
}

void AdoStream::requireType(std::int32_t type) const {
  requireOpen();
  if (type_ != type) raiseAdo(adoerr::kIllegalOperation);
}

void AdoStream::setType(std::int32_t type) {
  if (type != kTypeBinary && type != kTypeText) raiseAdo(adoerr::kInvalidArgument);
  if (open_ && position_ != 0) raiseAdo(adoerr::kIllegalOperation);
  type_ = type;
}

void AdoStream::setMode(std::int32_t mode) {
  if (open_) raiseAdo(adoerr::kObjectOpen);
  mode_ = mode;
}

void AdoStream::setCharset(const std::u16string& charset) {
  const int codePage = codePageOfCharset(charset);
  if (codePage == 0 || !isSupportedCodePage(codePage)) raiseAdo(adoerr::kInvalidArgument);
  if (open_ && position_ != 0) raiseAdo(adoerr::kIllegalOperation);
  charset_ = charset;
  codePage_ = codePage;
}

void AdoStream::setLineSeparator(std::int32_t separator) {
  if (separator != -1 && separator != 10 && separator != 13) raiseAdo(adoerr::kInvalidArgument);
  lineSeparator_ = separator;
}

std::int32_t AdoStream::Position() {
  requireOpen();
  return static_cast<std::int32_t>(position_);
}

void AdoStream::setPosition(std::int32_t position) {
  requireOpen();
  if (position < 0) raiseAdo(adoerr::kInvalidArgument);
  position_ = static_cast<std::size_t>(position);
  if (position_ > bytes_.size()) bytes_.resize(position_, '\0');
}

std::int32_t AdoStream::Size() {
  requireOpen();
  return static_cast<std::int32_t>(bytes_.size());
}

bool AdoStream::EOS() {
  requireOpen();
  return position_ >= bytes_.size();
}

void AdoStream::Open(std::optional<Variant> source, std::optional<std::int32_t> mode,
                     std::optional<std::int32_t> /*options*/,
                     std::optional<std::u16string> /*user*/,
                     std::optional<std::u16string> /*password*/) {
  if (open_) raiseAdo(adoerr::kObjectOpen);
  // Streams over URLs and records are not offered; an empty source opens an empty stream.
  if (source && !source->isEmpty() && !(source->isString() && source->stringValue().empty())) {
    raiseAdo(adoerr::kInvalidArgument);
  }
  if (mode) mode_ = *mode;
  open_ = true;
  bytes_.clear();
  position_ = 0;
}

void AdoStream::Close() {
  requireOpen();
  open_ = false;
  bytes_.clear();
  bytes_.shrink_to_fit();
  position_ = 0;
}

void AdoStream::Flush() {
  requireOpen();
}

void AdoStream::SetEOS() {
  requireOpen();
  if (position_ < bytes_.size()) bytes_.resize(position_);
}

void AdoStream::LoadFromFile(const std::u16string& path) {
  requireOpen();
  auto content = path.empty() ? std::nullopt : fs::readFile(fso::absolutePath(path));
  if (!content) raiseAdo(adoerr::kOpeningFile);
  bytes_ = std::move(*content);
  position_ = 0;
}

void AdoStream::SaveToFile(const std::u16string& path, std::optional<std::int32_t> options) {
  requireOpen();
  const std::int32_t mode = options.value_or(1);
  if (mode != 1 && mode != 2) raiseAdo(adoerr::kInvalidArgument);
  if (path.empty()) raiseAdo(adoerr::kWriteFile);
  const std::u16string target = fso::absolutePath(path);
  if (fs::folderExists(target)) raiseAdo(adoerr::kWriteFile);
  if (mode == 1 && fs::fileExists(target)) raiseAdo(adoerr::kWriteFile);
  try {
    fs::writeFileAtomic(target, bytes_);
  } catch (const fs::FileError&) {
    raiseAdo(adoerr::kWriteFile);
  }
  position_ = 0;
}

std::string_view AdoStream::byteOrderMark() const {
  switch (codePage_) {
    case kCodePageUtf16Le:
      return std::string_view("\xFF\xFE", 2);
    case kCodePageUtf16Be:
      return std::string_view("\xFE\xFF", 2);
    case kCodePageUtf8:
      return std::string_view("\xEF\xBB\xBF", 3);
    default:
      return {};
  }
}

void AdoStream::skipByteOrderMark() {
  const std::string_view mark = byteOrderMark();
  if (position_ == 0 && !mark.empty() && std::string_view(bytes_).starts_with(mark)) {
    position_ = mark.size();
  }
}

std::u16string AdoStream::decode(std::string_view bytes) const {
  if (codePage_ == kCodePageUtf16Le || codePage_ == kCodePageUtf16Be) {
    const bool little = codePage_ == kCodePageUtf16Le;
    std::u16string text;
    text.reserve(bytes.size() / 2);
    for (std::size_t i = 0; i + 1 < bytes.size(); i += 2) {
      const auto a = static_cast<unsigned char>(bytes[i]);
      const auto b = static_cast<unsigned char>(bytes[i + 1]);
      text.push_back(static_cast<char16_t>(little ? (a | (b << 8)) : ((a << 8) | b)));
    }
    return text;
  }
  return decodeCodePage(bytes, codePage_);
}

std::string AdoStream::encode(std::u16string_view text) const {
  if (codePage_ == kCodePageUtf16Le || codePage_ == kCodePageUtf16Be) {
    const bool little = codePage_ == kCodePageUtf16Le;
    std::string bytes;
    bytes.reserve(text.size() * 2);
    for (char16_t c : text) {
      const char low = static_cast<char>(c & 0xFF);
      const char high = static_cast<char>(c >> 8);
      bytes.push_back(little ? low : high);
      bytes.push_back(little ? high : low);
    }
    return bytes;
  }
  return encodeCodePage(text, codePage_);
}

std::size_t AdoStream::bytesForCharacters(std::size_t count) const {
  const std::size_t remaining = bytes_.size() - std::min(position_, bytes_.size());
  if (codePage_ == kCodePageUtf16Le || codePage_ == kCodePageUtf16Be) {
    return std::min(count * 2, remaining);
  }
  if (codePage_ == kCodePageUtf8) {
    std::size_t i = position_;
    std::size_t units = 0;
    while (i < bytes_.size() && units < count) {
      const auto lead = static_cast<unsigned char>(bytes_[i]);
      std::size_t length = 1;
      if (lead >= 0xF0 && lead <= 0xF7) {
        length = 4;
      } else if (lead >= 0xE0) {
        length = lead <= 0xEF ? 3 : 1;
      } else if (lead >= 0xC0) {
        length = 2;
      }
      // A malformed sequence decodes as one replacement per byte that cannot continue it.
      std::size_t taken = 1;
      while (taken < length && i + taken < bytes_.size() &&
             (static_cast<unsigned char>(bytes_[i + taken]) & 0xC0) == 0x80) {
        ++taken;
      }
      if (taken != length) taken = 1;
      units += taken == 4 ? 2 : 1;
      i += taken;
    }
    return i - position_;
  }
  if (isDoubleByte(codePage_)) {
    const std::size_t window = std::min(remaining, count * 4 + 4);
    const std::u16string text = decode(std::string_view(bytes_).substr(position_, window));
    if (text.size() <= count && window == remaining) return remaining;
    return std::min(remaining, encode(std::u16string_view(text).substr(0, count)).size());
  }
  return std::min(count, remaining);
}

std::size_t AdoStream::lineEnd(std::size_t& separatorLength) const {
  const std::u16string_view separator = lineSeparator_ == 10   ? u"\n"
                                        : lineSeparator_ == 13 ? u"\r"
                                                               : u"\r\n";
  const std::string encoded = encode(separator);
  separatorLength = encoded.size();
  const bool wide = codePage_ == kCodePageUtf16Le || codePage_ == kCodePageUtf16Be;
  std::size_t from = position_;
  for (;;) {
    const std::size_t found = bytes_.find(encoded, from);
    if (found == std::string::npos) return found;
    // In UTF-16 only a match on a character boundary counts.
    if (!wide || (found - position_) % 2 == 0) return found;
    from = found + 1;
  }
}

Variant AdoStream::ReadText(std::optional<std::int32_t> count) {
  requireType(kTypeText);
  const std::int32_t n = count.value_or(-1);
  if (n < -2) raiseAdo(adoerr::kInvalidArgument);
  skipByteOrderMark();
  // Empty text at the end, not the Null the reference describes: scripts that read an empty
  // file hand the result straight to Split or Replace.
  if (position_ >= bytes_.size()) return Variant(std::u16string());
  const std::string_view all(bytes_);
  if (n == -1) {
    const std::u16string text = decode(all.substr(position_));
    position_ = bytes_.size();
    return Variant(text);
  }
  if (n == -2) {
    std::size_t separatorLength = 0;
    const std::size_t end = lineEnd(separatorLength);
    if (end == std::string::npos) {
      const std::u16string text = decode(all.substr(position_));
      position_ = bytes_.size();
      return Variant(text);
    }
    const std::u16string text = decode(all.substr(position_, end - position_));
    position_ = end + separatorLength;
    return Variant(text);
  }
  const std::size_t length = bytesForCharacters(static_cast<std::size_t>(n));
  const std::u16string text = decode(all.substr(position_, length));
  position_ += length;
  return Variant(text);
}

void AdoStream::writeBytes(std::string_view data) {
  if (position_ > bytes_.size()) bytes_.resize(position_, '\0');
  const std::size_t overlap = std::min(data.size(), bytes_.size() - position_);
  bytes_.replace(position_, overlap, data);
  position_ += data.size();
}

void AdoStream::WriteText(const std::u16string& text, std::optional<std::int32_t> options) {
  requireType(kTypeText);
  const std::int32_t option = options.value_or(0);
  if (option != 0 && option != 1) raiseAdo(adoerr::kInvalidArgument);
  if (position_ == 0) {
    const std::string_view mark = byteOrderMark();
    if (bytes_.empty()) {
      writeBytes(mark);
    } else if (!mark.empty() && std::string_view(bytes_).starts_with(mark)) {
      position_ = mark.size();
    }
  }
  std::u16string data = text;
  if (option == 1) {
    data += lineSeparator_ == 10 ? u"\n" : lineSeparator_ == 13 ? u"\r" : u"\r\n";
  }
  writeBytes(encode(data));
}

void AdoStream::SkipLine() {
  requireType(kTypeText);
  ReadText(-2);
}

Variant AdoStream::Read(std::optional<std::int32_t> count) {
  requireType(kTypeBinary);
  const std::int32_t n = count.value_or(-1);
  if (n < -1) raiseAdo(adoerr::kInvalidArgument);
  if (position_ >= bytes_.size()) return Variant::null();
  const std::size_t remaining = bytes_.size() - position_;
  const std::size_t length = n == -1 ? remaining : std::min(remaining, static_cast<std::size_t>(n));
  std::vector<Variant> values;
  values.reserve(length);
  for (std::size_t i = 0; i < length; ++i) {
    values.emplace_back(static_cast<std::uint8_t>(bytes_[position_ + i]));
  }
  position_ += length;
  return Variant(SafeArray::fromValues(std::move(values), VarType::Byte));
}

void AdoStream::Write(const Variant& buffer) {
  requireType(kTypeBinary);
  if (!buffer.isArray()) raiseAdo(adoerr::kInvalidArgument);
  const SafeArray& array = buffer.arrayValue();
  if (array.rank() != 1) raiseAdo(adoerr::kInvalidArgument);
  std::string data;
  data.reserve(array.size());
  for (const Variant& element : array.elements())
    data.push_back(static_cast<char>(toByte(element)));
  writeBytes(data);
}

void AdoStream::CopyTo(AdoStream* destination, std::optional<std::int32_t> count) {
  requireOpen();
  if (!destination) raiseAdo(adoerr::kInvalidArgument);
  destination->requireOpen();
  const std::int32_t n = count.value_or(-1);
  if (n < -1) raiseAdo(adoerr::kInvalidArgument);
  if (position_ >= bytes_.size()) return;
  const std::size_t remaining = bytes_.size() - position_;
  std::size_t length = remaining;
  if (n >= 0) {
    length = type_ == kTypeText ? bytesForCharacters(static_cast<std::size_t>(n))
                                : std::min(remaining, static_cast<std::size_t>(n));
  }
  // Copied first: the destination may be this very stream.
  const std::string data = bytes_.substr(position_, length);
  position_ += length;
  destination->writeBytes(data);
}

}  // namespace vantorel::vbs
