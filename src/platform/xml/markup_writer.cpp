#include "platform/xml/markup_writer.hpp"

#include <algorithm>
#include <array>
#include <cstdint>
#include <functional>
#include <utility>

namespace vantorel::xml {

namespace {

std::uint32_t nameHash(std::string_view name) {
  return static_cast<std::uint32_t>(std::hash<std::string_view>{}(name));
}

}  // namespace

void StartTag::reset(std::string_view name) {
  name_.assign(name);
  text_.clear();
  count_ = 0;
  indexed_ = false;
  expected_ = 0;
}

void StartTag::add(std::string_view name, std::string_view value) {
  append(name, value);
  if (indexed_) index(count_ - 1, nameHash(name));
}

void StartTag::set(std::string_view name, std::string_view value) {
  if (!indexed_) {
    std::size_t size = 16;
    while (size < 2 * (std::max(count_, expected_) + 1)) size *= 2;
    slots_.assign(size, Slot{});
    for (std::size_t i = 0; i < count_; ++i) index(i, nameHash(text(entries_[i].name)));
    indexed_ = true;
  }
  const std::uint32_t hash = nameHash(name);
  const std::size_t mask = slots_.size() - 1;
  for (std::size_t i = hash & mask;; i = (i + 1) & mask) {
    const Slot& slot = slots_[i];
    if (slot.position == kFree) break;
    if (slot.hash == hash && text(entries_[slot.position].name) == name) {
      Span& old = entries_[slot.position].value;
      // A value no longer than the one it replaces takes its place; a longer one goes to the end.
      if (value.size() <= old.size) {
        text_.replace(old.at, value.size(), value);
        old.size = static_cast<std::uint32_t>(value.size());
      } else {
        old = store(value);
      }
      return;
    }
  }
  append(name, value);
  index(count_ - 1, hash);
}

void StartTag::index(std::size_t position, std::uint32_t hash) {
  if (2 * (position + 1) > slots_.size()) growIndex();
  const std::size_t mask = slots_.size() - 1;
  std::size_t i = hash & mask;
  while (slots_[i].position != kFree) i = (i + 1) & mask;
  slots_[i] = Slot{hash, static_cast<std::uint32_t>(position)};
}

void StartTag::growIndex() {
  std::vector<Slot> old(slots_.size() * 2);
  old.swap(slots_);
  const std::size_t mask = slots_.size() - 1;
  for (const Slot& slot : old) {
    if (slot.position == kFree) continue;
    std::size_t i = slot.hash & mask;
    while (slots_[i].position != kFree) i = (i + 1) & mask;
    slots_[i] = slot;
  }
}

namespace {

// What a byte of an attribute value becomes: nothing for the bytes written as they are.
constexpr std::array<std::string_view, 128> attributeEscapes() {
  std::array<std::string_view, 128> escapes{};
  constexpr std::string_view kControls[] = {
      "",      "&#01;", "&#02;", "&#03;", "&#04;", "&#05;", "&#06;", "&#07;",
      "&#08;", "&#09;", "&#10;", "&#11;", "&#12;", "&#13;", "&#14;", "&#15;",
      "&#16;", "&#17;", "&#18;", "&#19;", "&#20;", "&#21;", "&#22;", "&#23;",
      "&#24;", "&#25;", "&#26;", "&#27;", "&#28;", "&#29;", "&#30;", "&#31;"};
  for (std::size_t c = 1; c < 32; ++c) escapes[c] = kControls[c];
  escapes['&'] = "&amp;";
  escapes['<'] = "&lt;";
  escapes['"'] = "&quot;";
  return escapes;
}
constexpr std::array<std::string_view, 128> kAttributeEscapes = attributeEscapes();

}  // namespace

MarkupWriter::MarkupWriter(Sink sink, std::size_t bufferSize)
    : sink_(std::move(sink)), bufferSize_(bufferSize) {
  buffer_.reserve(bufferSize_ + bufferSize_ / 4);
}

void MarkupWriter::spill() {
  if (buffer_.size() >= bufferSize_) flush();
}

void MarkupWriter::flush() {
  if (buffer_.empty()) return;
  sink_(buffer_);
  buffer_.clear();
}

void MarkupWriter::raw(std::string_view bytes) {
  buffer_.append(bytes);
  spill();
}

void MarkupWriter::escapedAttributeValue(std::string_view value) {
  std::size_t plain = 0;
  for (std::size_t i = 0; i < value.size(); ++i) {
    const auto byte = static_cast<unsigned char>(value[i]);
    if (byte >= 128 || kAttributeEscapes[byte].empty()) continue;
    buffer_.append(value.substr(plain, i - plain));
    buffer_.append(kAttributeEscapes[byte]);
    plain = i + 1;
  }
  buffer_.append(value.substr(plain));
}

void MarkupWriter::startTag(const StartTag& tag) {
  buffer_ += '<';
  buffer_ += tag.name();
  for (const StartTag::Attribute attribute : tag) {
    buffer_ += ' ';
    buffer_ += attribute.name;
    buffer_ += "=\"";
    // A value ends at its first NUL, as a document's strings do.
    escapedAttributeValue(attribute.value.substr(0, attribute.value.find('\0')));
    buffer_ += '"';
  }
}

void MarkupWriter::open(const StartTag& tag) {
  startTag(tag);
  buffer_ += '>';
  spill();
}

void MarkupWriter::empty(const StartTag& tag) {
  startTag(tag);
  buffer_ += "/>";
  spill();
}

void MarkupWriter::close(std::string_view name) {
  buffer_ += "</";
  buffer_ += name;
  buffer_ += '>';
  spill();
}

void MarkupWriter::cdata(std::string_view text) {
  text = text.substr(0, text.find('\0'));
  // "]]>" would end the section: "]]" closes one and ">" starts the next.
  std::size_t from = 0;
  for (;;) {
    const std::size_t end = text.find("]]>", from);
    buffer_ += "<![CDATA[";
    if (end == std::string_view::npos) {
      buffer_.append(text.substr(from));
      buffer_ += "]]>";
      break;
    }
    buffer_.append(text.substr(from, end + 2 - from));
    buffer_ += "]]>";
    from = end + 2;
  }
  spill();
}

}  // namespace vantorel::xml
