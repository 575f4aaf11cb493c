#pragma once
// One VBScript engine: a global module and named modules, each with its own namespace for
// variables and procedures, plus the named objects the host adds. This is what the script
// control facade and the `vantorel run` host stand on.
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "platform/automation/object.hpp"
#include "platform/automation/variant.hpp"
#include "platform/vbscript/script_error.hpp"

namespace vantorel::vbs {

class EngineImpl;
class ModuleImpl;

struct ProcedureInfo {
  std::u16string name;
  std::int32_t numArgs = 0;
  bool hasReturnValue = false;  // Function and Property Get
};

class Module {
 public:
  const std::u16string& name() const;
  // Compiles and runs the code's top-level statements. A compile error raises ScriptException
  // and leaves nothing of this code behind; a runtime error raises ScriptException too, and what
  // ran before it stays. A later definition of a procedure replaces the earlier one.
  void addCode(std::u16string_view code);
  void executeStatement(std::u16string_view statement);
  Variant eval(std::u16string_view expression);
  // Calls a procedure by name (case-insensitive); raises ScriptException (35, "Sub or Function
  // not defined") when there is none. Arguments are passed by value.
  Variant run(std::u16string_view procedure, std::span<const Variant> args = {});
  // In definition order.
  std::vector<ProcedureInfo> procedures() const;
  // An object whose members are the module's global variables and procedures.
  Ref<Object> codeObject();

 private:
  friend class EngineImpl;
  explicit Module(ModuleImpl* impl) : impl_(impl) {}
  ModuleImpl* impl_;
};

class Engine {
 public:
  Engine();
  ~Engine();
  Engine(const Engine&) = delete;
  Engine& operator=(const Engine&) = delete;

  // Drops all code, modules and named objects.
  void reset();
  // Milliseconds a single call may run; -1 for no limit. A script past it stops with an error.
  void setTimeout(std::int32_t milliseconds);
  std::int32_t timeout() const;
  // Makes the object visible to scripts under the name; with addMembers its members are also
  // reachable without the name, as globals.
  void addObject(std::u16string_view name, Ref<Object> object, bool addMembers);
  // A class scripts create with New when they define none of that name, made by the host;
  // unlike code and objects, it stays through reset().
  void addClass(std::u16string_view name, std::function<Ref<Object>()> make);

  Module globalModule();
  // Raises ScriptException when a module of that name exists already.
  Module addModule(std::u16string_view name);
  // Module "Global" is the global module.
  std::optional<Module> findModule(std::u16string_view name);
  std::vector<Module> modules();  // the global module first

  // The last error an operation raised, kept until the next operation or clearError().
  const ScriptError& lastError() const;
  void clearError();

 private:
  std::unique_ptr<EngineImpl> impl_;
};

}  // namespace vantorel::vbs
