#pragma once
// A pull parser over UTF-8 text for the large files the engine reads element by element: it
// hands out one start tag, end tag, text or CDATA section at a time and keeps nothing of what
// it has passed, so a reader can build its own objects without a document beside them.
//
// It reads what the documents of ReadMode::Exact read: references to the five predefined
// entities and to characters are expanded, anything else after '&' stays as written; line ends
// and blanks are never normalised; whitespace-only text, comments, processing instructions and
// the document type (with its internal subset) are skipped. Elements beside the root are parsed
// and passed on like the root itself.
#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "platform/xml/xml_text.hpp"

namespace vantorel::xml {

inline constexpr std::size_t kNoOffset = static_cast<std::size_t>(-1);

// One attribute of the current start tag, references in the value expanded. Both views stay
// valid until the next call of next(); they do not end in '\0'.
struct AttributeView {
  std::string_view name;
  std::string_view value;
  // Byte offset of the name in the text; kNoOffset for an attribute not read from a text.
  std::size_t offset = kNoOffset;
  // Byte offset of the first place in the value, a character reference or the character itself,
  // that stands for a character XML 1.0 documents cannot hold (NUL, a control character other
  // than tab, line feed and carriage return, a surrogate, U+FFFE, U+FFFF, beyond U+10FFFF);
  // kNoOffset when there is none. Such a reference is expanded all the same, but for one to NUL,
  // a surrogate or beyond U+10FFFF, which stays as written.
  std::size_t unholdableAt = kNoOffset;
  // The name is ASCII letters, digits, '_', '-' and '.' only, a name every XML reader takes as
  // it is; false when it holds ':' or a character beyond ASCII, or was not read from a text.
  bool plainName = false;
};

class PullParser {
 public:
  enum class Event { StartElement, EndElement, Text, CData, End, Error };

  // The text must outlive the parser.
  explicit PullParser(std::string_view utf8) : text_(utf8) {}

  // The next event. After End or Error every call returns the same again.
  Event next();

  // StartElement and EndElement: the element's name ('\0'-terminated).
  const char* name() const noexcept { return current_; }
  // StartElement: its attributes in document order. An element written as "<a/>" gives its
  // EndElement right after.
  std::span<const AttributeView> attributes() const noexcept { return attributes_; }
  // StartElement: every attribute has a plain name and a value without a character XML cannot
  // hold, as most tags have; a reader that judges them may pass such a tag over.
  bool plainAttributes() const noexcept { return plainAttributes_; }
  // StartElement: the tag was written "<a/>".
  bool emptyElement() const noexcept { return pendingEnd_; }
  // Text and CData: the content, references expanded.
  std::string_view content() const noexcept { return content_; }
  // Elements open around the current event, the current start tag included.
  std::size_t depth() const noexcept { return names_.size(); }
  // Byte offset of the current event's first character ('<' of a tag); for Error, of the place
  // where reading stopped.
  std::size_t offset() const noexcept { return start_; }
  // How far the parser has read; nothing before it is looked at again.
  std::size_t consumed() const noexcept { return pos_; }
  // Error: what was wrong ("unclosed comment", ...).
  const std::string& error() const noexcept { return error_; }

 private:
  Event fail(std::size_t at, std::string what);
  Event startTag();
  Event endTag();
  bool skipPast(std::string_view close);
  bool skipDoctype();
  // The end of the name that starts at from (from itself when none does); `unusual` tells
  // whether it holds ':' or a character beyond ASCII.
  std::size_t nameEnd(std::size_t from, bool& unusual) const noexcept;
  void skipBlanks() noexcept {
    while (pos_ < text_.size() && isXmlBlank(text_[pos_])) ++pos_;
  }

  std::string_view text_;
  std::size_t pos_ = 0;
  std::size_t start_ = 0;
  bool seenRoot_ = false;
  bool pendingEnd_ = false;  // the start tag just given was "<a/>"
  bool plainAttributes_ = true;
  bool finished_ = false;
  Event last_ = Event::End;
  const char* current_ = "";
  std::vector<std::string> names_;
  std::string closed_;  // the name of the element the last EndElement closed
  // Values with references, expanded; the other views point into the text itself.
  std::string storage_;
  // Where each expanded value lies in storage_, which may move while it grows.
  struct Expanded {
    std::size_t attribute, from, size;
  };
  std::vector<Expanded> expanded_;
  std::vector<AttributeView> attributes_;
  std::string contentStorage_;
  std::string_view content_;
  std::string error_;
};

}  // namespace vantorel::xml

namespace vantorel::xml {

// How many nodes an element holds directly (elements, CDATA sections and runs of text that are
// not all blanks), counted by a quick pass over its content from `from`, the offset just after
// its start tag, to its end tag. Malformed content ends the count where it is found.
std::size_t countChildNodes(std::string_view utf8, std::size_t from);

}  // namespace vantorel::xml
