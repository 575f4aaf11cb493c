#include "platform/xml/xml_document.hpp"

#include <algorithm>

#include "platform/fs/files.hpp"
#include "platform/text/case_fold.hpp"
#include "platform/text/strings.hpp"
#include "platform/text/unicode.hpp"
#include "platform/xml/text_position.hpp"
#include "platform/xml/xml_text.hpp"

namespace vantorel::xml {

namespace {

unsigned parseOptions(ReadMode mode) {
  constexpr unsigned kExact = pugi::parse_cdata | pugi::parse_escapes;
  constexpr unsigned kProlog = pugi::parse_declaration | pugi::parse_doctype;
  switch (mode) {
    case ReadMode::Exact:
      return kExact;
    case ReadMode::ExactWithProlog:
      return kExact | kProlog | pugi::parse_pi;
    case ReadMode::Verbatim:
      return (pugi::parse_full | pugi::parse_ws_pcdata) & ~pugi::parse_eol;
    case ReadMode::Normalised:
      return pugi::parse_default;
    case ReadMode::NormalisedFragment:
      return pugi::parse_default | pugi::parse_fragment | kProlog;
  }
  return kExact;
}

pugi::xml_encoding pugiEncoding(Encoding encoding) {
  switch (encoding) {
    case Encoding::Auto:
      return pugi::encoding_auto;
    case Encoding::Utf8:
      return pugi::encoding_utf8;
    case Encoding::Latin1:
      return pugi::encoding_latin1;
    case Encoding::Utf16Le:
      return pugi::encoding_utf16_le;
    case Encoding::Declared:
      return pugi::encoding_utf8;
  }
  return pugi::encoding_auto;
}

class StringWriter final : public pugi::xml_writer {
 public:
  explicit StringWriter(std::string& out) : out_(out) {}
  void write(const void* data, std::size_t size) override {
    out_.append(static_cast<const char*>(data), size);
  }

 private:
  std::string& out_;
};

}  // namespace

std::u16string ParseError::text() const {
  std::u16string out = file;
  if (!out.empty()) out += u": ";
  if (line > 0) out += u"line " + toU16(line) + u", column " + toU16(column) + u": ";
  return out + description;
}

std::optional<ParseError> parseBuffer(Document& doc, std::string_view bytes, ReadMode mode,
                                      Encoding encoding) {
  if (encoding == Encoding::Declared) {
    std::string converted;
    std::string_view utf8;
    std::u16string why;
    if (!viewAsUtf8(bytes, converted, utf8, why) || !checkXmlCharacters(utf8, why)) {
      doc.reset();
      return ParseError{.description = std::move(why), .encoding = true};
    }
    return parseBuffer(doc, utf8, mode, Encoding::Utf8);
  }
  const pugi::xml_parse_result result =
      doc.load_buffer(bytes.data(), bytes.size(), parseOptions(mode), pugiEncoding(encoding));
  if (result) return std::nullopt;
  doc.reset();
  ParseError error;
  error.description = fromUtf8(result.description());
  if (result.encoding == pugi::encoding_utf8) {
    const TextPosition at = positionOf(bytes, result.offset);
    error.line = at.line;
    error.column = at.column;
    // pugixml may point one past the end of a truncated text.
    error.offset =
        std::min<std::ptrdiff_t>(result.offset, static_cast<std::ptrdiff_t>(bytes.size()));
  }
  return error;
}

std::optional<ParseError> parseFile(Document& doc, std::u16string_view path, ReadMode mode,
                                    Encoding encoding) {
  const std::optional<std::string> bytes = path.empty() ? std::nullopt : fs::readFile(path);
  std::optional<ParseError> error;
  if (bytes) {
    error = parseBuffer(doc, *bytes, mode, encoding);
  } else {
    doc.reset();
    error = ParseError{.description = u"the file cannot be read"};
  }
  if (error) error->file = std::u16string(path);
  return error;
}

Node parseElementMarkup(Document& doc, std::u16string_view markup, ReadMode mode) {
  if (parseBuffer(doc, toUtf8(markup), mode, Encoding::Utf8)) return {};
  return doc.document_element();
}

Encoding declaredEncoding(const Document& doc) {
  for (Node node = doc.first_child(); node; node = node.next_sibling()) {
    if (node.type() != kDeclarationNode) continue;
    const std::u16string name = toLower(fromUtf8(node.attribute("encoding").value()));
    if (name == u"iso-8859-1" || name == u"latin1") return Encoding::Latin1;
    if (name == u"utf-16" || name == u"unicode") return Encoding::Utf16Le;
    break;
  }
  return Encoding::Utf8;
}

std::string documentBytes(const Document& doc, Encoding encoding, Layout layout) {
  std::string out;
  StringWriter writer(out);
  if (layout == Layout::Raw) {
    doc.save(writer, "", pugi::format_raw | pugi::format_no_declaration, pugiEncoding(encoding));
    return out;
  }
  doc.save(writer, "  ", pugi::format_indent, pugiEncoding(encoding));
  // Values with line breaks are written as character references, so every "\n" left is one
  // between elements.
  std::string crLf;
  crLf.reserve(out.size() + out.size() / 16);
  for (const char ch : out) {
    if (ch == '\n') crLf.push_back('\r');
    crLf.push_back(ch);
  }
  return crLf;
}

void saveFileAtomic(std::u16string_view path, const Document& doc, Encoding encoding,
                    Layout layout) {
  fs::writeFileAtomic(path, documentBytes(doc, encoding, layout));
}

}  // namespace vantorel::xml
