#pragma once
// XML documents read and written with pugixml under the engine's fixed options. This folder is
// the only one that includes pugixml; the rest of the engine names its types through the aliases
// below.
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include <pugixml.hpp>

namespace vantorel::xml {

using Document = pugi::xml_document;
using Node = pugi::xml_node;
using Attribute = pugi::xml_attribute;
using NodeType = pugi::xml_node_type;

inline constexpr NodeType kElementNode = pugi::node_element;
inline constexpr NodeType kTextNode = pugi::node_pcdata;
inline constexpr NodeType kCDataNode = pugi::node_cdata;
inline constexpr NodeType kDeclarationNode = pugi::node_declaration;

// How a text is read. No mode converts line ends or blanks unless its name says so, so that
// values come back exactly as written and a document saved again is byte-exact.
enum class ReadMode {
  // Elements, attributes, text and CDATA with references expanded; whitespace-only text dropped.
  Exact,
  // As Exact, also keeping the declaration, the document type and processing instructions.
  ExactWithProlog,
  // Every node, whitespace-only text included: a document edited and written back.
  Verbatim,
  // pugixml's defaults, which turn line ends into "\n" and blanks in attributes into spaces;
  // the settings and keyword files have always been read so.
  Normalised,
  // As Normalised, accepting what a strict reader refuses (text or several elements beside the
  // root) so that the caller can name the fault itself.
  NormalisedFragment,
};

// Declared: as the byte-order mark or the declaration names it, else UTF-8; bytes that do not
// fit are refused instead of being replaced (xml_text.hpp).
enum class Encoding { Auto, Utf8, Latin1, Utf16Le, Declared };

// Why a text did not parse. The position counts from 1, the column in UTF-16 code units; it is
// 0 when the text was converted from another encoding, where pugixml's offset no longer matches
// the bytes.
struct ParseError {
  std::u16string file;  // empty for a buffer
  std::int64_t line = 0;
  std::int64_t column = 0;
  std::ptrdiff_t offset = -1;  // into the bytes given, when the position is known
  std::u16string description;
  // The bytes do not fit their encoding (Encoding::Declared); the description says where.
  bool encoding = false;

  // "<file>: line L, column C: <description>", leaving out the parts that are unknown.
  std::u16string text() const;
};

// Nothing on success; the document is then what was read. On failure it is empty.
[[nodiscard]] std::optional<ParseError> parseBuffer(Document& doc, std::string_view bytes,
                                                    ReadMode mode,
                                                    Encoding encoding = Encoding::Auto);
// A file that cannot be read fails with the description "the file cannot be read".
[[nodiscard]] std::optional<ParseError> parseFile(Document& doc, std::u16string_view path,
                                                  ReadMode mode,
                                                  Encoding encoding = Encoding::Auto);

// The root element of the markup a script hands over for one element; an empty node when it
// does not parse.
Node parseElementMarkup(Document& doc, std::u16string_view markup,
                        ReadMode mode = ReadMode::ExactWithProlog);

enum class Layout {
  Raw,       // the document's own text nodes are its only line breaks; no declaration invented
  Indented,  // two blanks a level, "\r\n" between elements, a declaration when none is there
};

// The encoding the document's declaration names among those this layer writes; UTF-8 otherwise.
Encoding declaredEncoding(const Document& doc);
std::string documentBytes(const Document& doc, Encoding encoding = Encoding::Utf8,
                          Layout layout = Layout::Raw);
// Replaces the file atomically; throws fs::FileError when it cannot be written.
void saveFileAtomic(std::u16string_view path, const Document& doc,
                    Encoding encoding = Encoding::Utf8, Layout layout = Layout::Raw);

}  // namespace vantorel::xml
