#pragma once
// Whole-file writing shared by the project file and generation: XML documents, output files in
// the system code page or UTF-8, and UTF-8 text with a byte-order mark. Every write replaces its
// target atomically, so a failed write leaves the previous file as it was; a read-only target is
// never forced.
#include <cstddef>
#include <functional>
#include <optional>
#include <string>
#include <string_view>

#include "platform/automation/variant.hpp"
#include "platform/fs/deferred_writes.hpp"
#include "platform/xml/markup_writer.hpp"
#include "platform/xml/xml_document.hpp"

namespace vantorel {

// The document's markup as it is serialised, byte for byte, without a byte-order mark.
std::string xmlDocumentText(const xml::Document& doc);

// Writes the document to path: as UTF-8 with a byte-order mark when utf8 reads as True, else in
// the encoding its declaration names. Raises an automation error naming the file system's
// reason when the file cannot be replaced; the old file then stays. With linkFreeRoot, no
// symbolic link below that folder is followed (fs::writeFileAtomic).
void SaveXmlFile(const std::u16string& path, const xml::Document& doc, const Variant& utf8,
                 std::u16string_view linkFreeRoot = {});

// Writes the markup `write` makes to path as UTF-8 with a byte-order mark, straight into a
// temporary file beside it, and replaces path with it once it is whole; `beforeReplace` runs
// just before (a backup copy of the old file). Whatever `write` or `beforeReplace` raise, and
// a file that cannot be written, leave the old file as it was and no temporary behind; the file
// system's reason raises as SaveXmlFile's does. linkFreeRoot as for SaveXmlFile.
// A new file gets newFileMode when given; an existing one keeps its permissions.
void SaveXmlStreamed(const std::u16string& path,
                     const std::function<void(xml::MarkupWriter&)>& write,
                     std::u16string_view linkFreeRoot = {},
                     const std::function<void()>& beforeReplace = {},
                     std::optional<unsigned> newFileMode = std::nullopt);

// Writes a generated text file: UTF-8 with a byte-order mark when the user's "UTF8Project"
// option is on and plainOnly is false, else in the system code page. An existing file whose name
// differs only in letter case takes the requested name. Failures are shown to the user, never
// raised; False when the file was not written.
bool WriteOutputFile(const std::u16string& path, const std::u16string& text, bool plainOnly);
// The same for a run that makes its outputs durable together: the file is written beside its
// target and replaces it when `outputs` commits. With linkFreeRoot (the site's folder the path
// lies in), no symbolic link below it is followed: a link in the way leaves the file unwritten.
bool WriteOutputFile(const std::u16string& path, const std::u16string& text, bool plainOnly,
                     fs::DeferredWrites* outputs, std::u16string_view linkFreeRoot = {},
                     std::optional<unsigned> newFileMode = std::nullopt);
// The same with the text made by makeText on the thread that writes the outputs, so that
// formatting and encoding a page overlap the making of the next; makeText owns what it reads.
// sizeHint stands for the text's size until then.
// A new file gets newFileMode when given (a page that holds a password: fs::kPrivateFileMode).
bool WriteOutputFile(const std::u16string& path, std::function<std::u16string()> makeText,
                     std::size_t sizeHint, fs::DeferredWrites& outputs,
                     std::u16string_view linkFreeRoot = {},
                     std::optional<unsigned> newFileMode = std::nullopt);

// Writes the text as UTF-8 with a byte-order mark, replacing an existing file. A failure is
// shown to the user; False when the file was not written.
bool WriteUtf8File(const std::u16string& path, std::u16string_view text);

// True when a file exists at path and carries no write permission: the file system's read-only
// attribute, which the engine's writes respect.
bool isReadOnlyFile(const std::u16string& path);

}  // namespace vantorel
