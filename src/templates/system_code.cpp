// Loading the system code and the validation code into the script host: the built-in texts, or
// the list files named in the user's settings with their sources, prefix and suffix files.
#include <optional>
#include <string>
#include <vector>

#include "foundation/status.hpp"
#include "platform/automation/variant_convert.hpp"
#include "platform/fs/files.hpp"
#include "platform/text/case_fold.hpp"
#include "platform/text/strings.hpp"
#include "platform/xml/attributes.hpp"
#include "templates/control.hpp"
#include "templates/script_calls.hpp"
#include "templates/script_files.hpp"
#include "templates/script_host.hpp"
#include "templates/script_translation.hpp"

namespace vantorel {

namespace {

constexpr std::u16string_view kCrLf = u"\r\n";
constexpr char16_t kSysCodeFile[] = u"syscode.txt";
constexpr char16_t kValidateCodeFile[] = u"validatecode.txt";

// One "file" entry of a list file.
struct ListEntry {
  std::u16string value;
  bool function = false;
  std::u16string id;
  std::u16string parm;
  bool override = false;
  bool multiline = false;
  bool indent = false;
};

// A missing or unreadable flag counts as false.
bool flagOf(const xml::Node& node, std::u16string_view name) {
  return xml::booleanText(xml::attributeTextNoCase(node, name)).value_or(false);
}

// The "file" entries with a value, in document order; nothing when the file is no XML document.
std::optional<std::vector<ListEntry>> readListFile(const std::u16string& path) {
  xml::Document doc;
  if (xml::parseFile(doc, path, xml::ReadMode::ExactWithProlog)) return std::nullopt;
  const xml::Node root = doc.document_element();
  if (!root) return std::nullopt;
  std::vector<ListEntry> entries;
  for (const xml::Node& child : root.children()) {
    if (!xml::isElementNamed(child, u"file")) continue;
    ListEntry e;
    e.value = xml::attributeTextNoCase(child, u"value");
    if (e.value.empty()) continue;
    e.function = flagOf(child, u"function");
    if (e.function) {
      e.id = std::u16string(trimBlanks(xml::attributeTextNoCase(child, u"id")));
      e.parm = std::u16string(trimBlanks(xml::attributeTextNoCase(child, u"parm")));
    }
    e.override = flagOf(child, u"override");
    e.multiline = flagOf(child, u"multiline");
    e.indent = flagOf(child, u"indent");
    entries.push_back(std::move(e));
  }
  return entries;
}

// The list file's folder with its final separator; sources are named relative to it.
std::u16string folderOf(const std::u16string& path) {
  const std::size_t cut = path.find_last_of(u"\\/");
  return cut == std::u16string::npos ? std::u16string() : path.substr(0, cut + 1);
}

std::u16string readOptional(const std::u16string& path, const ScriptFileNotice& tell) {
  return path.empty() ? std::u16string() : readScriptFile(path, tell);
}

void collectProcedures(vbs::ScriptControl& engine, std::vector<std::u16string>& names) {
  for (const vbs::ProcedureInfo& p : engine.engine().globalModule().procedures()) {
    names.push_back(p.name);
  }
}

}  // namespace

ScriptOutcome AGScript::loadSystemCode(const ScriptFileNotice& tell) {
  if (!main_) return {};
  if (paths_.sysCode.empty()) {
    const std::u16string code = toString(Status().GetSysCode(Variant(u"VB")));
    return templates::attemptScript(*main_, u"", [&] { main_->addCode(code); });
  }
  const std::optional<std::vector<ListEntry>> entries = readListFile(paths_.sysCode);
  if (!entries) return Failure{u"Load syscode file " + paths_.sysCode + u" failed!"};
  const std::u16string prefix = readOptional(paths_.sysCodePrefix, tell);
  const std::u16string suffix = readOptional(paths_.sysCodeSuffix, tell);
  const std::u16string folder = folderOf(paths_.sysCode);
  std::u16string functionCode;
  std::u16string classCode;
  for (const ListEntry& e : *entries) {
    const std::u16string source = readScriptFile(folder + e.value, tell);
    std::u16string piece;
    const std::optional<TemplateParseError> error = templates::translateSystemSource(
        source, e.multiline, e.indent, e.function ? e.id : std::u16string(), piece);
    if (e.function)
      piece = templates::wrapSystemFunction(e.id, e.parm, piece, prefix, suffix, e.override);
    if (error) {
      templates::showParseError(*error);
      std::u16string message = e.value + u": " + error->message;
      writeDiagnostic(e.value, piece + std::u16string(kCrLf) + message);
      return Failure{std::move(message)};
    }
    (e.function ? functionCode : classCode) += piece;
    if (ScriptOutcome compiled =
            templates::attemptScript(*check_, e.value, [&] { check_->addCode(piece); });
        !compiled) {
      writeDiagnostic(e.value, piece);
      writeDiagnostic(kSysCodeFile, functionCode);
      return compiled;
    }
  }
  if (paths_.sysCodePrefix.empty() || paths_.sysCodeSuffix.empty()) {
    writeDiagnostic(kSysCodeFile, u"'missing syscodeprefix or syscodesuffix");
    return {};
  }
  const std::u16string code =
      classCode + u"Class cSystemFunctions" + std::u16string(kCrLf) + functionCode + u"End Class";
  // The pieces compiled one by one; the whole can still fail (class-level code that is no
  // class member), and then the line numbers refer to syscode.txt.
  ScriptOutcome compiled =
      templates::attemptScript(*main_, kSysCodeFile, [&] { main_->addCode(code); });
  writeDiagnostic(kSysCodeFile, code);
  return compiled;
}

ScriptOutcome AGScript::loadValidationCode(const ScriptFileNotice& tell) {
  if (!validation_) return {};
  validationProcedures_.clear();
  if (paths_.validateCode.empty()) {
    const std::u16string code = toString(Status().GetSysCode(Variant(u"VL")));
    if (!code.empty()) {
      if (ScriptOutcome compiled =
              templates::attemptScript(*validation_, u"", [&] { validation_->addCode(code); });
          !compiled)
        return compiled;
    }
    collectProcedures(*validation_, validationProcedures_);
    return {};
  }
  const std::optional<std::vector<ListEntry>> entries = readListFile(paths_.validateCode);
  if (!entries) return Failure{u"Load validate file " + paths_.validateCode + u" failed!"};
  const std::u16string folder = folderOf(paths_.validateCode);
  std::u16string joined;
  for (const ListEntry& e : *entries) {
    const std::u16string text = readScriptFile(folder + e.value, tell);
    joined += kCrLf;
    joined += text;
    if (text.empty()) continue;
    if (ScriptOutcome compiled =
            templates::attemptScript(*validation_, e.value, [&] { validation_->addCode(text); });
        !compiled)
      return compiled;
  }
  writeDiagnostic(kValidateCodeFile, joined);
  collectProcedures(*validation_, validationProcedures_);
  return {};
}

}  // namespace vantorel
