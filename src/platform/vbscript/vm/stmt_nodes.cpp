#include "platform/vbscript/vm/stmt_nodes.hpp"

#include <new>

#include "platform/automation/enumerator.hpp"
#include "platform/automation/safe_array.hpp"
#include "platform/automation/variant_convert.hpp"
#include "platform/vbscript/runtime/builtins.hpp"
#include "platform/vbscript/vm/err_object.hpp"
#include "platform/vbscript/vm/operator_nodes.hpp"
#include "platform/vbscript/vm/value_nodes.hpp"

namespace vantorel::vbs {

namespace {

std::vector<ArrayBound> evalBounds(Frame& f, const std::vector<ExprNodePtr>& bounds) {
  std::vector<ArrayBound> out;
  out.reserve(bounds.size());
  for (const ExprNodePtr& b : bounds) {
    out.push_back(boundFromZeroTo(toLong(b->eval(f))));
  }
  return out;
}

Variant emptyDynamicArray() {
  return Variant(Ref<SafeArray>(new SafeArray({})));
}

Variant& variableOf(Frame& f, ExprNode& target) {
  Variant* v = target.ref(f);
  if (!v) raiseVbError(vberr::kTypeMismatch);
  return *v;
}

// Loop flow: whether the loop ends here, and what to pass up.
inline bool endsLoop(Flow r, Flow own, Flow& passUp) {
  if (r == Flow::Normal) [[likely]] {
    return false;
  }
  passUp = r == own ? Flow::Normal : r;
  return true;
}

// Under On Error Resume Next an error in a statement's header is recorded and execution goes on
// with the next statement, which is the first one of the body: scripts written for VBScript
// count on it. Returns false after such an error; without Resume Next the error propagates.
template <class Fn>
bool headerSucceeds(Frame& f, SourcePos pos, Fn&& fn) {
  if (!f.resumeNext) {
    fn();
    return true;
  }
  try {
    fn();
    return true;
  } catch (const ScriptAbort&) {
    throw;
  } catch (...) {
    f.rt->recordError(currentAsVmError(pos));
    return false;
  }
}

// After a loop header failed under Resume Next, the body runs once and its Next fails.
Flow runOnceThenFail(Frame& f, const BlockNode& body, Flow own, SourcePos pos,
                     std::int32_t nextError) {
  Flow passUp = Flow::Normal;
  if (endsLoop(body.run(f), own, passUp)) return passUp;
  f.rt->recordError(
      VmError(nextError, std::u16string(kRuntimeErrorSource), vbErrorDescription(nextError), pos));
  return Flow::Normal;
}

}  // namespace

Flow AssignLocalNode::exec(Frame& f) {
  Variant& dst = f.vals[slot];
  refuseFixedTarget(dst);
  value->evalInto(f, dst);
  unfixAssigned(dst);
  return Flow::Normal;
}

Flow AssignFieldNode::exec(Frame& f) {
  // The running object outlives the statement: its caller holds a reference for the call.
  Variant& dst = f.me->field(slot);
  refuseFixedTarget(dst);
  value->evalInto(f, dst);
  unfixAssigned(dst);
  return Flow::Normal;
}

Flow AssignElementNode::exec(Frame& f) {
  return assignGeneral(f);
}

Flow AssignElementNode::assignGeneral(Frame& f) {
  // The value first, then the index, as every assignment takes them.
  Variant v = valueVariable.found() ? *valueVariable.get(f) : value->eval(f);
  Variant* array = target->baseRef(f);
  if (!array->isArray()) {
    target->assign(f, std::move(v), false);  // not an array: the general path says why
    return Flow::Normal;
  }
  const std::int32_t index = target->args.singleIndex(f);
  if (v.isObject()) v = letValue(std::move(v));
  // The old element leaves with v, once the new one is in place.
  array->arrayForWrite().at(index).swap(v);
  return Flow::Normal;
}

Flow AssignGlobalNode::exec(Frame& f) {
  GlobalEntry* e = target->entry;
  if (e->kind != EntryKind::Variable) [[unlikely]] {
    return assignOther(f);
  }
  // Only the variable is kept across the evaluation.
  Variant& dst = e->value;
  refuseFixedTarget(dst);
  value->evalInto(f, dst);
  unfixAssigned(dst);
  return Flow::Normal;
}

Flow AssignGlobalNode::assignOther(Frame& f) {
  target->assign(f, value->eval(f), false);
  return Flow::Normal;
}

Flow DimArrayNode::exec(Frame& f) {
  Variant& v = variableOf(f, *target);
  if (bounds.empty()) {
    v = emptyDynamicArray();
  } else {
    Ref<SafeArray> a(new SafeArray(evalBounds(f, bounds)));
    a->setFixed(true);
    v = Variant(a);
  }
  return Flow::Normal;
}

Flow ReDimNode::exec(Frame& f) {
  for (ReDimItemNode& item : items) {
    // A fixed array refuses before its new bounds are read, whatever they are.
    const Variant* before = item.target->ref(f);
    if (before && before->isArray() && before->arrayValue().fixed()) {
      raiseVbError(vberr::kArrayFixedOrLocked);
    }
    std::vector<ArrayBound> b = evalBounds(f, item.bounds);
    Variant& v = variableOf(f, *item.target);
    if (v.isArray() && v.arrayValue().fixed()) raiseVbError(vberr::kArrayFixedOrLocked);
    if (preserve && v.isArray() && v.arrayValue().rank() > 0) {
      v.arrayForWrite().resizePreserving(b);
    } else {
      v = Variant(Ref<SafeArray>(new SafeArray(std::move(b))));
    }
  }
  return Flow::Normal;
}

Flow EraseNode::exec(Frame& f) {
  for (ExprNodePtr& t : targets) {
    Variant& v = variableOf(f, *t);
    if (!v.isArray()) raiseVbError(vberr::kTypeMismatch);
    if (v.arrayValue().fixed()) {
      for (Variant& e : v.arrayForWrite().elements()) e.clear();
    } else {
      v = emptyDynamicArray();
    }
  }
  return Flow::Normal;
}

StmtNodePtr IfNode::make(std::unique_ptr<IfNode> node) {
  if (node->branches.size() != 1) return node;
  if (node->elseBody.stmts.empty()) return std::make_unique<IfThenNode>(std::move(*node));
  if (node->branches.front().second.only() && node->elseBody.only()) {
    return std::make_unique<IfElseOneNode>(std::move(*node));
  }
  return std::make_unique<IfElseNode>(std::move(*node));
}

Flow IfThenNode::exec(Frame& f) {
  if (f.resumeNext) return execBranches(f);
  if (!condition_.test(f)) return Flow::Normal;
  return then_.run(f);
}

Flow IfElseOneNode::exec(Frame& f) {
  if (f.resumeNext) return execBranches(f);
  return BlockNode::runSingle(f, condition_.test(f) ? thenOnly_ : elseOnly_);
}

Flow IfElseNode::exec(Frame& f) {
  if (f.resumeNext) return execBranches(f);
  return (condition_.test(f) ? then_ : elseBody).run(f);
}

Flow IfGuardNode::exec(Frame& f) {
  // Under On Error Resume Next the whole If runs here; its statement's step is then passed over.
  if (f.resumeNext) [[unlikely]] {
    const Flow r = owner.execBranches(f);
    return r == Flow::Normal ? Flow::SkipNext : r;
  }
  // A failing condition propagates to the block, which places it at this step, the If's place.
  // Only On Error in this frame turns Resume Next on, so it is still off there: the error goes
  // on up, as from the If itself.
  return condition.test(f) ? Flow::Normal : Flow::SkipNext;
}

Flow IfNode::execBranches(Frame& f) {
  for (auto& branch : branches) {
    ExprNode& cond = *branch.first;
    bool taken = true;  // a failing condition enters its branch
    headerSucceeds(f, pos, [&] { taken = cond.test(f); });
    if (taken) return branch.second.run(f);
  }
  return elseBody.run(f);
}

namespace {

// The Case that matches the subject, run; Case Else when none does.
Flow runMatchingCase(Frame& f, SelectNode& node, const Variant& s) {
  // What the commonest Cases compare as, read from the subject once.
  const bool textSubject = s.isString();
  std::int64_t wholeSubject = 0;
  bool integer = false;
  const bool whole = opfast::smallInt(s, wholeSubject, integer);
  for (auto& [values, body] : node.cases) {
    for (SelectNode::CaseValue& v : values) {
      if (const Variant* c = v.constant) {
        // Text against a text literal, the commonest Case: equal as text, nothing copied.
        if (textSubject && c->isString()) {
          if (s.stringValue() == c->stringValue()) return body.run(f);
          continue;
        }
        // A whole number against a whole-number literal or constant (type codes, states):
        // compared as integers.
        std::int64_t value = 0;
        if (whole && opfast::smallInt(*c, value, integer)) {
          if (wholeSubject == value) return body.run(f);
          continue;
        }
      }
      // Under Resume Next a Case whose value fails is the one selected.
      bool equal = true;
      headerSucceeds(f, v.value->pos, [&] {
        const Variant c = v.value->eval(f);
        equal = valuesEqual(v.literal ? coerceForLiteral(s, c) : s, c);
      });
      if (equal) return body.run(f);
    }
  }
  return node.hasElse ? node.elseBody.run(f) : Flow::Normal;
}

}  // namespace

Flow SelectNode::exec(Frame& f) {
  if (!f.resumeNext) return runMatchingCase(f, *this, subject->eval(f));
  Variant s;
  // Under Resume Next a failing subject skips the whole statement, Case Else included.
  if (!headerSucceeds(f, pos, [&] { s = subject->eval(f); })) return Flow::Normal;
  return runMatchingCase(f, *this, s);
}

namespace {

// The bounds and step of a For loop are numbers: text converts (or fails with 13), as
// comparing a number with text would never end the loop.
Variant loopNumber(Variant v) {
  if (v.isObject()) v = letValue(std::move(v));
  switch (v.type()) {
    case VarType::String:
      return Variant(toDouble(v));
    case VarType::Null:
      raiseVbError(vberr::kInvalidUseOfNull);
    case VarType::Array:
      raiseVbError(vberr::kTypeMismatch);
    default:
      return v;
  }
}

// Where a For counter lives: a local, parameter or field stays put for the whole loop...
struct FixedCounter {
  Variant* v;
  [[gnu::always_inline]] Variant* get() const { return v; }
};
// ...while a module-level name is asked each pass whether it is still a variable, as code the
// loop runs may define it anew.
struct GlobalCounter {
  GlobalEntry* e;
  [[gnu::always_inline]] Variant* get() const {
    return e->kind == EntryKind::Variable ? &e->value : nullptr;
  }
};

// What a loop runs on each pass: a body of one statement (a call, an assignment) without asking
// the block each pass...
struct OneStatement {
  StmtNode* only;
  [[gnu::always_inline]] Flow run(Frame& f) const { return BlockNode::runSingle(f, *only); }
};
// ...or none or several.
struct Statements {
  const BlockNode* body;
  [[gnu::always_inline]] Flow run(Frame& f) const { return body->runMany(f); }
};

// The counter changed by the body to something other than a whole number: stepped the general
// way for the general loop to go on with.
[[gnu::noinline]] void stepOther(Frame& f, const ForNode& loop, Variant* v, const Variant& by) {
  Variant& c = v ? *v : variableOf(f, *loop.variable);
  c = opAdd(c, by);
}

// Integer or Long bounds and step, for as long as the counter holds an Integer or a Long: the
// commonest loop, with the result types of +. False, at the top of a pass, once the counter may
// hold anything else; the general loop goes on from there.
template <bool Down, class Counter, class Body>
[[gnu::noinline]] bool wholeNumberLoop(Frame& f, const ForNode& loop, Counter counter, Body body,
                                       std::int32_t end, std::int32_t step, bool stepInteger,
                                       const Variant& by, Flow& passUp) {
  Runtime& rt = *f.rt;
  std::int64_t x;
  bool xInteger;
  Variant* v = counter.get();
  if (!v || !opfast::smallInt(*v, x, xInteger)) return false;
  if (Down ? x < end : x > end) return true;
  for (;;) {
    if (endsLoop(body.run(f), Flow::ExitFor, passUp)) return true;
    // The body may have changed the counter: it is read again, and only the step's store
    // leaves it known for the next pass's test.
    v = counter.get();
    if (!v || !opfast::smallInt(*v, x, xInteger)) [[unlikely]] {
      stepOther(f, loop, v, by);
      rt.tick();
      return false;
    }
    std::int32_t next;
    if (__builtin_add_overflow(static_cast<std::int32_t>(x), step, &next)) [[unlikely]] {
      // Past the Long range the counter becomes a Double, which the general loop steps on.
      opfast::storeInt(*v, x + step, false);
      rt.tick();
      return false;
    }
    // An Integer or a Long owns nothing to release.
    if (xInteger) {
      opfast::storeInt(*v, next, stepInteger);
    } else {
      new (v) Variant(next);  // a Long stays a Long: only its value changes
    }
    rt.tick();
    if (Down ? next < end : next > end) return true;
  }
}

template <class Counter>
bool wholeNumberLoop(Frame& f, const ForNode& loop, Counter counter, std::int64_t end,
                     std::int64_t step, bool stepInteger, const Variant& by, bool down,
                     Flow& passUp) {
  // Whole-number bounds and steps are Integers or Longs: they fit.
  const auto end32 = static_cast<std::int32_t>(end);
  const auto step32 = static_cast<std::int32_t>(step);
  const auto run = [&](auto body) {
    return down ? wholeNumberLoop<true>(f, loop, counter, body, end32, step32, stepInteger, by,
                                        passUp)
                : wholeNumberLoop<false>(f, loop, counter, body, end32, step32, stepInteger, by,
                                         passUp);
  };
  if (StmtNode* only = loop.body.only()) return run(OneStatement{only});
  return run(Statements{&loop.body});
}

}  // namespace

Flow ForNode::exec(Frame& f) {
  Variant start, end, by;
  if (!headerSucceeds(f, pos, [&] {
        start = loopNumber(from->eval(f));
        end = loopNumber(to->eval(f));
        by = step ? loopNumber(step->eval(f)) : Variant(static_cast<std::int16_t>(1));
      })) {
    return runOnceThenFail(f, body, Flow::ExitFor, pos, vberr::kForLoopNotInitialized);
  }
  double stepNumber = 0;
  const bool down = opfast::plainNumber(by, stepNumber)
                        ? stepNumber < 0
                        : isTrue(opLt(by, Variant(std::int32_t{0})));
  variableOf(f, *variable) = start;
  // The counter is read where it lives on each pass, without a virtual call.
  Variant* const fixedCounter =
      counter.kind == VariableSlot::Kind::Global ? nullptr : counter.get(f);
  GlobalEntry* const globalCounter =
      counter.kind == VariableSlot::Kind::Global ? counter.entry : nullptr;
  const auto counterRef = [&]() -> Variant& {
    if (fixedCounter) return *fixedCounter;
    if (globalCounter && globalCounter->kind == EntryKind::Variable) return globalCounter->value;
    return variableOf(f, *variable);
  };
  std::int64_t endInt = 0, stepInt = 0;
  bool endInteger = false, stepInteger = false;
  const bool intBounds =
      opfast::smallInt(end, endInt, endInteger) && opfast::smallInt(by, stepInt, stepInteger);
  Flow passUp = Flow::Normal;
  if (intBounds && fixedCounter &&
      wholeNumberLoop(f, *this, FixedCounter{fixedCounter}, endInt, stepInt, stepInteger, by, down,
                      passUp)) {
    return passUp;
  }
  if (intBounds && globalCounter &&
      wholeNumberLoop(f, *this, GlobalCounter{globalCounter}, endInt, stepInt, stepInteger, by,
                      down, passUp)) {
    return passUp;
  }
  double endNumber = 0;
  const bool numericEnd = opfast::plainNumber(end, endNumber);
  for (;;) {
    Variant* v = &counterRef();
    std::int64_t x;
    bool xInteger;
    if (intBounds && opfast::smallInt(*v, x, xInteger)) {
      if (down ? x < endInt : x > endInt) break;
      if (endsLoop(body.run(f), Flow::ExitFor, passUp)) break;
      v = &counterRef();
      if (opfast::smallInt(*v, x, xInteger)) {
        // An Integer or a Long owns nothing to release.
        opfast::storeInt(*v, x + stepInt, xInteger && stepInteger);
      } else {
        *v = opAdd(*v, by);
      }
    } else {
      double xd;
      bool past;
      if (numericEnd && opfast::plainNumber(*v, xd)) {
        past = down ? xd < endNumber : xd > endNumber;
      } else {
        past = conditionTrue(down ? opLt(*v, end) : opGt(*v, end));
      }
      if (past) break;
      if (endsLoop(body.run(f), Flow::ExitFor, passUp)) break;
      v = &counterRef();
      Variant next = opfast::arith<opfast::Arith::Add, opAdd>(*v, by, opfast::NewValue{});
      *v = std::move(next);
    }
    f.rt->tick();
  }
  return passUp;
}

Flow ForEachNode::exec(Frame& f) {
  Ref<Enumerator> en;
  if (!headerSucceeds(f, pos, [&] {
        const Variant c = collection->eval(f);
        if (c.isArray()) {
          en = makeArrayEnumerator(c);
        } else if (c.isObject() && !c.isNothing()) {
          en = c.objectValue()->newEnum();
        } else {
          raiseVbError(vberr::kObjectNotCollection);
        }
      })) {
    return runOnceThenFail(f, body, Flow::ExitFor, pos, vberr::kObjectNotCollection);
  }
  Flow passUp = Flow::Normal;
  Variant item;
  while (en->next(item)) {
    variableOf(f, *variable) = std::move(item);
    item.clear();
    if (endsLoop(body.run(f), Flow::ExitFor, passUp)) break;
    f.rt->tick();
  }
  return passUp;
}

namespace {

// Whether a Do loop's test ends it, under On Error Resume Next: a failing test at the top enters
// the body; one at the bottom leaves the loop, since the statement after it is the one after Loop.
[[gnu::noinline]] bool stopsResumingNext(Frame& f, DoNode& loop) {
  bool t = false;
  if (!headerSucceeds(f, loop.pos, [&] { t = loop.test->test(f); })) return loop.testAtEnd;
  return loop.condition == LoopCondition::While ? !t : t;
}

}  // namespace

Flow DoNode::exec(Frame& f) {
  const bool whileTrue = condition == LoopCondition::While;
  const auto stop = [&] {
    if (f.resumeNext) return stopsResumingNext(f, *this);
    return test->test(f) != whileTrue;
  };
  const bool testAtTop = !testAtEnd && condition != LoopCondition::None;
  const bool testAtBottom = testAtEnd && condition != LoopCondition::None;
  Flow passUp = Flow::Normal;
  for (;;) {
    if (testAtTop && stop()) break;
    const Flow r = body.run(f);
    if (endsLoop(r, Flow::ExitDo, passUp)) break;
    if (testAtBottom && stop()) break;
    f.rt->tick();
  }
  return passUp;
}

Flow OnErrorNode::exec(Frame& f) {
  f.resumeNext = resumeNext;
  f.rt->err().clear();
  return Flow::Normal;
}

Flow ExitNode::exec(Frame& f) {
  // Leaving a procedure through Exit Sub/Function/Property clears Err, as the reference says.
  if (what == Flow::ExitProc) f.rt->err().clear();
  return what;
}

Flow WithNode::exec(Frame& f) {
  // A failing object leaves the With empty: each `.member` in the body then fails on its own.
  if (!headerSucceeds(f, pos, [&] {
        f.temps[slot] = object->eval(f);
        if (!f.temps[slot].isObject()) raiseVbError(vberr::kObjectRequired);
      })) {
    f.temps[slot].clear();
  }
  Flow r = body.run(f);
  f.temps[slot].clear();
  return r;
}

Flow RandomizeNode::exec(Frame& f) {
  randomize(f.rt->state, seed ? seed->eval(f) : Variant::missing());
  return Flow::Normal;
}

}  // namespace vantorel::vbs
