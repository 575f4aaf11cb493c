#include "platform/xml/streamed_text.hpp"

#include "platform/fs/files.hpp"
#include "platform/xml/xml_text.hpp"

namespace vantorel::xml {

namespace {

// Checked this far ahead of the reader.
constexpr std::size_t kWindow = std::size_t{4} << 20;

}  // namespace

bool StreamedText::open(std::u16string_view path, std::u16string& error, bool& unreadable) {
  unreadable = false;
  std::string_view bytes;
  // Read, not mapped: a mapped file that another program shortens while it is read would end
  // the process with SIGBUS instead of a refused load.
  if (std::optional<std::string> read = path.empty() ? std::nullopt : fs::readFile(path)) {
    read_ = std::move(*read);
    bytes = read_;
  } else {
    unreadable = true;
    error = u"the file cannot be read";
    return false;
  }
  if (!viewAsUtf8(bytes, converted_, text_, error)) return false;
  if (text_.data() == converted_.data()) std::string().swap(read_);  // only the text is read on
  checked_ = 0;
  return true;
}

bool StreamedText::advance(std::size_t readTo, std::u16string& error) {
  if (checked_ < readTo + kWindow / 2 && checked_ < text_.size()) {
    if (!checkXmlCharacters(text_, checked_, readTo + kWindow, error)) return false;
  }
  return true;
}

}  // namespace vantorel::xml
