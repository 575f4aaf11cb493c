#include "generator/project_outputs.hpp"

#include <exception>
#include <functional>
#include <optional>
#include <stdexcept>
#include <string_view>

#include "agp/agp.hpp"
#include "foundation/control_items.hpp"
#include "foundation/project_context.hpp"
#include "foundation/properties.hpp"
#include "foundation/status.hpp"
#include "foundation/text_files.hpp"
#include "generator/generation_run.hpp"
#include "generator/language_files.hpp"
#include "generator/output_items.hpp"
#include "generator/output_naming.hpp"
#include "generator/output_paths.hpp"
#include "generator/page_generation.hpp"
#include "generator/run_end.hpp"
#include "platform/automation/automation_error.hpp"
#include "platform/automation/variant_convert.hpp"
#include "platform/fs/files.hpp"
#include "platform/fs/path.hpp"
#include "platform/text/case_fold.hpp"
#include "platform/text/strings.hpp"
#include "platform/text/unicode.hpp"
#include "projectfile/file_writing.hpp"
#include "templates/controls.hpp"
#include "templates/script_host.hpp"
#include "templates/template_operations.hpp"

namespace vantorel {

namespace {

// The error number with which RaiseCancelled and RaiseGenError end a run.
constexpr std::int32_t kRunEnded = -1;

// A copy that failed, with the message that names it as it is.
class CopyFailed : public std::runtime_error {
 public:
  explicit CopyFailed(std::u16string message)
      : std::runtime_error("copy failed"), message_(std::move(message)) {}
  const std::u16string& message() const noexcept { return message_; }

 private:
  std::u16string message_;
};

void copyOver(AGP& proj, const std::u16string& source, const std::u16string& target) {
  try {
    fs::copyFile(source, target, true, OutputRootOf(proj, target));
  } catch (const fs::FileError& e) {
    throw CopyFailed(u"Copying to file " + inQuotes(target) + u" failed! Error = " +
                     fromUtf8(e.what()));
  }
}

class ProjectFiles {
 public:
  ProjectFiles(GenerationRun& run, bool checkOnly)
      : run_(run), proj_(run.proj()), controls_(*run.templateControls), checkOnly_(checkOnly) {}

  std::int16_t run() {
    step([this] { styleSheet(); });
    step([this] { userStyleSheet(); });
    step([this] { logo(); });
    step([this] {
      const std::u16string icon = text(u"FavIcon");
      const Variant made = CopyProjectFile(proj_, u"@favicon", u"Copying favicon...",
                                           u"Copy favicon", icon, u"", checkOnly_);
      note(made, u"", icon, u"@favicon");
      if (isTrue(made)) result_ = 1;
    });
    for (const std::u16string& entry : languageEntries()) {
      step([this, &entry] {
        const std::u16string source = languageSource(entry);
        const std::u16string folder = GetFolderById(controls_, u"_language");
        const Variant made = CreateLanguageFile(
            proj_, u"@lang_" + entry, u"Creating language file " + entry + u"...",
            u"Create language file", source, folder, checkOnly_);
        note(made, folder, source, u"@lang_" + entry);
        if (isTrue(made)) result_ = 1;
      });
    }
    return result_;
  }

 private:
  static bool isTrue(const Variant& v) { return !v.isEmpty() && toBool(v); }

  // What a copy step made: anything it gave an answer for in the check, what it made since.
  void note(const Variant& made, const std::u16string& folder, const std::u16string& source,
            const std::u16string& id) {
    if (made.isEmpty() || (!checkOnly_ && !toBool(made)) || !run_.siteOutputs) return;
    run_.noteProjectOutput(GetDestPath(proj_, folder, fileNamePart(source), true), id);
  }

  std::u16string text(std::u16string_view name) {
    return settingValueText(proj_.properties(), name);
  }

  // One step. The end of a run always passes; other failures are skipped once the style sheet
  // is being made, and before that end the run with their message.
  void step(const std::function<void()>& body) {
    try {
      body();
    } catch (const AutomationError& e) {
      if (e.number() == kRunEnded) throw;
      if (!ignoreFailures_) fail(e.description());
    } catch (const CopyFailed& e) {
      if (!ignoreFailures_) RaiseGenError(e.message());
    } catch (const std::exception& e) {
      if (!ignoreFailures_) fail(fromUtf8(e.what()));
    }
  }

  // A failure the run went on after is the message it ends with.
  [[noreturn]] void fail(const std::u16string& reason) {
    if (run_.failure) RaiseGenError(*run_.failure);
    RaiseGenError(projectContext().productTitle + u": " + reason);
  }

