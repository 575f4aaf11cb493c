#pragma once
// The script control: one VBScript engine behind the automation object model hosts have
// always driven (ScriptControl, Modules, Module, Procedures, Procedure, Error). Every failing
// operation fills Error and raises AutomationError{number, source, description}.
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "platform/automation/class_factory.hpp"
#include "platform/automation/enumerator.hpp"
#include "platform/automation/object.hpp"
#include "platform/vbscript/engine.hpp"

namespace vantorel::vbs {

class ScriptControl;

inline constexpr char16_t kScriptControlProgId[] = u"MSScriptControl.ScriptControl";
inline constexpr char16_t kGlobalModuleName[] = u"Global";
inline constexpr std::int32_t kDefaultTimeout = 10000;
inline constexpr std::int32_t kNoTimeout = -1;

// What the last failing operation reported; Number 0 when none.
class ScriptControlError final : public Object {
 public:
  const ClassInfo& classInfo() const noexcept override;

  std::int32_t number() const { return error_.number; }
  std::u16string source() const { return error_.source; }
  std::u16string description() const { return error_.description; }
  std::u16string helpFile() const { return {}; }
  std::int32_t helpContext() const { return 0; }
  std::u16string text() const { return error_.text; }
  std::int32_t line() const { return error_.line; }
  std::int32_t column() const { return error_.column; }
  void clear() { error_ = {}; }

  const ScriptError& value() const noexcept { return error_; }
  void assign(ScriptError e) { error_ = std::move(e); }

 private:
  ScriptError error_;
};

class ScriptProcedure final : public Object {
 public:
  explicit ScriptProcedure(ProcedureInfo info) : info_(std::move(info)) {}
  const ClassInfo& classInfo() const noexcept override;

  std::u16string name() const { return info_.name; }
  std::int32_t numArgs() const { return info_.numArgs; }
  bool hasReturnValue() const { return info_.hasReturnValue; }

 private:
  ProcedureInfo info_;
};

// A module's procedures, read afresh on every access so that later AddCode shows.
class ScriptProcedures final : public Object {
 public:
  ScriptProcedures(Ref<ScriptControl> control, std::u16string module);
  const ClassInfo& classInfo() const noexcept override;

  std::int32_t count();
  // A 1-based index or a procedure name.
  Ref<ScriptProcedure> item(const Variant& index);
  Ref<Enumerator> newEnum();

 private:
  std::vector<ProcedureInfo> list();
  Ref<ScriptControl> control_;
  std::u16string module_;
};

class ScriptModule final : public Object {
 public:
  ScriptModule(Ref<ScriptControl> control, std::u16string name);
  const ClassInfo& classInfo() const noexcept override;

  std::u16string name() const { return name_; }
  Ref<Object> codeObject();
  Ref<ScriptProcedures> procedures();
  void addCode(const std::u16string& code);
  Variant eval(const std::u16string& expression);
  void executeStatement(const std::u16string& statement);
  Variant run(const std::u16string& procedure, std::span<const Variant> args = {});

 private:
  Ref<ScriptControl> control_;
  std::u16string name_;
};

class ScriptModules final : public Object {
 public:
  explicit ScriptModules(Ref<ScriptControl> control);
  const ClassInfo& classInfo() const noexcept override;

  // The second argument of the original signature (an object) is accepted and ignored.
  Ref<ScriptModule> add(const std::u16string& name, std::optional<Variant> object = {});
  // A 1-based index (the global module is 1) or a module name.
  Ref<ScriptModule> item(const Variant& index);
  std::int32_t count();
  Ref<Enumerator> newEnum();

 private:
  Ref<ScriptControl> control_;
};

class ScriptControl final : public Object {
 public:
  ScriptControl();
  const ClassInfo& classInfo() const noexcept override;

  // Empty until set; only "VBScript" is accepted. Setting it starts a fresh engine.
  std::u16string language() const { return language_; }
  void setLanguage(const std::u16string& language);
  // 0 initialised, 1 connected (events are not sunk here; the value is kept).
  std::int32_t state() const { return state_; }
  void setState(std::int32_t state);
  std::int32_t sitehWnd() const { return sitehWnd_; }
  void setSitehWnd(std::int32_t hwnd) { sitehWnd_ = hwnd; }
  // Milliseconds one call may run; kNoTimeout for no limit.
  std::int32_t timeout() const { return timeout_; }
  void setTimeout(std::int32_t milliseconds);
  bool allowUI() const { return allowUI_; }
  void setAllowUI(bool allow) { allowUI_ = allow; }
  bool useSafeSubset() const { return useSafeSubset_; }
  void setUseSafeSubset(bool safe) { useSafeSubset_ = safe; }

  Ref<ScriptModules> modules();
  Ref<ScriptControlError> error() { return error_; }
  Ref<Object> codeObject();
  Ref<ScriptProcedures> procedures();

  // Drops all code, modules and added objects; the language stays.
  void reset();
  void addObject(const std::u16string& name, Ref<Object> object,
                 std::optional<bool> addMembers = {});
  void addCode(const std::u16string& code);
  void executeStatement(const std::u16string& statement);
  Variant eval(const std::u16string& expression);
  Variant run(const std::u16string& procedure, std::span<const Variant> args = {});

  // For hosts that drive the engine directly; failures through it do not fill Error.
  Engine& engine() noexcept { return engine_; }

 private:
  friend class ScriptModule;
  friend class ScriptModules;
  friend class ScriptProcedures;

  // Runs f with the control's error handling: Error is cleared first, and any failure fills
  // it and raises AutomationError.
  template <class F>
  auto protect(F&& f) -> decltype(f());
  // The same, for an operation on the named module.
  template <class F>
  auto guarded(std::u16string_view module, F&& f) -> decltype(f(std::declval<Module&>()));
  [[noreturn]] void fail(ScriptError e);
  void requireLanguage();

  Engine engine_;
  std::u16string language_;
  std::int32_t state_ = 0;
  std::int32_t sitehWnd_ = 0;
  std::int32_t timeout_ = kDefaultTimeout;
  bool allowUI_ = true;
  bool useSafeSubset_ = false;
  Ref<ScriptControlError> error_;
  std::vector<std::u16string> objectNames_;
};

// Registers MSScriptControl.ScriptControl.
void registerScriptControl(ClassFactory& factory);

}  // namespace vantorel::vbs
