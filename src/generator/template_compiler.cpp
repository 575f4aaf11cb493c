#include "generator/template_compiler.hpp"

#include <map>
#include <optional>
#include <vector>

#include "agp/agp.hpp"
#include "foundation/project_context.hpp"
#include "foundation/reg_values.hpp"
#include "foundation/status.hpp"
#include "foundation/string_builder.hpp"
#include "foundation/template_lookup.hpp"
#include "foundation/text_files.hpp"
#include "foundation/value_conversion.hpp"
#include "foundation/value_format.hpp"
#include "generator/control_conditions.hpp"
#include "generator/generation_run.hpp"
#include "generator/run_end.hpp"
#include "platform/automation/variant_convert.hpp"
#include "platform/fs/files.hpp"
#include "platform/fs/path.hpp"
#include "platform/sys/clock.hpp"
#include "platform/text/case_fold.hpp"
#include "platform/text/strings.hpp"
#include "projectfile/file_writing.hpp"
#include "projectfile/working_folders.hpp"
#include "templates/control.hpp"
#include "templates/controls.hpp"
#include "templates/file_cache.hpp"
#include "templates/script_translation.hpp"
#include "templates/section_expansion.hpp"

namespace vantorel {

namespace {

constexpr std::u16string_view kCrLf = u"\r\n";

bool userOption(std::u16string_view name) {
  const Variant value = GetRegValue(Variant(u"HKCU"), Variant(projectContext().generalKey),
                                    Variant(std::u16string(name)));
  return toBool(ConvertSetting(value, Variant(u"Boolean")));
}

void appendLine(std::u16string& to, std::u16string_view line) {
  to += line;
  to += kCrLf;
}

void appendLine(AGPStringBuilder& to, std::u16string_view line) {
  to.appendText(line);
  to.appendText(kCrLf);
}

std::u16string sessionMarker(std::u16string_view edge, const AGSessionFields& s) {
  return u"' *** " + std::u16string(edge) + u" Session " + s.SessValue + u" (" + s.SessType +
         u", " + formatDate(sys::nowAsOleDate()) + u")";
}

// The session's text as pieces to translate; none for a kind that has no text.
// Fails, saying why, unless the file holds the section. A session whose section is missing
// would compile into pages without its content, and the run would seem to have succeeded.
Expected<> sectionPresent(const AGPFileCache& cache, const std::u16string& file,
                          const std::u16string& section) {
  if (cache.find(file, section)) return {};
  std::u16string message = u"***Section \"" + section + u"\" of \"" + file + u"\" ";
  if (!cache.hasFile(file)) {
    message += u"cannot be read: the file is missing";
  } else if (const std::u16string* fault = cache.fault(file)) {
    message += u"is lost: " + *fault;
  } else {
    message += u"is not in the file";
  }
  return Failure{message + u"! Generation failed!"};
}

templates::ExpandedSection sessionText(const AGPFileCache& cache, const AGPControl& control,
                                       const AGSessionFields& s) {
  if (s.SessType == u"key") {
    const std::u16string& file = s.SessIFile.empty() ? control.CtrlIFiles() : s.SessIFile;
    if (s.SessIFile.empty())
      projectContext().currentSourceFolder = ControlSourceFolder(control.CtrlExt());
    if (Expected<> present = sectionPresent(cache, file, s.SessValue); !present) {
      return {{std::u16string()}, std::move(present)};
    }
    return templates::expandSection(cache, file, s.SessValue);
  }
  if (s.SessType == u"include") {
    return {{u"<!--##=SYSTEMFUNCTIONS.IncludeFile(\"" + s.SessValue + u"\",\"" + s.SessParm +
             u"\")##-->\r\n"},
            {}};
  }
  return {};
}

// Translates the pieces until one fails; none once `failure` holds a message already.
void translatePieces(TemplateCompileState& state, const std::vector<std::u16string>& pieces,
                     std::optional<std::u16string>& failure) {
  for (const std::u16string& piece : pieces) {
    if (failure) return;
    if (Expected<> parsed = ParseToScript(state, piece); !parsed)
      failure = std::move(parsed.failure().text);
  }
}

void writeCompiled(const std::u16string& compiledPath, const std::u16string& text) {
  const std::u16string folder = fs::parentFolder(compiledPath);
  if (!folder.empty()) fs::createFolders(folder);
  if (compiledPath.empty() || !WriteOutputFile(compiledPath, text, false)) {
    RaiseGenError(projectContext().productTitle + u": Cannot write the compiled template " +
                  compiledPath + u". Generation aborted.");
  }
}

[[noreturn]] void failTranslation(const std::u16string& compiledPath, const std::u16string& written,
                                  const std::u16string& inputPath, const std::u16string& message) {
  // The author reads what was translated up to the fault next to the message.
  const std::u16string folder = fs::parentFolder(compiledPath);
  if (!folder.empty()) fs::createFolders(folder);
  if (!compiledPath.empty()) WriteOutputFile(compiledPath, written + message + u"\r\n", false);
  RaiseGenError(inputPath + u": " + message);
}

}  // namespace

void TemplateCompileState::reset() {
  if (!arrays) arrays = makeRef<AGPStringBuilder>();
  if (!body) body = makeRef<AGPStringBuilder>();
  arrays->clear();
  body->clear();
  textCount = 0;
}

std::u16string TemplateCompileState::arrayText() const {
  return arrays ? toString(arrays->toString()) : std::u16string();
}

std::u16string TemplateCompileState::bodyText() const {
  return body ? toString(body->toString()) : std::u16string();
}

std::u16string GetCtrlFuncName(const AGPControl& control) {
  return replaceAll(u"ztEx" + control.CtrlID() + control.CtrlTagExt(), u".", u"_");
}

std::u16string GetTplFileName(const AGPControl& control) {
  const std::u16string name = control.CtrlID() + control.CtrlTagExt() + u".tpl";
  if (projectContext().templateCacheFolder.empty() ||
      name.find_first_of(u"/\\") != std::u16string::npos) {
    return {};
  }
  return fs::joinInside(projectContext().templateCacheFolder, name).value_or(std::u16string());
}

std::u16string WriteTempTemplate(std::u16string_view inputFiles, std::u16string_view extension) {
  projectContext().currentSourceFolder = ControlSourceFolder(extension);
  const std::u16string& folder = projectContext().currentSourceFolder;
  if (folder.empty()) return {};
  if (inputFiles.find(u',') == std::u16string_view::npos) {
    return fs::joinInside(folder, inputFiles).value_or(std::u16string());
  }
  std::u16string text;
  for (const std::u16string& entry : split(inputFiles, u",")) {
    const std::optional<std::u16string> path = fs::joinInside(folder, entry);
    if (!path || entry.empty() || !fs::fileExists(*path)) continue;
    text += toString(ReadTextFile(Variant(*path)));
  }
  if (projectContext().templateCacheFolder.empty()) return {};
  const std::u16string merged = fs::joinPath(projectContext().templateCacheFolder, u"~tmp.tpl");
  fs::createFolders(projectContext().templateCacheFolder);
  if (!WriteOutputFile(merged, text, false)) return {};
  return merged;
}

Expected<> ParseToScript(TemplateCompileState& state, std::u16string_view text) {
  if (!state.arrays) state.reset();
  const std::optional<TemplateParseError> error =
      templates::translateTemplateText(text, *state.arrays, *state.body, state.textCount);
  if (!error) return {};
  templates::showParseError(*error);
  return Failure{error->message};
}

void BuildTemplateScript(GenerationRun& run, const AGPControl& control,
                         const std::u16string& compiledPath) {
  const bool showSession = userOption(u"ShowSession");
  const bool showTime = userOption(u"ShowSessionTime");
  // Session conditions on "ctrl" read the control being compiled.
  CurrentControlScope scope(run, Ref<AGPControl>(const_cast<AGPControl*>(&control)));

  const std::u16string inputPath = WriteTempTemplate(control.CtrlIFiles(), control.CtrlExt());
  if (inputPath.empty() || !fs::fileExists(inputPath))
    RaiseGenError(u"Error in merging " + control.CtrlIFiles() + u". Generation aborted.");
  const std::u16string inputText = toString(ReadTextFile(Variant(inputPath)));

  TemplateCompileState& state = run.compileState;
  state.reset();
  // A failure the run went on after stops the first translation, as one of its own would.
  std::optional<std::u16string> failure = run.failure;
  const AGPSessions& sessions = *control.Sessions();
  if (sessions.Count() >= 1) {
    for (const Ref<AGPSession>& session : sessions.items()) {
      const AGSessionFields& s = session->fields();
      Status().Refresh();
      if (EvalCtrlCond(run, s.SessCond)) {
        templates::ExpandedSection text = sessionText(*run.fileCache, control, s);
        if (!text.outcome) failure = std::move(text.outcome.failure().text);
        AGPStringBuilder& body = *state.body;
        if (showSession) appendLine(body, sessionMarker(u"Start", s));
        const bool failedBefore = failure.has_value();
        translatePieces(state, text.pieces, failure);
        // The line and column of a parse error count within the section: name it and its file.
        if (failure && !failedBefore && s.SessType == u"key") {
          failure = u"Section \"" + s.SessValue + u"\" of \"" +
                    (s.SessIFile.empty() ? control.CtrlIFiles() : s.SessIFile) + u"\": " + *failure;
        }
        if (showSession) appendLine(body, sessionMarker(u"End", s));
        if (showTime) {
          appendLine(body, u"ztStopTime = Timer");
          appendLine(body, u"ztSB.Append(\"*** " + s.SessValue +
                               u": \" & (ztStopTime-ztStartTime) & \" ms\")");
        }
        if (failure) failTranslation(compiledPath, state.bodyText(), inputPath, *failure);
        ++run.compileProgressCount;
        Status().SetStatus(Variant(GetPercent(run.compileProgressCount, run.compileProgressTotal)));
      }
      Status().Refresh();
    }
  } else {
    Status().Refresh();
    if (Expected<> parsed = ParseToScript(state, inputText); !parsed)
      failure = std::move(parsed.failure().text);
    if (failure) failTranslation(compiledPath, inputText, inputPath, *failure);
  }

  const std::u16string name = GetCtrlFuncName(control);
  std::u16string fn;
  appendLine(fn, u"Function " + name + u"()");
  appendLine(fn, u"If bHandleTemplateError Then On Error Resume Next");
  if (showTime) {
    appendLine(fn, u"Dim ztStartTime, ztStopTime");
    appendLine(fn, u"ztStartTime = Timer");
  }
  appendLine(fn, u"Dim ztAr(" + toU16(state.textCount) + u")");
  appendLine(fn, u"Dim ztSB");
  appendLine(fn, u"Set ztSB = New StringBuilder");
  appendLine(fn, u"Call zt_SetLocale()");
  appendLine(fn, u"Dim SYSTEMFUNCTIONS");
  appendLine(fn, u"Set SYSTEMFUNCTIONS = New cSystemFunctions");
  appendLine(fn, u"Call zt_LoadCurrent()");
  appendLine(fn, state.arrayText());
  appendLine(fn, state.bodyText());
  appendLine(fn, name + u" = ztSB.ToString()");
  appendLine(fn, u"Set SYSTEMFUNCTIONS = Nothing");
  appendLine(fn, u"End Function");
  writeCompiled(compiledPath, fn);
}

Expected<> CheckCompiledNames(const AGPControls& controls) {
  std::map<std::u16string, const AGPControl*> functions;
  std::map<std::u16string, const AGPControl*> files;
  for (const Ref<AGPControl>& control : controls.items()) {
    const std::u16string type = toLower(control->CtrlType());
    if (type == u"copy" || type == u"folder") continue;
    const std::u16string file = control->CtrlID() + control->CtrlTagExt();
    if (file.empty() || file == u"." || file == u".." ||
        file.find_first_of(u"/\\") != std::u16string::npos) {
      return Failure{projectContext().productTitle + u": Control \"" + control->CtrlID() +
                     u"\" cannot be compiled: its id is no file name. Generation aborted."};
    }
    const std::u16string function = GetCtrlFuncName(*control);
    const auto clash = [&](const AGPControl& other, std::u16string_view what,
                           std::u16string_view name) {
      return Failure{projectContext().productTitle + u": Controls \"" + other.CtrlID() +
                     other.CtrlTagExt() + u"\" and \"" + file + u"\" compile to the same " +
                     std::u16string(what) + u" " + std::u16string(name) + u". Generation aborted."};
    };
    const auto [fnAt, fnNew] = functions.emplace(toLower(function), control.get());
    if (!fnNew) return clash(*fnAt->second, u"function", function);
    const auto [fileAt, fileNew] = files.emplace(toLower(file), control.get());
    if (!fileNew) return clash(*fileAt->second, u"file", file + u".tpl");
  }
  return {};
}

}  // namespace vantorel
