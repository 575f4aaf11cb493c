#pragma once
// The condition texts of controls, sessions and extension settings: terms separated by ",",
// each "object/attribute/operator/values" or "function/name/type/operator/values", all of which
// must hold. Objects are the project, the database, the current table and field, the current
// control, and functions of the loaded scripts.
#include <string>
#include <string_view>

#include "platform/automation/ref.hpp"
#include "platform/automation/variant.hpp"

namespace vantorel {

class GenerationRun;

class AGP;
class AGPControl;
class AGProperties;

// True when every term holds. A term that is not made of four parts, or names an object,
// control attribute or operator that is unknown, holds, as does a "table" term without a
// current table. A failure (a script function that fails, a "field" term without a current
// field, a value that cannot be compared) ends the run through RaiseGenError: with the script's
// message, else with the message of a failure the run went on after, else with its own.
bool EvalCtrlCond(GenerationRun& run, std::u16string_view cond);

// One listed value of a condition as it is compared: trimmed; "%name" is the value of the
// bag's setting name (declared empty when missing); converted by dataType.
Variant GetCondValue(AGProperties& bag, std::u16string_view value, std::u16string_view dataType);

// The control "ctrl" terms read: CurrentControl while one is set, else the template controls'
// item at curIndex; nullptr when there is none.
Ref<AGPControl> ConditionControl(GenerationRun& run);

// Makes control the one "ctrl" terms read until the guard ends; the previous one comes back.
class CurrentControlScope {
 public:
  CurrentControlScope(GenerationRun& run, Ref<AGPControl> control);
  ~CurrentControlScope();
  CurrentControlScope(const CurrentControlScope&) = delete;
  CurrentControlScope& operator=(const CurrentControlScope&) = delete;

 private:
  GenerationRun& run_;
  Ref<AGPControl> previous_;
};

}  // namespace vantorel
