#include "platform/vbscript/control/script_control.hpp"

#include <utility>

#include "platform/automation/automation_error.hpp"
#include "platform/automation/bind.hpp"
#include "platform/automation/safe_array.hpp"
#include "platform/automation/variant_convert.hpp"
#include "platform/text/case_fold.hpp"
#include "platform/vbscript/control/indexed_get.hpp"

namespace vantorel::vbs {

namespace {

constexpr char16_t kControlSource[] = u"ScriptControl";

[[noreturn]] void raiseControlError(std::int32_t number, std::u16string description) {
  throw AutomationError(number, kControlSource, std::move(description));
}
[[noreturn]] void raiseControlError(std::int32_t number) {
  raiseControlError(number, std::u16string(vberr::errorText(number)));
}

Ref<Enumerator> enumerate(std::vector<Variant> values) {
  return makeArrayEnumerator(Variant(SafeArray::fromValues(std::move(values))));
}

// Run's ParamArray: everything after the procedure name, passed on by value.
std::vector<Variant> trailingArguments(CallArgs args) {
  std::vector<Variant> out;
  for (std::size_t i = 1; i < args.size(); ++i) out.push_back(args[i]);
  return out;
}

}  // namespace

// ---- Error -------------------------------------------------------------------------------

const ClassInfo& ScriptControlError::classInfo() const noexcept {
  static const ClassInfo& info = describeClass(u"Error", [](ClassInfo& c) {
    ClassBuilder<ScriptControlError>(c)
        .get<&ScriptControlError::number>(u"Number")
        .get<&ScriptControlError::source>(u"Source")
        .get<&ScriptControlError::description>(u"Description")
        .get<&ScriptControlError::helpFile>(u"HelpFile")
        .get<&ScriptControlError::helpContext>(u"HelpContext")
        .get<&ScriptControlError::text>(u"Text")
        .get<&ScriptControlError::line>(u"Line")
        .get<&ScriptControlError::column>(u"Column")
        .method<&ScriptControlError::clear>(u"Clear")
        .defaultMember(u"Number");
  });
  return info;
}

// ---- Procedures ----------------------------------------------------------------------------

const ClassInfo& ScriptProcedure::classInfo() const noexcept {
  static const ClassInfo& info = describeClass(u"Procedure", [](ClassInfo& c) {
    ClassBuilder<ScriptProcedure>(c)
        .get<&ScriptProcedure::name>(u"Name")
        .get<&ScriptProcedure::numArgs>(u"NumArgs")
        .get<&ScriptProcedure::hasReturnValue>(u"HasReturnValue")
        .defaultMember(u"Name");
  });
  return info;
}

ScriptProcedures::ScriptProcedures(Ref<ScriptControl> control, std::u16string module)
    : control_(std::move(control)), module_(std::move(module)) {}

const ClassInfo& ScriptProcedures::classInfo() const noexcept {
  static const ClassInfo& info = describeClass(u"Procedures", [](ClassInfo& c) {
    ClassBuilder<ScriptProcedures>(c)
        .get<&ScriptProcedures::count>(u"Count")
        .get<&ScriptProcedures::item>(u"Item")
        .defaultMember(u"Item")
        .enumerator<&ScriptProcedures::newEnum>();
  });
  return info;
}

std::vector<ProcedureInfo> ScriptProcedures::list() {
  return control_->guarded(module_, [](Module& m) { return m.procedures(); });
}

std::int32_t ScriptProcedures::count() {
  return static_cast<std::int32_t>(list().size());
}

Ref<ScriptProcedure> ScriptProcedures::item(const Variant& index) {
  std::vector<ProcedureInfo> all = list();
  return control_->protect([&] {
    const Variant key = defaultValue(index);
    if (key.isString()) {
      for (ProcedureInfo& p : all) {
        if (equalsNoCase(p.name, key.stringValue())) return makeRef<ScriptProcedure>(std::move(p));
      }
    } else {
      const std::int32_t i = toLong(key);
      if (i >= 1 && static_cast<std::size_t>(i) <= all.size()) {
        return makeRef<ScriptProcedure>(std::move(all[static_cast<std::size_t>(i - 1)]));
      }
    }
    raiseVbError(vberr::kSubscriptOutOfRange);
  });
}

Ref<Enumerator> ScriptProcedures::newEnum() {
  std::vector<Variant> values;
  for (ProcedureInfo& p : list()) values.emplace_back(makeRef<ScriptProcedure>(std::move(p)));
  return enumerate(std::move(values));
}

// ---- Module ----------------------------------------------------------------------------------

ScriptModule::ScriptModule(Ref<ScriptControl> control, std::u16string name)
    : control_(std::move(control)), name_(std::move(name)) {}

const ClassInfo& ScriptModule::classInfo() const noexcept {
  static const ClassInfo& info = describeClass(u"Module", [](ClassInfo& c) {
    ClassBuilder<ScriptModule>(c)
        .get<&ScriptModule::name>(u"Name")
        .get<&ScriptModule::codeObject>(u"CodeObject")
        .rawGet(u"Procedures", &indexedGet<&ScriptModule::procedures>)
        .method<&ScriptModule::addCode>(u"AddCode")
        .method<&ScriptModule::eval>(u"Eval")
        .method<&ScriptModule::executeStatement>(u"ExecuteStatement")
        .rawMethod(u"Run",
                   [](Object& self, CallArgs args) -> Variant {
                     if (args.size() < 1) bind_detail::raiseWrongArgumentCount();
                     std::vector<Variant> rest = trailingArguments(args);
                     return static_cast<ScriptModule&>(self).run(toString(args[0]), rest);
                   })
        .defaultMember(u"Name");
  });
  return info;
}

Ref<Object> ScriptModule::codeObject() {
  return control_->guarded(name_, [](Module& m) { return m.codeObject(); });
}

Ref<ScriptProcedures> ScriptModule::procedures() {
  control_->guarded(name_, [](Module&) {});  // a module dropped by Reset fails here
  return makeRef<ScriptProcedures>(control_, name_);
}

void ScriptModule::addCode(const std::u16string& code) {
  control_->guarded(name_, [&](Module& m) { m.addCode(code); });
}

Variant ScriptModule::eval(const std::u16string& expression) {
  return control_->guarded(name_, [&](Module& m) { return m.eval(expression); });
}

void ScriptModule::executeStatement(const std::u16string& statement) {
  control_->guarded(name_, [&](Module& m) { m.executeStatement(statement); });
}

Variant ScriptModule::run(const std::u16string& procedure, std::span<const Variant> args) {
  return control_->guarded(name_, [&](Module& m) { return m.run(procedure, args); });
}

// ---- Modules ---------------------------------------------------------------------------------

ScriptModules::ScriptModules(Ref<ScriptControl> control) : control_(std::move(control)) {}

const ClassInfo& ScriptModules::classInfo() const noexcept {
  static const ClassInfo& info = describeClass(u"Modules", [](ClassInfo& c) {
    ClassBuilder<ScriptModules>(c)
        .method<&ScriptModules::add>(u"Add")
        .get<&ScriptModules::item>(u"Item")
        .get<&ScriptModules::count>(u"Count")
        .defaultMember(u"Item")
        .enumerator<&ScriptModules::newEnum>();
  });
  return info;
}

Ref<ScriptModule> ScriptModules::add(const std::u16string& name, std::optional<Variant>) {
  return control_->protect([&] {
    control_->requireLanguage();
    if (control_->engine_.findModule(name)) {
      raiseControlError(vberr::kKeyAlreadyExists, u"Specified name is already in use");
    }
    Module m = control_->engine_.addModule(name);
    return makeRef<ScriptModule>(control_, m.name());
  });
}

Ref<ScriptModule> ScriptModules::item(const Variant& index) {
  return control_->protect([&] {
    const Variant key = defaultValue(index);
    if (key.isString()) {
      if (std::optional<Module> m = control_->engine_.findModule(key.stringValue())) {
        return makeRef<ScriptModule>(control_, m->name());
      }
    } else {
      const std::int32_t i = toLong(key);
      std::vector<Module> all = control_->engine_.modules();
      if (i >= 1 && static_cast<std::size_t>(i) <= all.size()) {
        return makeRef<ScriptModule>(control_, all[static_cast<std::size_t>(i - 1)].name());
      }
    }
    raiseVbError(vberr::kSubscriptOutOfRange);
  });
}

std::int32_t ScriptModules::count() {
  return control_->protect(
      [&] { return static_cast<std::int32_t>(control_->engine_.modules().size()); });
}

Ref<Enumerator> ScriptModules::newEnum() {
  std::vector<Variant> values;
  control_->protect([&] {
    for (Module& m : control_->engine_.modules()) {
      values.emplace_back(makeRef<ScriptModule>(control_, m.name()));
    }
  });
  return enumerate(std::move(values));
}

// ---- ScriptControl ---------------------------------------------------------------------------

ScriptControl::ScriptControl() : error_(makeRef<ScriptControlError>()) {
  engine_.setTimeout(timeout_);
}

const ClassInfo& ScriptControl::classInfo() const noexcept {
  static const ClassInfo& info = describeClass(u"ScriptControl", [](ClassInfo& c) {
    ClassBuilder<ScriptControl>(c)
        .prop<&ScriptControl::language, &ScriptControl::setLanguage>(u"Language")
        .prop<&ScriptControl::state, &ScriptControl::setState>(u"State")
        .prop<&ScriptControl::sitehWnd, &ScriptControl::setSitehWnd>(u"SitehWnd")
        .prop<&ScriptControl::timeout, &ScriptControl::setTimeout>(u"Timeout")
        .prop<&ScriptControl::allowUI, &ScriptControl::setAllowUI>(u"AllowUI")
        .prop<&ScriptControl::useSafeSubset, &ScriptControl::setUseSafeSubset>(u"UseSafeSubset")
        .rawGet(u"Modules", &indexedGet<&ScriptControl::modules>)
        .get<&ScriptControl::error>(u"Error")
        .get<&ScriptControl::codeObject>(u"CodeObject")
        .rawGet(u"Procedures", &indexedGet<&ScriptControl::procedures>)
        .method<&ScriptControl::reset>(u"Reset")
        .method<&ScriptControl::addObject>(u"AddObject")
        .method<&ScriptControl::addCode>(u"AddCode")
        .method<&ScriptControl::executeStatement>(u"ExecuteStatement")
        .method<&ScriptControl::eval>(u"Eval")
        .rawMethod(u"Run", [](Object& self, CallArgs args) -> Variant {
          if (args.size() < 1) bind_detail::raiseWrongArgumentCount();
          std::vector<Variant> rest = trailingArguments(args);
          return static_cast<ScriptControl&>(self).run(toString(args[0]), rest);
        });
  });
  return info;
}

template <class F>
auto ScriptControl::protect(F&& f) -> decltype(f()) {
  // A script may drop the last reference to the control while one of its calls runs.
  Ref<ScriptControl> keepAlive(this);
  error_->clear();
  try {
    engine_.clearError();
    return f();
  } catch (const ScriptException& e) {
    fail(e.error());
  } catch (const AutomationError& e) {
    fail(ScriptError{e.number(), e.source(), e.description()});
  }
}

template <class F>
auto ScriptControl::guarded(std::u16string_view module, F&& f)
    -> decltype(f(std::declval<Module&>())) {
  return protect([&] {
    requireLanguage();
    std::optional<Module> m = engine_.findModule(module);
    if (!m) raiseControlError(vberr::kSubscriptOutOfRange, u"The module does not exist");
    return f(*m);
  });
}

void ScriptControl::fail(ScriptError e) {
  error_->assign(e);
  throw AutomationError(e.number, std::move(e.source), std::move(e.description));
}

void ScriptControl::requireLanguage() {
  if (language_.empty()) {
    raiseControlError(vberr::kInvalidProcedureCall,
                      u"The operation could not be completed because the script engine has not "
                      u"been initialized to a valid language");
  }
}

void ScriptControl::setLanguage(const std::u16string& language) {
  protect([&] {
    if (!equalsNoCase(language, u"VBScript")) {
      raiseControlError(vberr::kInvalidPropertyValue,
                        u"The script language '" + language + u"' is not available; use VBScript");
    }
    engine_.reset();
    objectNames_.clear();
    state_ = 0;
    language_ = u"VBScript";
  });
}

void ScriptControl::setState(std::int32_t state) {
  protect([&] {
    if (state != 0 && state != 1) raiseControlError(vberr::kInvalidPropertyValue);
    state_ = state;
  });
}

void ScriptControl::setTimeout(std::int32_t milliseconds) {
  protect([&] {
    if (milliseconds < kNoTimeout) raiseControlError(vberr::kInvalidPropertyValue);
    timeout_ = milliseconds;
    engine_.setTimeout(milliseconds);
  });
}

Ref<ScriptModules> ScriptControl::modules() {
  protect([&] { requireLanguage(); });
  return makeRef<ScriptModules>(Ref<ScriptControl>(this));
}

Ref<Object> ScriptControl::codeObject() {
  return guarded(kGlobalModuleName, [](Module& m) { return m.codeObject(); });
}

Ref<ScriptProcedures> ScriptControl::procedures() {
  protect([&] { requireLanguage(); });
  return makeRef<ScriptProcedures>(Ref<ScriptControl>(this), kGlobalModuleName);
}

void ScriptControl::reset() {
  protect([&] {
    engine_.reset();
    objectNames_.clear();
    state_ = 0;
  });
}

void ScriptControl::addObject(const std::u16string& name, Ref<Object> object,
                              std::optional<bool> addMembers) {
  protect([&] {
    requireLanguage();
    if (!object) raiseVbError(vberr::kObjectRequired);
    if (name.empty()) raiseVbError(vberr::kInvalidProcedureCall);
    for (const std::u16string& n : objectNames_) {
      if (equalsNoCase(n, name)) {
        raiseControlError(vberr::kKeyAlreadyExists, u"Specified name is already in use");
      }
    }
    engine_.addObject(name, std::move(object), addMembers.value_or(false));
    objectNames_.push_back(name);
  });
}

void ScriptControl::addCode(const std::u16string& code) {
  guarded(kGlobalModuleName, [&](Module& m) { m.addCode(code); });
}

void ScriptControl::executeStatement(const std::u16string& statement) {
  guarded(kGlobalModuleName, [&](Module& m) { m.executeStatement(statement); });
}

Variant ScriptControl::eval(const std::u16string& expression) {
  return guarded(kGlobalModuleName, [&](Module& m) { return m.eval(expression); });
}

Variant ScriptControl::run(const std::u16string& procedure, std::span<const Variant> args) {
  return guarded(kGlobalModuleName, [&](Module& m) { return m.run(procedure, args); });
}

void registerScriptControl(ClassFactory& factory) {
  factory.registerClass(kScriptControlProgId, [] { return Ref<Object>(makeRef<ScriptControl>()); });
}

}  // namespace vantorel::vbs
