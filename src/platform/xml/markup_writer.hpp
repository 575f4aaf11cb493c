#pragma once
// Markup written as it is made, byte for byte as a document built with xml_document.hpp and
// saved in its raw layout would be, without holding the document: for files too large to build
// whole in memory first.
#include <cstddef>
#include <functional>
#include <string>
#include <string_view>
#include <unordered_map>
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
  // is filled in linear time.
  struct NameHash {
    using is_transparent = void;
    std::size_t operator()(std::string_view name) const {
      return std::hash<std::string_view>{}(name);
    }
  };
  std::unordered_map<std::string, std::size_t, NameHash, std::equal_to<>> index_;
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
