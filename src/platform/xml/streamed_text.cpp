#include "platform/xml/streamed_text.hpp"

#include "platform/fs/files.hpp"
#include "platform/xml/xml_text.hpp"

namespace vantorel::xml {

namespace {

// Checked this far ahead of the reader, and released in steps of this size behind it.
constexpr std::size_t kWindow = std::size_t{4} << 20;

}  // namespace

bool StreamedText::open(std::u16string_view path, std::u16string& error, bool& unreadable) {
  unreadable = false;
  std::string_view bytes;
  if (!path.empty() && map_.open(path)) {
    bytes = map_.bytes();
    mapped_ = true;
  } else if (std::optional<std::string> read = path.empty() ? std::nullopt : fs::readFile(path)) {
    read_ = std::move(*read);
    bytes = read_;
  } else {
    unreadable = true;
    error = u"the file cannot be read";
    return false;
  }
  if (!viewAsUtf8(bytes, converted_, text_, error)) return false;
  if (mapped_ && text_.data() == converted_.data()) {
    mapped_ = false;  // converted: the mapping is not read again
  } else if (mapped_) {
    base_ = static_cast<std::size_t>(text_.data() - bytes.data());
  }
  checked_ = 0;
  return true;
}

bool StreamedText::advance(std::size_t readTo, std::u16string& error) {
  if (checked_ < readTo + kWindow / 2 && checked_ < text_.size()) {
    if (!checkXmlCharacters(text_, checked_, readTo + kWindow, error)) return false;
  }
  if (mapped_ && readTo > kWindow) map_.release(base_ + readTo - kWindow);
  return true;
}

}  // namespace vantorel::xml
