#include "generator/control_conditions.hpp"

#include <exception>
#include <optional>
#include <vector>

#include "agp/agp.hpp"
#include "fields/field.hpp"
#include "foundation/project_context.hpp"
#include "foundation/value_conversion.hpp"
#include "generator/generation_run.hpp"
#include "generator/run_end.hpp"
#include "generator/run_warnings.hpp"
#include "model/database.hpp"
#include "model/table.hpp"
#include "platform/automation/automation_error.hpp"
#include "platform/automation/variant_convert.hpp"
#include "platform/text/case_fold.hpp"
#include "platform/text/strings.hpp"
#include "platform/text/unicode.hpp"
#include "templates/control.hpp"
#include "templates/controls.hpp"
#include "templates/script_host.hpp"

namespace vantorel {

namespace {

constexpr std::u16string_view kFunctionPrefix = u"function/";

enum class Order { Less, Equal, Greater, Unordered };

// A failure inside a condition: a script function's failure, whose text is the run's message
// as it is, or another, whose reason goes into the condition's message.
struct ConditionFailure {
  std::u16string reason;
  bool scriptFailed = false;
};

bool isNumberLike(const Variant& v) {
  return v.isNumericType() || v.type() == VarType::Boolean || v.type() == VarType::Date;
}

template <class T>
Order orderOf(const T& a, const T& b) {
  if (a < b) return Order::Less;
  if (b < a) return Order::Greater;
  return Order::Equal;
}

// Numbers and Booleans by value, texts by code unit, Empty as 0 or "" to match the other side,
// any number below any text. Null compares with nothing.
Order compareValues(const Variant& left, const Variant& right) {
  if (left.isArray() || right.isArray() || left.isObject() || right.isObject()) {
    throw ConditionFailure{u"an object or array cannot be compared"};
  }
  if (left.isNull() || right.isNull()) return Order::Unordered;
  if (left.isEmpty() && right.isEmpty()) return Order::Equal;
  const bool leftText = left.isString() || (left.isEmpty() && right.isString());
  const bool rightText = right.isString() || (right.isEmpty() && left.isString());
  if (leftText && rightText) {
    const int c = compareOrdinal(left.isString() ? std::u16string_view(left.stringValue()) : u"",
                                 right.isString() ? std::u16string_view(right.stringValue()) : u"");
    return c < 0 ? Order::Less : (c > 0 ? Order::Greater : Order::Equal);
  }
  if (leftText) return Order::Greater;
  if (rightText) return Order::Less;
  if (!(isNumberLike(left) || left.isEmpty()) || !(isNumberLike(right) || right.isEmpty())) {
    throw ConditionFailure{u"a value of this type cannot be compared"};
  }
  return orderOf(left.isEmpty() ? 0.0 : toDouble(left), right.isEmpty() ? 0.0 : toDouble(right));
}

std::u16string textOf(const Variant& v) {
  if (v.isNull() || v.isEmpty()) return {};
  return toString(v);
}

// Nullopt for an operator the evaluator does not know.
std::optional<bool> applyOperator(std::u16string_view op, const Variant& left,
                                  const Variant& right) {
  const std::u16string name = toLower(op);
  if (name == u"in" || name == u"ni") {
    const bool found = containsNoCase(textOf(left), textOf(right));
    return name == u"in" ? found : !found;
  }
  if (name != u"eq" && name != u"ne" && name != u"gt" && name != u"ge" && name != u"lt" &&
      name != u"le") {
    return std::nullopt;
  }
  const Order order = compareValues(left, right);
  if (name == u"eq") return order == Order::Equal;
  if (name == u"ne") return order == Order::Less || order == Order::Greater;
  if (name == u"gt") return order == Order::Greater;
  if (name == u"ge") return order == Order::Greater || order == Order::Equal;
  if (name == u"lt") return order == Order::Less;
  if (name == u"le") return order == Order::Less || order == Order::Equal;
  return false;
}

std::optional<Variant> controlAttribute(const AGPControl& control, std::u16string_view attribute) {
  const AGControlFields& c = control.fields();
  const std::u16string name = toLower(attribute);
  if (name == u"ctrlid") return Variant(c.CtrlID);
  if (name == u"ctrltype") return Variant(c.CtrlType);
  if (name == u"ctrlofile") return Variant(c.CtrlOFile);
  if (name == u"ctrlofilecompat") return Variant(c.CtrlOFileCompat);
  if (name == u"ctrloext") return Variant(c.CtrlOExt);
  if (name == u"ctrlofolder") return Variant(c.CtrlOFolder);
  if (name == u"ctrlofolderid") return Variant(c.CtrlOFolderID);
  if (name == u"ctrlifiles") return Variant(c.CtrlIFiles);
  if (name == u"ctrlifolder") return Variant(c.CtrlIFolder);
  if (name == u"ctrlcond") return Variant(c.CtrlCond);
  if (name == u"ctrltagext") return Variant(c.CtrlTagExt);
  if (name == u"ctrlparm") return Variant(c.CtrlParm);
  if (name == u"ctrlspace") return Variant(c.CtrlSpace);
  if (name == u"ctrlgen") return Variant(c.CtrlGen);
  if (name == u"ctrlext") return Variant(c.CtrlExt);
  if (name == u"ctrlaction") return Variant(c.CtrlAction);
  if (name == u"ctrloverwrite") return Variant(c.CtrlOverwrite);
  return std::nullopt;
}

// The named script function's value; a function that fails ends the run with its message.
Variant runScriptFunction(GenerationRun& run, const std::u16string& name) {
  const Ref<AGScript>& engine = run.scriptEngine;
  if (!engine || !engine->IsInitialized()) return Variant(std::u16string());
  ScriptResult<Variant> result = engine->runModule(name);
  if (!result.outcome) throw ConditionFailure{std::move(result.outcome.failure().text), true};
  return std::move(result.value);
}

struct Term {
  bool function = false;
  std::vector<std::u16string> parts;
};

Term splitTerm(std::u16string_view raw) {
  Term term;
  std::u16string_view text = trimBlanks(raw);
  if (text.size() >= kFunctionPrefix.size() &&
      equalsNoCase(text.substr(0, kFunctionPrefix.size()), kFunctionPrefix)) {
    term.function = true;
    text = trimBlanks(text.substr(kFunctionPrefix.size()));
  }
  term.parts = split(text, u"/");
  return term;
}

// A setting term's left side and the bag its "%" references read; nullptr bag when the term
// holds without comparing.
struct SettingSide {
  AGProperties* bag = nullptr;
  Variant value;
  std::u16string dataType;
};

SettingSide settingSide(GenerationRun& run, std::u16string_view object,
                        const std::u16string& attribute) {
  AGP& proj = run.proj();
  const std::u16string name = toLower(object);
  AGProperties* bag = nullptr;
  if (name == u"proj") {
    bag = &proj.properties();
    // An undeclared project setting comes from the custom settings file, which declares it.
    if (!bag->exists(attribute) && !attribute.empty()) proj.GetV(attribute);
  } else if (name == u"db") {
    const Ref<AGPDatabase> db = proj.DB();
    if (!db) throw ConditionFailure{u"the project has no database"};
    bag = &db->properties();
  } else if (name == u"table") {
    if (!run.currentTable) return {};
    bag = &run.currentTable->properties();
  } else if (name == u"field") {
    if (!run.currentField) throw ConditionFailure{u"there is no current field"};
    bag = &run.currentField->properties();
  } else {
    return {};
  }
  SettingSide side{bag, Variant(), u"String"};
  if (const Ref<AGProperty> entry = bag->item(attribute)) {
    side.value = entry->value();
    side.dataType = entry->dataType();
  }
  return side;
}

// A term the evaluator cannot read holds, as it always did; the author is told why.
bool holdsUnread(GenerationRun& run, std::u16string_view raw, std::u16string_view why) {
  WarnOnce(run, projectContext().productTitle + u": Condition \"" +
                    std::u16string(trimBlanks(raw)) + u"\" " + std::u16string(why) +
                    u"; it is taken as true.");
  return true;
}

// True when the operator holds for one of the values; an operator the evaluator does not know
// makes the term hold.
template <class Compare>
bool anyValueHolds(GenerationRun& run, std::u16string_view raw, std::u16string_view op,
                   const std::vector<std::u16string>& values, Compare compare) {
  for (const std::u16string& value : values) {
    const std::optional<bool> holds = compare(value);
    if (!holds)
      return holdsUnread(run, raw, u"has the unknown operator \"" + std::u16string(op) + u"\"");
    if (*holds) return true;
  }
  return false;
}

// The left side is read once per term, so a script function runs once however many values
// the term lists.
bool evalTerm(GenerationRun& run, std::u16string_view raw) {
  const Term term = splitTerm(raw);
  if (term.parts.size() != 4) {
    if (trimBlanks(raw).empty()) return true;
    return holdsUnread(run, raw, u"is not of the form object/attribute/operator/values");
  }
  const std::u16string& object = term.parts[0];
  const std::u16string& attribute = term.parts[1];
  const std::u16string& op = term.parts[2];
  const std::vector<std::u16string> values = split(term.parts[3], u"|");

  if (term.function) {
    const Variant type(attribute);
    const Variant left = ConvertSetting(runScriptFunction(run, object), type);
    return anyValueHolds(run, raw, op, values, [&](const std::u16string& value) {
      return applyOperator(op, left, ConvertSetting(Variant(value), type));
    });
  }
  if (equalsNoCase(object, u"ctrl")) {
    const Ref<AGPControl> control = ConditionControl(run);
    if (!control) throw ConditionFailure{u"there is no current control"};
    const std::optional<Variant> left = controlAttribute(*control, attribute);
    if (!left) return true;
    return anyValueHolds(run, raw, op, values, [&](const std::u16string& value) {
      return applyOperator(op, *left, Variant(StripQuotes(value)));
    });
  }
  const SettingSide side = settingSide(run, object, attribute);
  if (!side.bag) {
    // No current table is a place where the term has nothing to test, not a fault.
    if (equalsNoCase(object, u"table")) return true;
    return holdsUnread(run, raw, u"names the unknown object \"" + object + u"\"");
  }
  return anyValueHolds(run, raw, op, values, [&](const std::u16string& value) {
    Variant right = GetCondValue(*side.bag, value, side.dataType);
    Variant left = side.value;
    if (left.type() == VarType::Boolean && right.type() == VarType::Boolean) {
      left = Variant(std::u16string(left.boolValue() ? u"1" : u"0"));
      right = Variant(std::u16string(right.boolValue() ? u"1" : u"0"));
    }
    return applyOperator(op, left, right);
  });
}

}  // namespace

Variant GetCondValue(AGProperties& bag, std::u16string_view value, std::u16string_view dataType) {
  const std::u16string_view trimmed = trimBlanks(value);
  Variant raw{std::u16string(trimmed)};
  if (!trimmed.empty() && trimmed.front() == u'%') {
    raw = Variant();
    if (const Ref<AGProperty> entry = bag.item(trimmed.substr(1))) raw = entry->value();
  }
  return ConvertSetting(raw, Variant(std::u16string(dataType)));
}

bool EvalCtrlCond(GenerationRun& run, std::u16string_view cond) {
  if (cond.empty()) return true;
  std::u16string reason;
  try {
    for (const std::u16string& term : split(cond, u",")) {
      if (!evalTerm(run, term)) return false;
    }
    return true;
  } catch (ConditionFailure& failure) {
    // A failure the run went on after (a script file that did not compile) is the cause of
    // this one, which would otherwise name a function that merely is not there.
    if (failure.scriptFailed) RaiseGenError(run.failure ? *run.failure : failure.reason);
    reason = failure.reason;
  } catch (const AutomationError& e) {
    reason = e.description();
  } catch (const std::exception& e) {
    reason = fromUtf8(e.what());
  }
  // A failure the run went on after is the message it ends with.
  if (run.failure) RaiseGenError(*run.failure);
  RaiseGenError(projectContext().productTitle + u": Condition \"" + std::u16string(cond) +
                u"\" cannot be evaluated: " + reason + u". Generation aborted.");
}

Ref<AGPControl> ConditionControl(GenerationRun& run) {
  if (run.currentControl) return run.currentControl;
  AGPControls& controls = *run.templateControls;
  const std::int16_t index = controls.curIndex();
  if (index < 1 || index > controls.Count()) return nullptr;
  return controls.items()[static_cast<std::size_t>(index - 1)];
}

CurrentControlScope::CurrentControlScope(GenerationRun& run, Ref<AGPControl> control)
    : run_(run), previous_(std::move(run.currentControl)) {
  run_.currentControl = std::move(control);
}

CurrentControlScope::~CurrentControlScope() {
  run_.currentControl = std::move(previous_);
}

}  // namespace vantorel
