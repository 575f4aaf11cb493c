#pragma once
// The project file read as it streams past: the root's start tag first (for the version and
// converter checks), then every element placed into the model as soon as its start tag is
// read. Only the small parts whose content is needed whole (custom scripts, extension settings,
// menus) are kept as element trees, each until its end tag; nothing holds the whole document.
#include <cstddef>
#include <functional>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "platform/xml/pull_parser.hpp"
#include "platform/xml/streamed_text.hpp"
#include "platform/xml/xml_document.hpp"

namespace vantorel {

class AGP;
class LoadNotes;

// Why a file was refused: the description, where known the line and column counted from the
// start of the file, and whether its bytes are no text of their encoding.
struct StreamFailure {
  std::u16string description;
  std::int64_t line = 0;
  std::int64_t column = 0;
  bool encoding = false;
  bool unreadable = false;
  // "<file>: line L, column C: <description>"
  std::u16string located(const std::u16string& file) const;
};

class ProjectFileStream {
 public:
  // Reads up to the root's start tag; the failure when the file cannot be read or is refused
  // before it.
  std::optional<StreamFailure> open(const std::u16string& path);
  const char* rootName() const { return parser_->name(); }
  std::size_t rootOffset() const { return parser_->offset(); }
  std::span<const xml::AttributeView> rootAttributes() const { return parser_->attributes(); }
  std::string_view text() const { return text_->text(); }

  // Reads the rest into the project. `database` is called when the first "Database" element
  // below the root starts, with the number of nodes it holds (for the progress display). The
  // menus below the root are handed to `menus` at the end, as an element named as the root
  // with the menu elements below it. Raises what the model raises; the failure when the file
  // is refused on the way.
  std::optional<StreamFailure> read(AGP& project, LoadNotes& notes,
                                    const std::function<void(std::size_t)>& database,
                                    const std::function<void(const xml::Node&)>& menus);

 private:
  StreamFailure failure(const std::u16string& description, std::size_t offset, bool encoding) const;
  // The next event with everything it was read from checked; Error when the text was refused.
  xml::PullParser::Event next(std::optional<StreamFailure>& failed);

  std::unique_ptr<xml::StreamedText> text_;
  std::optional<xml::PullParser> parser_;
};

}  // namespace vantorel