  void styleSheet() {
    std::u16string name = text(u"ProjVar") + u".css";
    if (projectSettingFlag(proj_, u"OutputNameLCase")) name = toLower(name);
    const std::u16string folder = GetFolderById(controls_, u"_css");
    // The sheet is made from the user's style sheet template, and only when there is one.
    const std::u16string cssFile = userGeneralText(u"CssFile");
    const bool made = !cssFile.empty() && fs::fileExists(cssFile);
    if (checkOnly_) {
      proj_.controlList().Add(u"@css", name, true, u"Create CSS file");
      if (made && run_.siteOutputs)
        run_.noteProjectOutput(GetDestPath(proj_, folder, name, true), u"@css");
      return;
    }
    if (!IsOutputItemOn(proj_, u"@css")) return;
    ignoreFailures_ = true;
    const std::u16string path = GetDestPath(proj_, folder, name, false);
    if (made) {
      run_.noteProjectOutput(path, u"@css");
      const std::u16string css = toString(ReadTextFile(Variant(cssFile)));
      // A set-up failure of an engine made for this call ends nothing: the sheet expands as far
      // as it can.
      ScriptResult<std::u16string> expanded = std::move(runExParseFunction(proj_, css).run);
      // The sheet is still written; the failure ends the walk after this step.
      if (!expanded.outcome) run_.failure = std::move(expanded.outcome.failure().text);
      WriteOutputFile(path, expanded.value + text(u"CssStyles"), false, run_.outputWrites(),
                      OutputRootOf(proj_, path));
    }
    StepProgress();
  }

  void userStyleSheet() {
    const std::u16string css = text(u"CSS");
    if (css.empty()) return;
    const std::u16string dest = GetDestPath(proj_, u"", fileNamePart(css), checkOnly_);
    if (fs::normalizeSeparators(css) == fs::normalizeSeparators(dest)) return;
    if (checkOnly_) {
      proj_.controlList().Add(u"@cssfile", dest, true, u"Copy user CSS");
      if (fs::fileExists(css)) run_.noteProjectOutput(dest, u"@cssfile");
      return;
    }
    if (!IsOutputItemOn(proj_, u"@cssfile")) return;
    Status().DispStatus(Variant(u"copying css..."));
    if (fs::fileExists(css)) {
      run_.noteProjectOutput(dest, u"@cssfile");
      copyOver(proj_, css, dest);
    }
    StepProgress();
  }

  void logo() {
    const std::u16string logo = text(u"HeaderLogo");
    if (logo.empty() || !fs::fileExists(logo)) return;
    const std::u16string name = fileNamePart(logo);
    const std::u16string folder = GetFolderById(controls_, u"_images");
    if (checkOnly_) {
      proj_.controlList().Add(u"@logo", name, true, u"Copy logo");
      if (run_.siteOutputs)
        run_.noteProjectOutput(GetDestPath(proj_, folder, name, true), u"@logo");
      return;
    }
    if (!IsOutputItemOn(proj_, u"@logo")) return;
    const std::u16string dest = GetDestPath(proj_, folder, name, false);
    run_.noteProjectOutput(dest, u"@logo");
    Status().DispStatus(Variant(u"Copying logo..."));
    copyOver(proj_, logo, dest);
    StepProgress();
  }

  std::vector<std::u16string> languageEntries() {
    const bool multi = projectSettingFlag(proj_, u"MultiLanguage");
    return split(text(multi ? u"LanguageFiles" : u"DefaultLanguageFile"), u",");
  }

  // The language file in the user's language folder; a name that leads outside that folder is
  // refused, and without a folder there is no source.
  std::u16string languageSource(const std::u16string& entry) {
    const std::u16string& folder = projectContext().languageFolderPath;
    if (trimBlanks(folder).empty()) return {};
    const std::optional<std::u16string> path = fs::joinInside(folder, entry);
    if (!path) {
      RaiseGenError(projectContext().productTitle + u": The language file " + inQuotes(entry) +
                    u" leads outside the language folder " + inQuotes(folder) +
                    u". Generation aborted.");
    }
    return *path;
  }

  GenerationRun& run_;
  AGP& proj_;
  const AGPControls& controls_;
  bool checkOnly_;
  bool ignoreFailures_ = false;
  std::int16_t result_ = 0;
};

}  // namespace

std::int16_t GenerateProjectFiles(GenerationRun& run, bool checkOnly) {
  return ProjectFiles(run, checkOnly).run();
}

Variant CopyProjectFile(AGP& proj, const std::u16string& id, const std::u16string& status,
                        const std::u16string& remark, const std::u16string& source,
                        const std::u16string& folder, bool checkOnly) {
  if (source.empty() || !fs::fileExists(source)) return {};
  const std::u16string dest = GetDestPath(proj, folder, fileNamePart(source), checkOnly);
  if (checkOnly) {
    proj.controlList().Add(id, fileNamePart(source), true, remark);
    return Variant(fs::fileExists(dest));
  }
  const bool on = IsOutputItemOn(proj, id);
  if (on) {
    Status().DispStatus(Variant(status));
    copyOver(proj, source, dest);
    StepProgress();
  }
  return Variant(on);
}

}  // namespace vantorel
