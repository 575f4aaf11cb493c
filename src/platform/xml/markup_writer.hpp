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
  // About how many attributes are still to come: the name index, once set() needs it, is then
  // sized once instead of doubling its way up.
  void expect(std::size_t attributes) { expected_ = count_ + attributes; }

  // An attribute as the tag holds it; its text stays valid until the tag changes.
  struct Attribute {
    std::string_view name;
    std::string_view value;
  };
  class Iterator {
   public:
    Iterator(const StartTag* tag, std::size_t position) : tag_(tag), position_(position) {}
    Attribute operator*() const { return tag_->at(position_); }
    Iterator& operator++() {
      ++position_;
      return *this;
    }
    bool operator!=(const Iterator& other) const { return position_ != other.position_; }

   private:
    const StartTag* tag_;
    std::size_t position_;
  };
  std::size_t size() const { return count_; }
  Iterator begin() const { return Iterator(this, 0); }
  Iterator end() const { return Iterator(this, count_); }

 private:
  // Every name and value lies in one buffer, each found by its offset and size: a tag of many
  // settings then keeps its text in one block, not two allocations an attribute.
  struct Span {
    std::uint32_t at = 0;
    std::uint32_t size = 0;
  };
  struct Entry {
    Span name;
    Span value;
  };
  std::string_view text(Span span) const { return std::string_view(text_).substr(span.at, span.size); }
  Attribute at(std::size_t position) const {
    const Entry& entry = entries_[position];
    return Attribute{text(entry.name), text(entry.value)};
  }
  Span store(std::string_view bytes) {
    const Span span{static_cast<std::uint32_t>(text_.size()), static_cast<std::uint32_t>(bytes.size())};
    text_.append(bytes);
    return span;
  }

  std::string name_;
  std::string text_;
  std::vector<Entry> entries_;  // the first count_ are in use
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
    if (count_ == entries_.size()) entries_.emplace_back();
    Entry& entry = entries_[count_];
    entry.name = store(name);
    entry.value = store(value);
    ++count_;
  }
  void index(std::size_t position, std::uint32_t hash);
  void growIndex();
  std::vector<Slot> slots_;  // a power of two in size, at most half of them in use
  bool indexed_ = false;
  std::size_t expected_ = 0;
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
