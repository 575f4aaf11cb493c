#pragma once
// Reading language files (lang.xml). The language list needs only the root element's "id" and
// "desc"; the generation reads the "phrase" elements from the same kind of document.
//   <language id="en" desc="English">
//     <phrase id="Add" value="Add"/>
//   </language>
// The document must be well-formed XML, as a DOM parser would demand: one root element, no text
// outside it, no control characters, no repeated attribute. The encoding follows the byte-order
// mark, else the XML declaration (UTF-8 when it names none).
#include <optional>
#include <string>
#include <string_view>

#include "platform/xml/xml_document.hpp"

namespace vantorel {

// Parses a language file's bytes into `doc`. False, with the reason in `error`
// ("line 3, column 7: Start-end tags mismatch"), when the document does not load.
bool loadLanguageDocument(std::string_view bytes, xml::Document& doc, std::u16string& error);

struct LanguageFileHeader {
  std::u16string id;
  std::u16string desc;
};

// Reads the file at `path` and returns its root element's "id" and "desc"; nothing, with the
// reason in `error`, when the file cannot be read or does not load.
std::optional<LanguageFileHeader> readLanguageFileHeader(std::u16string_view path,
                                                         std::u16string& error);
std::optional<LanguageFileHeader> parseLanguageFileHeader(std::string_view bytes,
                                                          std::u16string& error);

// The text after the last path separator ('\' or '/'); all of `path` when it holds none.
std::u16string languageFileName(std::u16string_view path);

}  // namespace vantorel
