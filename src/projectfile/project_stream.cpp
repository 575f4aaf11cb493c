#include "projectfile/project_stream.hpp"

#include <memory>
#include <string_view>

#include "agp/agp.hpp"
#include "platform/text/case_fold.hpp"
#include "platform/text/strings.hpp"
#include "platform/text/unicode.hpp"
#include "platform/xml/attributes.hpp"
#include "platform/xml/text_position.hpp"
#include "projectfile/load_notes.hpp"
#include "projectfile/project_element_reader.hpp"

namespace vantorel {

namespace {

using Event = xml::PullParser::Event;

// An element whose children are being read: the depth its children are read at, what its start
// made, and its extension elements, which are read after all its model elements.
struct Frame {
  int depth = 0;
  ProjectElementReader::Opened opened;
  std::unique_ptr<xml::Document> extensions;
};

// Where the elements of a kept part go until its end tag.
enum class KeptPart { CustomScript, Extension, Menu };

}  // namespace

std::u16string StreamFailure::located(const std::u16string& file) const {
  std::u16string out = file + u": ";
  if (line > 0) out += u"line " + toU16(line) + u", column " + toU16(column) + u": ";
  return out + description;
}

StreamFailure ProjectFileStream::failure(const std::u16string& description, std::size_t offset,
                                         bool encoding) const {
  StreamFailure f;
  f.description = description;
  f.encoding = encoding;
  if (!encoding) {
    const xml::TextPosition at =
        xml::positionOf(text_->text(), static_cast<std::ptrdiff_t>(offset));
    f.line = at.line;
    f.column = at.column;
  }
  return f;
}

Event ProjectFileStream::next(std::optional<StreamFailure>& failed) {
  const Event event = parser_->next();
  std::u16string why;
  if (!text_->advance(parser_->consumed(), why)) {
    failed = failure(why, 0, true);
    return Event::Error;
  }
  if (event == Event::Error) {
    failed = failure(fromUtf8(parser_->error()), parser_->offset(), false);
  }
  return event;
}

std::optional<StreamFailure> ProjectFileStream::open(const std::u16string& path) {
  parser_.reset();
  text_ = std::make_unique<xml::StreamedText>();
  std::u16string why;
  bool unreadable = false;
  if (!text_->open(path, why, unreadable)) {
    StreamFailure f;
    f.description = why;
    f.unreadable = unreadable;
    f.encoding = !unreadable;
    return f;
  }
  parser_.emplace(text_->text());
  if (!text_->advance(0, why)) return failure(why, 0, true);
  std::optional<StreamFailure> failed;
  for (;;) {
    const Event event = next(failed);
    if (event == Event::StartElement) return std::nullopt;
    if (event == Event::Error) return failed;
    if (event == Event::End) return failure(u"no root element", text_->text().size(), false);
  }
}

std::optional<StreamFailure> ProjectFileStream::read(
    AGP& project, LoadNotes& notes, const std::function<void(std::size_t)>& database,
    const std::function<void(const xml::Node&)>& menus) {
  xml::PullParser& parser = *parser_;
  ProjectElementReader reader(project, &notes);
  notes.setText(text_->text());

  xml::Document menuDoc;
  const xml::Node menuRoot = menuDoc.append_child(parser.name());
  bool databaseSeen = false;

  // The current start tag without the attributes a save could not write again, which are said
  // as left out where they stand.
  std::vector<xml::AttributeView> keptAttributes;
  const auto readTag = [&] {
    notes.at(parser.offset());
    const ElementTag tag{parser.name(), parser.attributes()};
    if (parser.plainAttributes()) return tag;
    return ElementTag{tag.name, attributesToKeep(tag, text_->text(), keptAttributes, &notes)};
  };

  std::vector<Frame> frames;
  frames.emplace_back();
  // A part kept whole: its tree, the node its next content goes below, and the depth of its
  // element (its end tag brings the parser below that).
  std::unique_ptr<xml::Document> keptDoc;
  xml::Node kept;
  KeptPart keptPart = KeptPart::CustomScript;
  std::size_t keptDepth = 0;
  // Content nobody reads is passed over until the parser is back below this depth.
  std::size_t skipDepth = 0;
  // The root was given by open(); an empty root gives its end right away.
  std::optional<StreamFailure> failed;
  for (;;) {
    const Event event = next(failed);
    if (event == Event::Error) return failed;
    if (event == Event::End) break;
    if (frames.empty()) continue;  // elements beside the root: parsed, read by nobody

    if (skipDepth > 0) {
      if (event == Event::EndElement && parser.depth() < skipDepth) skipDepth = 0;
      continue;
    }
    if (kept) {
      if (event == Event::EndElement) {
        if (parser.depth() >= keptDepth) {
          kept = kept.parent();
          continue;
        }
        const xml::Node element = kept;
        kept = xml::Node();
        if (keptPart == KeptPart::CustomScript) {
          notes.at(LoadNotes::npos);
          reader.readCustomScript(element);
          keptDoc.reset();
        }
      } else if (event == Event::StartElement) {
        const ElementTag tag = readTag();
        kept = xml::appendElement(kept, tag.name, tag.attributes);
      } else {
        xml::appendCurrent(kept, parser, event);
      }
      continue;
    }

    Frame& frame = frames.back();
    if (event == Event::EndElement) {
      if (frame.extensions) {
        notes.at(LoadNotes::npos);
        for (xml::Node child = frame.extensions->first_child(); child;
             child = child.next_sibling()) {
          reader.readExtensionElement(child, frame.depth);
        }
      }
      reader.close(frame.opened);
      frames.pop_back();
      continue;
    }
    if (event != Event::StartElement) continue;  // text between elements is not read

    const char* name = parser.name();
    const std::size_t depth = parser.depth();
    const bool menu = frames.size() == 1 && toLower(fromUtf8(name)) == u"menu";
    const ProjectElementReader::Kind kind = ProjectElementReader::kindOf(name);
    if (kind == ProjectElementReader::Kind::Other && !menu) {
      notes.at(parser.offset());
      notes.say(u"<" + fromUtf8(name) + u"> left out: no such element is read here");
      skipDepth = depth;
      continue;
    }
    const ElementTag tag = readTag();
    if (menu) {
      kept = xml::appendElement(menuRoot, tag.name, tag.attributes);
      keptPart = KeptPart::Menu;
      keptDepth = depth;
      continue;
    }
    switch (kind) {
      case ProjectElementReader::Kind::Model: {
        if (frames.size() == 1 && !databaseSeen && std::string_view(name) == "Database") {
          databaseSeen = true;
          database(parser.emptyElement() ? 0
                                         : xml::countChildNodes(text_->text(), parser.consumed()));
        }
        const int childDepth = frame.depth;
        ProjectElementReader::Opened opened = reader.open(tag, childDepth);
        if (opened.readChildren) {
          Frame next;
          next.depth = childDepth + 1;
          next.opened = std::move(opened);
          frames.push_back(std::move(next));
        } else {
          skipDepth = depth;
        }
        break;
      }
      case ProjectElementReader::Kind::CustomScript:
        keptDoc = std::make_unique<xml::Document>();
        kept = xml::appendElement(*keptDoc, tag.name, tag.attributes);
        keptPart = KeptPart::CustomScript;
        keptDepth = depth;
        break;
      case ProjectElementReader::Kind::Extension:
        if (!frame.extensions) frame.extensions = std::make_unique<xml::Document>();
        kept = xml::appendElement(*frame.extensions, tag.name, tag.attributes);
        keptPart = KeptPart::Extension;
        keptDepth = depth;
        break;
      case ProjectElementReader::Kind::Other:
        break;
    }
  }
  menus(menuRoot);
  return std::nullopt;
}

}  // namespace vantorel
