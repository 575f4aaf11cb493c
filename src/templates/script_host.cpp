#include "templates/script_host.hpp"

#include <exception>
#include <utility>

#include "agp/agp.hpp"
#include "foundation/project_context.hpp"
#include "foundation/reg_values.hpp"
#include "platform/automation/automation_error.hpp"
#include "platform/automation/class_info.hpp"
#include "platform/automation/variant_convert.hpp"
#include "platform/fs/files.hpp"
#include "platform/fs/path.hpp"
#include "platform/text/case_fold.hpp"
#include "platform/text/strings.hpp"
#include "platform/text/unicode.hpp"
#include "templates/controls.hpp"
#include "templates/output_builder.hpp"
#include "templates/script_calls.hpp"
#include "templates/script_files.hpp"

namespace vantorel {

namespace {

constexpr std::u16string_view kCrLf = u"\r\n";
constexpr char16_t kUserModule[] = u"$User";
constexpr char16_t kLoadCurrent[] = u"zt_LoadCurrent";

Ref<vbs::ScriptControl> newEngine() {
  Ref<vbs::ScriptControl> engine = makeRef<vbs::ScriptControl>();
  engine->setLanguage(u"VBScript");
  engine->reset();
  // The builder compiled templates write into; a system code that brings its own class of
  // that name has its own.
  engine->engine().addClass(u"StringBuilder",
                            [] { return Ref<Object>(makeRef<TemplateOutputBuilder>()); });
  return engine;
}

std::u16string generalValue(std::u16string_view name) {
  try {
    return toString(
        GetRegValue(Variant(u"HKCU"), Variant(projectContext().generalKey), Variant(name)));
  } catch (const std::exception&) {
    return {};
  }
}

// The main engine's limit for one template run. 0 is what a missing setting reads as; it gets
// the control's default rather than stopping every script at once or never stopping one.
std::int32_t effectiveTimeout(std::int32_t milliseconds) {
  if (milliseconds > 0 || milliseconds == vbs::kNoTimeout) return milliseconds;
  return vbs::kDefaultTimeout;
}

}  // namespace

namespace templates {

std::u16string scriptErrorOf(vbs::ScriptControl& engine, vbs::ScriptError fallback,
                             std::u16string_view file) {
  vbs::ScriptError error = engine.error()->value();
  if (error.number == 0) error = std::move(fallback);
  return scriptErrorText(error, file);
}

ScriptReport::ScriptReport() : before_(projectContext().lastErrorText) {}

bool ScriptReport::pending() const {
  const std::u16string& now = projectContext().lastErrorText;
  return !now.empty() && now != before_;
}

ScriptOutcome ScriptReport::finish(ScriptOutcome outcome) {
  if (pending()) {
    std::u16string reported = std::exchange(projectContext().lastErrorText, before_);
    if (outcome.ok()) outcome = Failure{std::move(reported)};
  }
  return outcome;
}

}  // namespace templates

std::u16string scriptErrorText(const vbs::ScriptError& error, std::u16string_view file) {
  std::u16string text = projectContext().productTitle;
  if (!file.empty()) {
    const std::size_t cut = file.find_last_of(u"\\/");
    text += u" (";
    text += cut == std::u16string_view::npos ? file : file.substr(cut + 1);
    text += u")";
  }
  text += u": " + error.source + u" (" + toU16(error.number) + u")";
  if (error.line != 0) text += u", line " + toU16(error.line);
  if (error.column != 0) text += u", column " + toU16(error.column);
  text += kCrLf;
  if (!error.description.empty()) {
    text += u"Description: " + error.description;
    text += kCrLf;
  }
  if (!error.text.empty()) text += u"Text: " + error.text;
  return text;
}

AGScript::AGScript() : scrpt_(makeRef<AGUserScript>()) {
  try {
    main_ = newEngine();
    check_ = newEngine();
    validation_ = newEngine();
  } catch (const std::exception&) {
    main_ = check_ = validation_ = nullptr;
  }
  readLocaleFlag();
  paths_.sysCode = generalValue(u"SYSCODE");
  paths_.sysCodePrefix = generalValue(u"SYSCODEPREFIX");
  paths_.sysCodeSuffix = generalValue(u"SYSCODESUFFIX");
  paths_.userCode = generalValue(u"USERCODE");
  paths_.validateCode = generalValue(u"VALIDATECODE");
}

AGScript::~AGScript() = default;

const ClassInfo& AGScript::classInfo() const noexcept {
  return MemberTable<AGScript>::get(u"AGScript");
}

void AGScript::readLocaleFlag() {
  const std::u16string configured = generalValue(u"ConvertBoolean");
  if (!configured.empty()) {
    try {
      nonEnglishLocale_ = toBool(Variant(configured));
    } catch (const std::exception&) {
      nonEnglishLocale_ = false;
    }
    return;
  }
  if (!main_) return;
  try {
    Ref<vbs::ScriptModule> test = main_->modules()->add(u"test");
    test->addCode(std::u16string(u"Function CheckBoolean()\r\nSetLocale(1033)\r\n") +
                  u"CheckBoolean = (CStr(True) = \"True\")\r\nEnd Function");
    nonEnglishLocale_ = !toBool(test->run(u"CheckBoolean"));
  } catch (const std::exception&) {
    nonEnglishLocale_ = false;
  }
}

void AGScript::Initialize(const Ref<Object>& PROJ, const Ref<Object>& DB,
                          const Ref<Object>& controls, const Ref<Object>& Lang,
                          const Ref<Object>& customscripts, const Ref<Object>& filter,
                          const Ref<Object>& EXTS, const Ref<Object>& MenuList) {
  // A text already there stops the loading after the system code, as an error of its own does.
  const bool pending = !projectContext().lastErrorText.empty();
  if (ScriptOutcome done =
          initialize(ScriptObjects{PROJ, DB, controls, Lang, customscripts, filter, EXTS, MenuList},
                     pending, &showScriptFileFailure);
      !done)
    projectContext().lastErrorText = std::move(done.failure().text);
}

ScriptOutcome AGScript::initialize(const ScriptObjects& objects, bool systemCodeOnly,
                                   const ScriptFileNotice& tell) {
  if (!main_) return {};
  Reset();
  project_ = objects.PROJ;
  const std::pair<const char16_t*, Ref<Object>> named[] = {
      {u"PROJ", objects.PROJ},
      {u"DB", objects.DB},
      {u"Controls", objects.controls},
      {u"LANGUAGE", objects.Lang},
      {u"SCRPT", scrpt_},
      {u"EXTS", objects.EXTS},
      {u"MENULIST", objects.MenuList},
      {u"CUSTOMSCRIPTS", objects.customscripts},
      {u"FILTERS", objects.filter},
  };
  for (vbs::ScriptControl* engine : {main_.get(), check_.get(), validation_.get()}) {
    for (const auto& [name, object] : named) {
      // Nothing (a project without a database) cannot be added; scripts then find the name
      // undefined, which the built-in code tests with IsObject.
      if (!object) continue;
      try {
        engine->addObject(name, object, false);
      } catch (const std::exception&) {
      }
    }
  }
  templates::ScriptReport report;
  ScriptOutcome loaded = loadSystemCode(tell);
  if (loaded.ok() && !report.pending() && !systemCodeOnly) loaded = loadValidationCode(tell);
  if (loaded.ok() && !report.pending() && !systemCodeOnly) loaded = loadUserCode(tell);
  return report.finish(std::move(loaded));
}

void AGScript::Reset() {
  project_ = nullptr;
  for (vbs::ScriptControl* engine : {main_.get(), check_.get(), validation_.get()}) {
    if (!engine) continue;
    try {
      engine->reset();
    } catch (const std::exception&) {
    }
  }
}

ScriptOutcome AGScript::loadUserCode(const ScriptFileNotice& tell) {
  userCodeText_ = paths_.userCode.empty() ? std::u16string(u"'Please enter your script here")
                                          : readScriptFile(paths_.userCode, tell);
  return addUserText(userCodeText_, paths_.userCode);
}

ScriptOutcome AGScript::addUserText(const std::u16string& text, const std::u16string& file) {
  if (!check_ || !main_) return {};
  templates::ScriptReport report;
  Ref<vbs::ScriptModule> module;
  ScriptOutcome compiled = templates::attemptScript(*check_, file, [&] {
    std::optional<vbs::Module> existing = check_->engine().findModule(kUserModule);
    module = existing ? check_->modules()->item(Variant(kUserModule))
                      : check_->modules()->add(kUserModule);
    module->addCode(text);
  });
  if (!compiled) return report.finish(std::move(compiled));
  try {
    main_->addCode(text);
  } catch (const std::exception&) {
    // The check engine compiled it; what fails here is a clash with the system code, which the
    // templates would meet anyway.
  }
  if (std::optional<vbs::Module> m = check_->engine().findModule(kUserModule)) {
    for (const vbs::ProcedureInfo& p : m->procedures()) scrpt_->AddUserModule(p.name);
  }
  return report.finish({});
}

void AGScript::AddUserCode(const std::u16string& sFile) {
  if (ScriptOutcome added = addUserCode(sFile, &showScriptFileFailure); !added)
    projectContext().lastErrorText = std::move(added.failure().text);
}

ScriptOutcome AGScript::addUserCode(const std::u16string& file, const ScriptFileNotice& tell) {
  return addUserText(readScriptFile(file, tell), file);
}

void AGScript::AddTemplateScript(const std::u16string& sFile) {
  if (ScriptOutcome added = addTemplateScript(sFile, &showScriptFileFailure); !added)
    projectContext().lastErrorText = std::move(added.failure().text);
}

ScriptOutcome AGScript::addTemplateScript(const std::u16string& file,
                                          const ScriptFileNotice& tell) {
  if (!main_) return {};
  const std::u16string text = readScriptFile(file, tell);
  templates::ScriptReport report;
  return report.finish(templates::attemptScript(*main_, file, [&] { main_->addCode(text); }));
}

bool AGScript::ModuleExist(const std::u16string& sModule) {
  if (!main_) return false;
  for (const vbs::ProcedureInfo& p : main_->engine().globalModule().procedures()) {
    if (equalsNoCase(p.name, sModule)) return true;
  }
  return false;
}

bool AGScript::UserModuleExist(const std::u16string& sModule) {
  return ModuleExist(sModule);
}

bool AGScript::Validate() {
  if (!projectContext().lastErrorText.empty()) return false;
  ScriptResult<bool> result = validate();
  if (!result.outcome) projectContext().lastErrorText = std::move(result.outcome.failure().text);
  return result.value;
}

ScriptResult<bool> AGScript::validate() {
  if (!validation_) return {false, {}};
  templates::ScriptReport report;
  for (const std::u16string& name : validationProcedures_) {
    Variant result;
    if (ScriptOutcome ran =
            templates::attemptScript(*validation_, name, [&] { result = validation_->run(name); });
        !ran)
      return {false, report.finish(std::move(ran))};
    bool passed = false;
    try {
      passed = toBool(result);
    } catch (const std::exception&) {
      passed = false;
    }
    if (!passed) {
      ScriptOutcome reported = report.finish({});
      if (reported.ok())
        reported =
            Failure{projectContext().productTitle + u": Validation module (" + name + u") failed"};
      return {false, std::move(reported)};
    }
  }
  return {true, report.finish({})};
}

Variant AGScript::RunModule(const std::u16string& module) {
  lastResult_ = Variant();
  if (!projectContext().lastErrorText.empty()) return lastResult_;
  ScriptResult<Variant> result = runModule(module);
  if (!result.outcome) projectContext().lastErrorText = std::move(result.outcome.failure().text);
  return result.value;
}

ScriptResult<Variant> AGScript::runModule(const std::u16string& module) {
  lastResult_ = Variant();
  if (!main_) return {lastResult_, {}};
  templates::ScriptReport report;
  try {
    main_->run(kLoadCurrent);
  } catch (const std::exception&) {
  }
  ScriptOutcome ran =
      templates::attemptScript(*main_, module, [&] { lastResult_ = main_->run(module); });
  return {lastResult_, report.finish(std::move(ran))};
}

std::u16string AGScript::BuildNewCode(const std::u16string& sId, const std::u16string& sScript,
                                      std::int16_t bInitType, std::int32_t lTimeout) {
  ScriptResult<std::u16string> result = buildNewCode(sId, sScript, bInitType, lTimeout);
  if (!result.outcome) projectContext().lastErrorText = std::move(result.outcome.failure().text);
  return std::move(result.value);
}

ScriptResult<std::u16string> AGScript::buildNewCode(const std::u16string& id,
                                                    const std::u16string& script,
                                                    std::int16_t initType, std::int32_t timeout) {
  if (!main_) return {script, {}};
  const bool add = initType == 0 || !compiled_.contains(id);
  try {
    main_->setTimeout(effectiveTimeout(timeout));
  } catch (const std::exception&) {
  }
  templates::ScriptReport report;
  if (add) {
    compiled_[id] = script;
    ++compileCount_;
    if (ScriptOutcome compiled =
            templates::attemptScript(*main_, id, [&] { main_->addCode(script); });
        !compiled)
      return {{}, report.finish(std::move(compiled))};
  }
  std::u16string result;
  ScriptOutcome ran =
      templates::attemptScript(*main_, id, [&] { result = takeText(main_->run(id)); });
  return {std::move(result), report.finish(std::move(ran))};
}

std::u16string AGScript::diagnosticFolder() const {
  if (AGP* project = dynamic_cast<AGP*>(project_.get())) {
    const std::u16string destination(trimBlanks(project->Destination()));
    if (!destination.empty()) return destination;
  }
  return std::u16string(trimBlanks(projectContext().destinationFolder));
}

void AGScript::writeDiagnostic(std::u16string_view name, std::u16string_view text) const {
  const std::u16string folder = diagnosticFolder();
  if (folder.empty() || !fs::folderExists(folder)) return;
  const std::u16string leaf = fs::fileNameOf(name);
  if (leaf.empty() || leaf == u"." || leaf == u"..") return;
  try {
    fs::writeFileAtomic(fs::joinPath(folder, leaf), "\xEF\xBB\xBF" + toUtf8(text));
  } catch (const std::exception&) {
  }
}

Ref<AGPControls> projectTemplateControls(AGP& proj) {
  Ref<Object>& held = proj.templateControls();
  if (!held) held = makeRef<AGPControls>();
  return Ref<AGPControls>(static_cast<AGPControls*>(held.get()));
}

}  // namespace vantorel
