#include "extensions/code_base.hpp"

#include "foundation/captions.hpp"
#include "foundation/project_context.hpp"
#include "platform/automation/automation_error.hpp"
#include "platform/automation/class_info.hpp"
#include "platform/automation/variant_convert.hpp"
#include "platform/fs/files.hpp"
#include "platform/text/case_fold.hpp"
#include "platform/text/unicode.hpp"
#include "platform/xml/attributes.hpp"
#include "platform/xml/xml_document.hpp"

namespace vantorel {

namespace {

constexpr char16_t kLoadFailed[] = u"Load code base file failed!";
constexpr char16_t kInvalid[] = u"Code base file is invalid!";

// An element's name without its namespace prefix.
std::u16string baseName(const xml::Node& node) {
  std::u16string name = xml::nameOf(node);
  const std::size_t colon = name.rfind(u':');
  return colon == std::u16string::npos ? name : name.substr(colon + 1);
}

// XML's own end-of-line rule, which pugixml is told not to apply: CR LF and a lone CR are LF.
std::u16string normaliseLineEnds(std::u16string_view text) {
  std::u16string out;
  out.reserve(text.size());
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (text[i] == u'\r') {
      out.push_back(u'\n');
      if (i + 1 < text.size() && text[i + 1] == u'\n') ++i;
    } else {
      out.push_back(text[i]);
    }
  }
  return out;
}

bool sameKeys(const CodeBaseSnippet& s, const std::u16string& scriptType,
              const std::u16string& codeType, const std::u16string& name) {
  return equalsNoCase(s.scriptType, scriptType) && equalsNoCase(s.codeType, codeType) &&
         equalsNoCase(s.codeName, name);
}

// One <code> element into the list. Its text is its CDATA section or its plain text; blank
// text around a CDATA section (a pretty-printed file) is layout, and an element without content
// has the empty text. An element inside it makes the file unusable.
bool readCodeNode(const xml::Node& element, std::vector<CodeBaseSnippet>& snippets,
                  std::u16string& detail) {
  CodeBaseSnippet snippet;
  for (xml::Attribute a = element.first_attribute(); a; a = a.next_attribute()) {
    const std::u16string name = toLower(xml::nameOf(a));
    if (name == u"scripttype") {
      snippet.scriptType = xml::valueOf(a);
    } else if (name == u"codetype") {
      snippet.codeType = xml::valueOf(a);
    } else if (name == u"name") {
      snippet.codeName = xml::valueOf(a);
    }
  }
  // Sections written one after another are one text: the way a writer stores "]]>".
  std::string text;
  for (xml::Node child = element.first_child(); child; child = child.next_sibling()) {
    if (child.type() == xml::kCDataNode || child.type() == xml::kTextNode) {
      const std::string_view part = child.value();
      if (child.type() == xml::kTextNode &&
          part.find_first_not_of(" \t\r\n") == std::string_view::npos) {
        continue;
      }
      text += part;
      continue;
    }
    detail = u"the code element \"" + snippet.codeName + u"\" holds an element, not its code";
    return false;
  }
  snippet.source = normaliseLineEnds(fromUtf8(text));
  for (CodeBaseSnippet& existing : snippets) {
    if (sameKeys(existing, snippet.scriptType, snippet.codeType, snippet.codeName)) {
      existing.source = std::move(snippet.source);
      return true;
    }
  }
  snippets.push_back(std::move(snippet));
  return true;
}

}  // namespace

CodeBaseRead ReadCodeBase(std::string_view bytes, std::u16string_view file) {
  CodeBaseRead result;
  xml::Document doc;
  if (std::optional<xml::ParseError> error = xml::parseBuffer(doc, bytes, xml::ReadMode::Exact)) {
    error->file = std::u16string(file);
    result.error = kLoadFailed;
    result.detail = error->text();
    return result;
  }
  const xml::Node root = doc.document_element();
  const std::u16string expected =
      toLower(StripSpacesAndSlashes(projectContext().productName)) + u".codebase";
  if (!root || toLower(baseName(root)) != expected) {
    result.error = kInvalid;
    result.detail = u"the root element is not " + expected;
    return result;
  }
  for (xml::Node child = root.first_child(); child; child = child.next_sibling()) {
    if (child.type() != xml::kElementNode || toLower(xml::nameOf(child)) != u"code") continue;
    if (!readCodeNode(child, result.snippets, result.detail)) {
      result.error = kInvalid;
      result.snippets.clear();
      return result;
    }
  }
  return result;
}

const ClassInfo& AGPCodeBase::classInfo() const noexcept {
  return MemberTable<AGPCodeBase>::get(u"AGPCodeBase");
}

std::u16string AGPCodeBase::toText(const Variant& v) {
  try {
    return toString(v);
  } catch (const AutomationError&) {
    return {};
  }
}

const CodeBaseSnippet* AGPCodeBase::match(const std::u16string& scriptType,
                                          const std::u16string& codeType,
                                          const std::u16string& name) const {
  for (const CodeBaseSnippet& s : snippets_) {
    if (sameKeys(s, scriptType, codeType, name)) return &s;
  }
  return nullptr;
}

bool AGPCodeBase::CodeExist(const std::u16string& scriptType, const std::u16string& codeType,
                            const std::u16string& name) const {
  return match(scriptType, codeType, name) != nullptr;
}

std::u16string AGPCodeBase::CodeSource(const std::u16string& scriptType,
                                       const std::u16string& codeType,
                                       const std::u16string& name) const {
  const CodeBaseSnippet* s = match(scriptType, codeType, name);
  if (!s) return {};
  std::u16string out;
  out.reserve(s->source.size() + s->source.size() / 16);
  for (const char16_t c : s->source) {
    if (c == u'\n') out.push_back(u'\r');
    out.push_back(c);
  }
  return out;
}

bool AGPCodeBase::Load(const std::u16string& file) {
  const std::optional<std::string> bytes = fs::readFile(file);
  if (!bytes) {
    loadErrorText_ = kLoadFailed;
    return false;
  }
  CodeBaseRead read = ReadCodeBase(*bytes, file);
  if (!read.error.empty()) {
    loadErrorText_ = read.error;
    return false;
  }
  snippets_ = std::move(read.snippets);
  loadErrorText_.clear();
  return true;
}

AGPCodeBase& SharedCodeBase() {
  return sharedObject<AGPCodeBase>(projectContext().codeBase);
}

}  // namespace vantorel
