#pragma once
// Markup written as it is made, byte for byte as a document built with xml_document.hpp and
// saved in its raw layout would be, without holding the document: for files too large to build
// whole in memory first.
#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace vantorel::xml {

// An element's start tag while it is being filled: its name and its attributes in the order
// first given. Reused from element to element, so that its strings keep their memory.
class StartTag {
 public:
  void reset(std::string_view name);
  const std::string& name() const { return name_; }
  // Adds an attribute without looking for one of the same name: for names known to differ.
  void add(std::string_view name, std::string_view value);
  // Replaces the value of the attribute of that name where it is, or adds one.
  void set(std::string_view name, std::string_view value);

  struct Attribute {
    std::string name;
    std::string value;
  };
  const Attribute* begin() const { return attributes_.data(); }
  const Attribute* end() const { return attributes_.data() + count_; }

 private:
  std::string name_;
  std::vector<Attribute> attributes_;  // the first count_ are in use
  std::size_t count_ = 0;
  // The positions by name, from the first set() on: a tag of many settings whose names may repeat
  // is filled in linear time. Open addressing over the positions, with each name's hash beside
  // its position, keeps the index one flat array reused from tag to tag: no node a name, and
  // names are compared only where the hashes agree.
  struct Slot {
    std::uint32_t hash = 0;
    std::uint32_t position = kFree;
  };
  static constexpr std::uint32_t kFree = 0xFFFFFFFF;
  // Kept here to be inlined: add() is the writer's most frequent call.
  void append(std::string_view name, std::string_view value) {
    if (count_ == attributes_.size()) attributes_.emplace_back();
    Attribute& attribute = attributes_[count_];
    attribute.name.assign(name);
    attribute.value.assign(value);
    ++count_;
  }
  void index(std::size_t position, std::uint32_t hash);
  void growIndex();
  std::vector<Slot> slots_;  // a power of two in size, at most half of them in use
  bool indexed_ = false;
};

// Writes UTF-8 markup to a sink in pieces of about a buffer's size. Values are escaped as the
// document's raw layout escapes them; names are written as given.
class MarkupWriter {
 public:
  using Sink = std::function<void(std::string_view)>;
  explicit MarkupWriter(Sink sink, std::size_t bufferSize = 256 * 1024);

  // Markup written as given: a declaration, a byte-order mark.
  void raw(std::string_view bytes);
  void open(const StartTag& tag);   // <name a="v">
  void empty(const StartTag& tag);  // <name a="v"/>
  void close(std::string_view name);
  void lineBreak() { raw("\r\n"); }
  // The text up to its first NUL as CDATA, a "]]>" in it split over two sections.
  void cdata(std::string_view text);
  // Hands what is buffered to the sink.
  void flush();

 private:
  void startTag(const StartTag& tag);
  void escapedAttributeValue(std::string_view value);
  void spill();

  Sink sink_;
  std::string buffer_;
  std::size_t bufferSize_;
};

}  // namespace vantorel::xml
