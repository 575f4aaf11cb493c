#pragma once
// Turns a syntax tree into the interpreter's node tree, binding every name once: locals and
// parameters to frame slots, fields to instance slots, module names to their entries, library
// names to their functions. Nothing of a unit reaches its module before commit(), so a unit
// that fails to compile leaves the module as it was.
#include <memory>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "platform/vbscript/ast.hpp"
#include "platform/vbscript/vm/runtime.hpp"
#include "platform/vbscript/vm/script_class.hpp"

namespace vantorel::vbs {

struct CompiledUnit {
  ModuleState* module = nullptr;
  std::vector<std::unique_ptr<Procedure>> procedures;
  std::vector<std::shared_ptr<ClassDef>> classes;
  std::vector<std::pair<std::u16string, Variant>> constants;
  std::vector<std::u16string> variables;
  BlockNode top;
  std::int32_t numTemps = 0;

  // Installs the unit's procedures, classes, constants and variables in its module.
  void commit();
};

// Code running inside a procedure (Execute, Eval) sees that procedure's locals and class.
struct CodeScope {
  Procedure* proc = nullptr;
  ClassDef* cls = nullptr;
};

// Compile errors raise ScriptException; source gives the text of the failing line.
std::unique_ptr<CompiledUnit> compileUnit(ModuleState& module, const Program& program,
                                          CodeScope scope, std::u16string_view source = {});
// An expression, as Eval compiles it; numTemps receives the hidden slots it needs.
ExprNodePtr compileExpression(ModuleState& module, const Expr& expr, CodeScope scope,
                              std::int32_t& numTemps);

}  // namespace vantorel::vbs
