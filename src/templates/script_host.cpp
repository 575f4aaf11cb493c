#include "templates/script_host.hpp"

#include <exception>
#include <utility>

#include "agp/agp.hpp"
#include "foundation/project_context.hpp"
#include "foundation/reg_values.hpp"
#include "platform/automation/automation_error.hpp"
#include "platform/automation/bind.hpp"
#include "platform/automation/variant_convert.hpp"
#include "platform/fs/files.hpp"
#include "platform/fs/path.hpp"
#include "platform/text/case_fold.hpp"
#include "platform/text/strings.hpp"
#include "platform/text/unicode.hpp"
#include "templates/controls.hpp"
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

void setScriptError(vbs::ScriptControl& engine, vbs::ScriptError fallback,
                    std::u16string_view file) {
  vbs::ScriptError error = engine.error()->value();
  if (error.number == 0) error = std::move(fallback);
  projectContext().lastErrorText = scriptErrorText(error, file);
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
  using T = AGScript;
  static const ClassInfo info(u"AGScript", [](ClassInfo& c) {
    ClassBuilder<T>(c)
        .method<&T::Initialize>(u"Initialize")
        .method<&T::IsInitialized>(u"IsInitialized")
        .method<&T::NonEnglishLocale>(u"NonEnglishLocale")
        .method<&T::Reset>(u"Reset")
        .method<&T::AddTemplateScript>(u"AddTemplateScript")
        .method<&T::AddUserCode>(u"AddUserCode")
        .method<&T::ModuleExist>(u"ModuleExist")
        .method<&T::UserModuleExist>(u"UserModuleExist")
        .method<&T::Validate>(u"Validate")
        .method<&T::RunModule>(u"RunModule")
        .method<&T::BuildNewCode>(u"BuildNewCode");
  });
  return info;
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
  if (!main_) return;
  Reset();
  project_ = PROJ;
  const std::pair<const char16_t*, Ref<Object>> objects[] = {
      {u"PROJ", PROJ},         {u"DB", DB},
      {u"Controls", controls}, {u"LANGUAGE", Lang},
      {u"SCRPT", scrpt_},      {u"EXTS", EXTS},
      {u"MENULIST", MenuList}, {u"CUSTOMSCRIPTS", customscripts},
      {u"FILTERS", filter},
  };
  for (vbs::ScriptControl* engine : {main_.get(), check_.get(), validation_.get()}) {
    for (const auto& [name, object] : objects) {
      // Nothing (a project without a database) cannot be added; scripts then find the name
      // undefined, which the built-in code tests with IsObject.
      if (!object) continue;
      try {
        engine->addObject(name, object, false);
      } catch (const std::exception&) {
      }
    }
  }
  loadSystemCode();
  if (projectContext().lastErrorText.empty()) loadValidationCode();
  if (projectContext().lastErrorText.empty()) loadUserCode();
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

void AGScript::loadUserCode() {
  userCodeText_ = paths_.userCode.empty() ? std::u16string(u"'Please enter your script here")
                                          : readScriptFile(paths_.userCode);
  addUserText(userCodeText_, paths_.userCode);
}

void AGScript::addUserText(const std::u16string& text, const std::u16string& file) {
  if (!check_ || !main_) return;
  Ref<vbs::ScriptModule> module;
  const bool compiled = templates::attemptScript(*check_, file, [&] {
    std::optional<vbs::Module> existing = check_->engine().findModule(kUserModule);
    module = existing ? check_->modules()->item(Variant(kUserModule))
                      : check_->modules()->add(kUserModule);
    module->addCode(text);
  });
  if (!compiled) return;
  try {
    main_->addCode(text);
  } catch (const std::exception&) {
    // The check engine compiled it; what fails here is a clash with the system code, which the
    // templates would meet anyway.
  }
  if (std::optional<vbs::Module> m = check_->engine().findModule(kUserModule)) {
    for (const vbs::ProcedureInfo& p : m->procedures()) scrpt_->AddUserModule(p.name);
  }
}

void AGScript::AddUserCode(const std::u16string& sFile) {
  addUserText(readScriptFile(sFile), sFile);
}

void AGScript::AddTemplateScript(const std::u16string& sFile) {
  if (!main_) return;
  const std::u16string text = readScriptFile(sFile);
  templates::attemptScript(*main_, sFile, [&] { main_->addCode(text); });
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
  if (!projectContext().lastErrorText.empty() || !validation_) return false;
  for (const std::u16string& name : validationProcedures_) {
    Variant result;
    if (!templates::attemptScript(*validation_, name, [&] { result = validation_->run(name); }))
      return false;
    bool passed = false;
    try {
      passed = toBool(result);
    } catch (const std::exception&) {
      passed = false;
    }
    if (!passed) {
      if (projectContext().lastErrorText.empty()) {
        projectContext().lastErrorText =
            projectContext().productTitle + u": Validation module (" + name + u") failed";
      }
      return false;
    }
  }
  return true;
}

Variant AGScript::RunModule(const std::u16string& module) {
  lastResult_ = Variant();
  if (!projectContext().lastErrorText.empty() || !main_) return lastResult_;
  try {
    main_->run(kLoadCurrent);
  } catch (const std::exception&) {
  }
  templates::attemptScript(*main_, module, [&] { lastResult_ = main_->run(module); });
  return lastResult_;
}

std::u16string AGScript::BuildNewCode(const std::u16string& sId, const std::u16string& sScript,
                                      std::int16_t bInitType, std::int32_t lTimeout) {
  if (!main_) return sScript;
  const bool add = bInitType == 0 || !compiled_.contains(sId);
  try {
    main_->setTimeout(effectiveTimeout(lTimeout));
  } catch (const std::exception&) {
  }
  if (add) {
    compiled_[sId] = sScript;
    ++compileCount_;
    if (!templates::attemptScript(*main_, sId, [&] { main_->addCode(sScript); })) return {};
  }
  std::u16string result;
  templates::attemptScript(*main_, sId, [&] { result = toString(main_->run(sId)); });
  return result;
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
