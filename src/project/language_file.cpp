#include "project/language_file.hpp"

#include <cstddef>
#include <cstdint>
#include <string>
#include <unordered_set>

#include "platform/fs/files.hpp"
#include "platform/fs/path.hpp"
#include "platform/text/case_fold.hpp"
#include "platform/text/strings.hpp"
#include "platform/text/unicode.hpp"
#include "platform/xml/attributes.hpp"
#include "platform/xml/text_position.hpp"
#include "platform/xml/xml_text.hpp"

namespace vantorel {

namespace {

std::u16string at(std::string_view text, std::size_t offset, std::u16string_view what) {
  return xml::positionText(text, static_cast<std::ptrdiff_t>(offset), xml::ColumnUnit::Character) +
         u": " + std::u16string(what);
}

// What pugixml lets through but a DOM parser refuses: text or a second element beside the
// root, and an attribute given twice on one element.
bool checkStructure(const xml::Document& doc, std::u16string& error) {
  int elements = 0;
  bool first = true;
  for (const xml::Node child : doc.children()) {
    switch (child.type()) {
      case xml::kElementNode:
        ++elements;
        break;
      case xml::kTextNode:
      case xml::kCDataNode:
        error = u"text outside the root element";
        return false;
      case xml::kDeclarationNode:
        if (!first) {
          error = u"the XML declaration is not at the start";
          return false;
        }
        break;
      default:
        break;
    }
    first = false;
  }
  if (elements != 1) {
    error = elements == 0 ? u"no root element" : u"more than one root element";
    return false;
  }
  // Iterative walk: a deeply nested file must not exhaust the stack.
  std::unordered_set<std::string_view> seen;
  xml::Node node = doc.document_element();
  while (node) {
    if (node.type() == xml::kElementNode) {
      seen.clear();
      for (const xml::Attribute a : node.attributes()) {
        if (!seen.insert(a.name()).second) {
          error = u"attribute \"" + xml::nameOf(a) + u"\" repeated on element \"" +
                  xml::nameOf(node) + u"\"";
          return false;
        }
      }
    }
    if (node.first_child()) {
      node = node.first_child();
      continue;
    }
    while (node && !node.next_sibling()) node = node.parent();
    if (node) node = node.next_sibling();
  }
  return true;
}

}  // namespace

bool loadLanguageDocument(std::string_view bytes, xml::Document& doc, std::u16string& error) {
  doc.reset();
  std::string text;
  if (!xml::textAsUtf8(bytes, text, error) || !xml::checkXmlCharacters(text, error)) return false;
  if (const std::optional<xml::ParseError> parsed =
          xml::parseBuffer(doc, text, xml::ReadMode::NormalisedFragment, xml::Encoding::Utf8)) {
    error = at(text, static_cast<std::size_t>(parsed->offset), parsed->description);
  } else if (checkStructure(doc, error)) {
    return true;
  }
  doc.reset();
  return false;
}

std::optional<LanguageFileHeader> parseLanguageFileHeader(std::string_view bytes,
                                                          std::u16string& error) {
  xml::Document doc;
  if (!loadLanguageDocument(bytes, doc, error)) return std::nullopt;
  const xml::Node root = doc.document_element();
  return LanguageFileHeader{xml::attributeTextNoCase(root, u"id"),
                            xml::attributeTextNoCase(root, u"desc")};
}

std::optional<LanguageFileHeader> readLanguageFileHeader(std::u16string_view path,
                                                         std::u16string& error) {
  const std::optional<std::string> bytes = path.empty() ? std::nullopt : fs::readFile(path);
  if (!bytes) {
    error = u"cannot read \"" + std::u16string(path) + u"\"";
    return std::nullopt;
  }
  auto header = parseLanguageFileHeader(*bytes, error);
  if (!header) error = u"\"" + std::u16string(path) + u"\": " + error;
  return header;
}

std::u16string languageFileName(std::u16string_view path) {
  std::size_t start = 0;
  for (std::size_t i = 0; i < path.size(); ++i) {
    if (fs::isSeparator(path[i])) start = i + 1;
  }
  return std::u16string(path.substr(start));
}

}  // namespace vantorel
