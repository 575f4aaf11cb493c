#pragma once
// Operator nodes. Integer, Long and Double operands take an inline path with VBScript's
// result types (Integer overflows into Long, Long into Double); everything else goes to the
// runtime's operator functions.
#include <cmath>
#include <cstdint>
#include <new>
#include <string_view>
#include <type_traits>
#include <vector>

#include "platform/vbscript/runtime/operators.hpp"
#include "platform/vbscript/vm/runtime.hpp"
#include "platform/vbscript/vm/script_class.hpp"
#include "platform/vbscript/vm/value_nodes.hpp"

namespace vantorel::vbs {

using BinaryFn = Variant (*)(const Variant&, const Variant&);

// Whether an operator node's function is the given one (template identity, not pointer values,
// which are no constant expression).
template <auto Fn, auto Other>
inline constexpr bool kIsOp = std::is_same_v<std::integral_constant<decltype(Fn), Fn>,
                                             std::integral_constant<decltype(Other), Other>>;

// The truth of a condition, with Boolean taking no call.
inline bool conditionTrue(const Variant& v) {
  if (v.type() == VarType::Boolean) return v.boolValue();
  return isTrue(v);
}

namespace opfast {

// Integer or Long as an int64, with whether it was Integer.
[[gnu::always_inline]] inline bool smallInt(const Variant& v, std::int64_t& out, bool& isInteger) {
  if (v.type() == VarType::Long) {
    out = v.longValue();
    isInteger = false;
    return true;
  }
  if (v.type() == VarType::Integer) {
    out = v.integerValue();
    isInteger = true;
    return true;
  }
  return false;
}

// The result of an integer operation in the narrowest type the operands allow.
[[gnu::always_inline]] inline Variant intResult(std::int64_t r, bool bothInteger) {
  if (bothInteger && r >= INT16_MIN && r <= INT16_MAX) return Variant(static_cast<std::int16_t>(r));
  if (r >= INT32_MIN && r <= INT32_MAX) return Variant(static_cast<std::int32_t>(r));
  return Variant(static_cast<double>(r));
}

// Stores a scalar result into an existing Variant without a temporary: building the value in
// place spares a copy of a just-written Variant, which the processor cannot forward.
template <class T>
[[gnu::always_inline]] inline void assignScalar(Variant& v, T x) {
  v.~Variant();
  new (&v) Variant(x);
}

// Stores a whole-number result over a value that holds nothing counted (plainValue): there is
// nothing to release first.
[[gnu::always_inline]] inline void storeInt(Variant& v, std::int64_t r, bool bothInteger) {
  new (&v) Variant(intResult(r, bothInteger));
}

// Inline: it ends every whole-number assignment (`s = s + i`, `count = count + 1`), where a
// call costs as much as the rest of the store.
[[gnu::always_inline]] inline void assignInt(Variant& v, std::int64_t r, bool bothInteger) {
  v.~Variant();
  new (&v) Variant(intResult(r, bothInteger));
}

// Where an operator's result goes: a new Variant for eval...
struct NewValue {
  using Result = Variant;
  Variant integer(std::int64_t r, bool bothInteger) const { return intResult(r, bothInteger); }
  Variant real(double d) const { return Variant(d); }
  Variant boolean(bool b) const { return Variant(b); }
  template <class Make>
  Variant slow(Make&& make) const {
    return make();
  }
};

// ...or the truth of the result, for a condition...
struct Truth {
  using Result = bool;
  bool integer(std::int64_t r, bool) const { return r != 0; }
  bool real(double d) const { return d != 0; }
  bool boolean(bool b) const { return b; }
  template <class Make>
  bool slow(Make&& make) const {
    return conditionTrue(make());
  }
};

// ...or an existing Variant for evalInto, replaced in place.
struct Into {
  using Result = void;
  Variant& dst;
  [[gnu::always_inline]] void integer(std::int64_t r, bool bothInteger) const {
    assignInt(dst, r, bothInteger);
  }
  [[gnu::always_inline]] void real(double d) const { assignScalar(dst, d); }
  [[gnu::always_inline]] void boolean(bool b) const { assignScalar(dst, b); }
  template <class Make>
  void slow(Make&& make) const {
    Variant out = make();
    dst.swap(out);
  }
};

enum class Arith : std::uint8_t { Add, Sub, Mul, Mod, IntDiv };

// False when y is zero for Mod and \: the runtime's operator raises the error.
template <Arith A>
inline bool intOp(std::int64_t x, std::int64_t y, std::int64_t& r) {
  switch (A) {
    case Arith::Add:
      r = x + y;
      return true;
    case Arith::Sub:
      r = x - y;
      return true;
    case Arith::Mul:
      r = x * y;
      return true;
    // Operands are Integer or Long: 32-bit division is exact and much faster than 64-bit.
    case Arith::Mod:
      if (y == 0) return false;
      r = y == -1 ? 0 : static_cast<std::int32_t>(x) % static_cast<std::int32_t>(y);
      return true;
    case Arith::IntDiv:
      if (y == 0) return false;
      r = y == -1 ? -x : static_cast<std::int32_t>(x) / static_cast<std::int32_t>(y);
      return true;
  }
  return false;
}

// An integer operation whose result stays an Integer or a Long; false for a Double result or
// a division by zero, which the Variant path gives or raises.
template <Arith A>
[[gnu::always_inline]] inline bool wholeResult(std::int64_t x, bool xi, std::int64_t y, bool yi,
                                               std::int64_t& out, bool& isInteger) {
  std::int64_t r;
  if (!intOp<A>(x, y, r) || r < INT32_MIN || r > INT32_MAX) return false;
  out = r;
  isInteger = xi && yi && r >= INT16_MIN && r <= INT16_MAX;
  return true;
}

// x Mod d for a fixed d by two multiplications (the remainder read from the fraction of x / d
// in 64-bit fixed point), exact for every Integer or Long x and any d but 0; the sign is the
// dividend's, as Mod gives it. A division's latency is the most of a loop's `s = (...) Mod m`.
class FixedModulus {
 public:
  FixedModulus() = default;
  explicit FixedModulus(std::int64_t d)
      : d_(d < 0 ? 0u - static_cast<std::uint32_t>(d) : static_cast<std::uint32_t>(d)),
        m_(d_ == 0 ? 0 : UINT64_MAX / d_ + 1) {}
  [[gnu::always_inline]] std::int64_t of(std::int64_t x) const {
    const std::uint32_t ux =
        x < 0 ? 0u - static_cast<std::uint32_t>(x) : static_cast<std::uint32_t>(x);
    const std::uint64_t fraction = m_ * ux;
    const std::uint64_t r = ((fraction >> 32) * d_ + (((fraction & 0xFFFFFFFFu) * d_) >> 32)) >> 32;
    return x < 0 ? -static_cast<std::int64_t>(r) : static_cast<std::int64_t>(r);
  }

 private:
  std::uint32_t d_ = 0;
  std::uint64_t m_ = 0;
};

// False when the result overflows (or the operands are not finite): the runtime's operator
// then raises the error.
template <Arith A>
inline bool doubleOp(double x, double y, double& r) {
  r = A == Arith::Add ? x + y : A == Arith::Sub ? x - y : x * y;
  return std::isfinite(r);
}

// An arithmetic operator: Integer/Long and Double operands inline, the rest through Slow. The
// sink may write over a or b: both are read first.
template <Arith A, BinaryFn Slow, class Sink>
[[gnu::always_inline]] inline typename Sink::Result arith(const Variant& a, const Variant& b,
                                                          Sink sink) {
  std::int64_t x, y, r;
  bool xi, yi;
  if (smallInt(a, x, xi) && smallInt(b, y, yi) && intOp<A>(x, y, r)) {
    return sink.integer(r, xi && yi);
  }
  double d;
  if (A <= Arith::Mul && a.type() == VarType::Double && b.type() == VarType::Double &&
      doubleOp<A>(a.doubleValue(), b.doubleValue(), d)) {
    return sink.real(d);
  }
  return sink.slow([&] { return Slow(a, b); });
}

enum class Cmp : std::uint8_t { Eq, Ne, Lt, Le, Gt, Ge };

template <Cmp C, class T>
[[gnu::always_inline]] inline bool cmp(T x, T y) {
  switch (C) {
    case Cmp::Eq:
      return x == y;
    case Cmp::Ne:
      return x != y;
    case Cmp::Lt:
      return x < y;
    case Cmp::Le:
      return x <= y;
    case Cmp::Gt:
      return x > y;
    case Cmp::Ge:
      return x >= y;
  }
  return false;
}

[[gnu::always_inline]] inline bool plainNumber(const Variant& v, double& out) {
  switch (v.type()) {
    case VarType::Integer:
      out = v.integerValue();
      return true;
    case VarType::Long:
      out = v.longValue();
      return true;
    case VarType::Double:
      out = v.doubleValue();
      return true;
    default:
      return false;
  }
}

}  // namespace opfast

// A value an operand had to evaluate, kept for the operator: built where it stays by the
// node's evaluation (no move, no zeroing of the storage beforehand) and destroyed inline.
class HeldValue {
 public:
  HeldValue() noexcept {}  // NOLINT(modernize-use-equals-default): the storage stays unset
  [[gnu::always_inline]] ~HeldValue() {
    if (engaged_) value().~Variant();
  }
  HeldValue(const HeldValue&) = delete;
  HeldValue& operator=(const HeldValue&) = delete;
  [[gnu::always_inline]] const Variant& evaluate(ExprNode& node, Frame& f) {
    new (storage_) Variant(node.eval(f));
    engaged_ = true;
    return value();
  }
  [[gnu::always_inline]] const Variant& copy(const Variant& v) {
    new (storage_) Variant(v);
    engaged_ = true;
    return value();
  }

 private:
  Variant& value() { return *std::launder(reinterpret_cast<Variant*>(storage_)); }
  alignas(Variant) unsigned char storage_[sizeof(Variant)];
  bool engaged_ = false;
};

// An operand of an operator. Locals, parameters, fields of the class whose code runs and global
// variables are read in place: no virtual call and no copy in the commonest expressions
// (`n - 1`, `s + i`, `i < 10`, `m_count = m_size`).
struct Operand {
  explicit Operand(ExprNodePtr n)
      : node(std::move(n)),
        var(VariableSlot::of(*node, /*plainOnly=*/false)),
        intNode(node->hasIntPath()) {}

  // The variable holding the value, when there is one to read in place.
  [[gnu::always_inline]] const Variant* direct(Frame& f) const { return var.get(f); }
  // The value: in place, or evaluated into hold.
  [[gnu::always_inline]] const Variant& read(Frame& f, HeldValue& hold) const {
    if (const Variant* v = direct(f)) return *v;
    return hold.evaluate(*node, f);
  }
  // The left operand's value, taken before the right one runs: a call on the right may change
  // the variable on the left, and the left was evaluated first.
  [[gnu::always_inline]] const Variant& readBefore(Frame& f, HeldValue& hold,
                                                   const Operand& right) const {
    if (const Variant* v = direct(f)) return !right.var.found() && !right.pure ? hold.copy(*v) : *v;
    return hold.evaluate(*node, f);
  }

  // The value as a whole number, read in place or from nested arithmetic without a Variant.
  // Runs nothing when it answers false.
  [[gnu::always_inline]] bool readInt(Frame& f, std::int64_t& x, bool& isInteger) const {
    // Nested arithmetic asks its node straight away, without going through the variable kinds.
    if (!var.found()) return intNode && node->evalInt(f, x, isInteger);
    const Variant* v = var.get(f);
    return v && opfast::smallInt(*v, x, isInteger);
  }
  // The same for an operand that is a variable (var found): nothing is called on the way, so a
  // node reading only variables and literals needs no frame of its own for it.
  [[gnu::always_inline]] bool readVariable(Frame& f, std::int64_t& x, bool& isInteger) const {
    const Variant* v = var.get(f);
    return v && opfast::smallInt(*v, x, isInteger);
  }
  bool answersInt() const { return var.found() || intNode; }
  ExprNodePtr node;
  VariableSlot var;
  bool intNode;       // the node is arithmetic that can answer evalInt
  bool pure = false;  // evaluating it calls nothing, so it cannot change a variable
};

// Each operator node below has one body, compute, run with a sink for eval and for evalInto.
template <opfast::Arith A, BinaryFn Slow>
struct ArithNode final : ExprNode {
  ArithNode(SourcePos p, Operand l, Operand r)
      : ExprNode(p),
        left(std::move(l)),
        right(std::move(r)),
        variables_(left.var.found() && right.var.found()),
        wholeOperands_(left.answersInt() && right.answersInt()) {}
  // Two variables holding whole numbers take no Variant and no call on the way; the rest is
  // out of line, so that path saves no registers for it.
  Variant eval(Frame& f) override {
    std::int64_t r;
    bool isInteger;
    if (variables_ && wholeVariables(f, r, isInteger)) return opfast::intResult(r, isInteger);
    return evalGeneral(f);
  }
  void evalInto(Frame& f, Variant& dst) override {
    std::int64_t r;
    bool isInteger;
    if (variables_ && plainValue(dst) && wholeVariables(f, r, isInteger)) {
      opfast::storeInt(dst, r, isInteger);
      return;
    }
    evalIntoGeneral(f, dst);
  }
  bool evalInt(Frame& f, std::int64_t& out, bool& isInteger) override {
    std::int64_t x, y;
    bool xi, yi;
    if (variables_) {
      return left.readVariable(f, x, xi) && right.readVariable(f, y, yi) &&
             opfast::wholeResult<A>(x, xi, y, yi, out, isInteger);
    }
    return evalIntNested(f, out, isInteger);
  }
  bool hasIntPath() const override { return left.answersInt() && right.answersInt(); }
  [[gnu::always_inline]] bool wholeVariables(Frame& f, std::int64_t& r, bool& isInteger) const {
    std::int64_t x, y;
    bool xi, yi;
    if (left.readVariable(f, x, xi) && right.readVariable(f, y, yi) && opfast::intOp<A>(x, y, r)) {
      isInteger = xi && yi;
      return true;
    }
    return false;
  }
  [[gnu::noinline]] bool evalIntNested(Frame& f, std::int64_t& out, bool& isInteger) {
    std::int64_t x, y;
    bool xi, yi;
    return left.readInt(f, x, xi) && right.readInt(f, y, yi) &&
           opfast::wholeResult<A>(x, xi, y, yi, out, isInteger);
  }
  [[gnu::noinline]] Variant evalGeneral(Frame& f) { return compute(f, opfast::NewValue{}); }
  [[gnu::noinline]] void evalIntoGeneral(Frame& f, Variant& dst) { compute(f, opfast::Into{dst}); }
  template <class Sink>
  [[gnu::always_inline]] typename Sink::Result compute(Frame& f, Sink sink) {
    // Whole numbers, nested arithmetic included, take no Variant on the way.
    std::int64_t x, y, r;
    bool xi, yi;
    if (wholeOperands_ && left.readInt(f, x, xi) && right.readInt(f, y, yi) &&
        opfast::intOp<A>(x, y, r)) {
      return sink.integer(r, xi && yi);
    }
    HeldValue ha, hb;
    const Variant& a = left.readBefore(f, ha, right);
    const Variant& b = right.read(f, hb);
    return opfast::arith<A, Slow>(a, b, sink);
  }
  Operand left, right;

 private:
  bool variables_;      // both operands are variables
  bool wholeOperands_;  // both may answer as whole numbers (not calls, say)
};

template <opfast::Cmp C, BinaryFn Slow>
struct CompareNode final : ExprNode {
  CompareNode(SourcePos p, Operand l, Operand r)
      : ExprNode(p),
        left(std::move(l)),
        right(std::move(r)),
        bothInt_(left.answersInt() && right.answersInt()) {}
  Variant eval(Frame& f) override {
    bool result;
    if (wholeNumbers(f, result)) return Variant(result);
    return evalGeneral(f);
  }
  void evalInto(Frame& f, Variant& dst) override {
    bool result;
    if (plainValue(dst) && wholeNumbers(f, result)) {
      new (&dst) Variant(result);
      return;
    }
    evalIntoGeneral(f, dst);
  }
  bool test(Frame& f) override {
    // The whole-number test alone, so that the condition of a loop or an If saves no registers
    // for the general path.
    bool result;
    if (wholeNumbers(f, result)) return result;
    return testGeneral(f);
  }
  [[gnu::always_inline]] bool wholeNumbers(Frame& f, bool& result) const {
    std::int64_t i, j;
    bool iInteger, jInteger;
    if (bothInt_ && left.readInt(f, i, iInteger) && right.readInt(f, j, jInteger)) {
      result = opfast::cmp<C>(i, j);
      return true;
    }
    return false;
  }
  template <class Sink>
  [[gnu::always_inline]] typename Sink::Result compute(Frame& f, Sink sink) {
    // Integers and Longs (counters, sizes, `count > UBound(buffer)`) compare as integers, read
    // in place or from nested arithmetic without a Variant. A failed read has run nothing.
    std::int64_t i, j;
    bool iInteger, jInteger;
    if (bothInt_ && left.readInt(f, i, iInteger) && right.readInt(f, j, jInteger))
      return sink.boolean(opfast::cmp<C>(i, j));
    HeldValue ha, hb;
    const Variant& a = left.readBefore(f, ha, right);
    const Variant& b = right.read(f, hb);
    if (opfast::smallInt(a, i, iInteger) && opfast::smallInt(b, j, jInteger))
      return sink.boolean(opfast::cmp<C>(i, j));
    double x, y;
    if (opfast::plainNumber(a, x) && opfast::plainNumber(b, y)) {
      return sink.boolean(opfast::cmp<C>(x, y));
    }
    return sink.slow([&] { return Slow(a, b); });
  }
  Operand left, right;

 private:
  [[gnu::noinline]] bool testGeneral(Frame& f) { return compute(f, opfast::Truth{}); }
  [[gnu::noinline]] Variant evalGeneral(Frame& f) { return compute(f, opfast::NewValue{}); }
  [[gnu::noinline]] void evalIntoGeneral(Frame& f, Variant& dst) { compute(f, opfast::Into{dst}); }
  bool bothInt_;  // both operands may answer as whole numbers
};

// A variable against a bound of an array variable (`count > UBound(buffer)`, the test of a
// growing buffer): both read in place, with no call for the bound. Anything else, an error
// included, is the general comparison's. Both is the kind of the two variables when they are
// both fields or both locals (found at fixed offsets), None otherwise; Upper tells UBound from
// LBound.
template <opfast::Cmp C, BinaryFn Slow, VariableSlot::Kind Both, bool Upper>
struct CompareBoundNode final : ExprNode {
  CompareBoundNode(SourcePos p, Operand l, Operand r, VariableSlot array)
      : ExprNode(p),
        general(p, std::move(l), std::move(r)),
        array_(array),
        leftAt_(general.left.var.slot),
        arrayAt_(array.slot) {}
  Variant eval(Frame& f) override { return general.eval(f); }
  void evalInto(Frame& f, Variant& dst) override { general.evalInto(f, dst); }
  bool test(Frame& f) override {
    std::int64_t bound;
    if constexpr (Both == VariableSlot::Kind::None) {
      std::int64_t x;
      bool isInteger;
      const Variant* left = general.left.var.get(f);
      if (left && opfast::smallInt(*left, x, isInteger) &&
          firstBound(array_.get(f), Upper, bound)) {
        return opfast::cmp<C>(x, bound);
      }
    } else {
      std::int32_t x;
      const Variant& array = arrayAt_.in(f);
      if (leftAt_.in(f).integerOrLong(x) && array.isArray() &&
          array.arrayValue().firstBound(Upper, bound)) {
        return opfast::cmp<C>(std::int64_t{x}, bound);
      }
    }
    return general.test(f);
  }
  CompareNode<C, Slow> general;  // the same comparison, left a variable, right the bound's call

 private:
  VariableSlot array_;
  FixedVariable<Both> leftAt_, arrayAt_;
};

// The node for a variable against UBound or LBound of an array variable (`count >
// UBound(buffer)`), with the two variables' kind fixed when both are fields or both locals.
// Made in a file of its own (compare_bound_node.cpp) for the six comparisons.
template <opfast::Cmp C, BinaryFn Slow>
ExprNodePtr makeCompareBound(SourcePos p, Operand left, Operand right, const VariableSlot& array,
                             bool upper);

// An operator whose right operand is an Integer or Long literal.
template <opfast::Arith A, BinaryFn Slow>
struct ArithConstNode final : ExprNode {
  ArithConstNode(SourcePos p, Operand l, Variant c)
      : ExprNode(p), left(std::move(l)), constant(std::move(c)) {
    opfast::smallInt(constant, y_, yInteger_);
    modulus_ = opfast::FixedModulus(y_);
  }
  // A variable holding a whole number (`n - 1`) takes no Variant and no call on the way; the
  // rest, nested arithmetic included, is out of line.
  Variant eval(Frame& f) override {
    std::int64_t x, r;
    bool xi;
    if (left.var.found() && left.readVariable(f, x, xi) && byLiteral(x, r))
      return opfast::intResult(r, xi && yInteger_);
    return evalGeneral(f);
  }
  void evalInto(Frame& f, Variant& dst) override {
    std::int64_t x, r;
    bool xi;
    if (!left.var.found()) {
      evalIntoNested(f, dst);
    } else if (plainValue(dst) && left.readVariable(f, x, xi) && byLiteral(x, r)) {
      opfast::storeInt(dst, r, xi && yInteger_);
    } else {
      evalIntoGeneral(f, dst);
    }
  }
  [[gnu::noinline]] Variant evalGeneral(Frame& f) { return compute(f, opfast::NewValue{}); }
  [[gnu::noinline]] void evalIntoGeneral(Frame& f, Variant& dst) { compute(f, opfast::Into{dst}); }
  // Both nested paths run only when the left operand is no variable: its node answers.
  [[gnu::noinline]] void evalIntoNested(Frame& f, Variant& dst) {
    // Nested arithmetic (`(s + i * 3) Mod m`) as a whole number, stored without a Variant.
    std::int64_t x, r;
    bool xi;
    if (left.intNode && plainValue(dst) && left.node->evalInt(f, x, xi) && byLiteral(x, r)) {
      opfast::storeInt(dst, r, xi && yInteger_);
      return;
    }
    evalIntoGeneral(f, dst);
  }
  [[gnu::noinline]] bool evalIntNested(Frame& f, std::int64_t& out, bool& isInteger) {
    std::int64_t x;
    bool xi;
    return left.intNode && left.node->evalInt(f, x, xi) && wholeByLiteral(x, xi, out, isInteger);
  }
  bool evalInt(Frame& f, std::int64_t& out, bool& isInteger) override {
    std::int64_t x;
    bool xi;
    if (left.var.found()) {
      return left.readVariable(f, x, xi) && wholeByLiteral(x, xi, out, isInteger);
    }
    return evalIntNested(f, out, isInteger);
  }
  bool hasIntPath() const override { return left.answersInt(); }
  template <class Sink>
  [[gnu::always_inline]] typename Sink::Result compute(Frame& f, Sink sink) {
    std::int64_t x, r;
    bool xi;
    if (left.readInt(f, x, xi) && byLiteral(x, r)) {
      return sink.integer(r, xi && yInteger_);
    }
    HeldValue ha;
    const Variant& a = left.read(f, ha);
    if (opfast::smallInt(a, x, xi) && byLiteral(x, r)) {
      return sink.integer(r, xi && yInteger_);
    }
    // Only an assignment reads the left operand as the literal's type first: \ and Mod round a
    // text operand differently that way, so the two paths stay as they were.
    if constexpr (std::is_same_v<Sink, opfast::Into>) {
      return sink.slow([&] { return Slow(coerceForLiteral(a, constant), constant); });
    } else {
      return sink.slow([&] { return Slow(a, constant); });
    }
  }
  Operand left;

 private:
  // x op y_ for a whole-number x; false for Mod and \ by zero.
  [[gnu::always_inline]] bool byLiteral(std::int64_t x, std::int64_t& r) const {
    if constexpr (A == opfast::Arith::Mod) {
      if (y_ == 0) return false;
      r = modulus_.of(x);
      return true;
    } else {
      return opfast::intOp<A>(x, y_, r);
    }
  }
  // The same as evalInt answers it: false for a result past the Long range as well.
  [[gnu::always_inline]] bool wholeByLiteral(std::int64_t x, bool xi, std::int64_t& out,
                                             bool& isInteger) const {
    std::int64_t r;
    if (!byLiteral(x, r) || r < INT32_MIN || r > INT32_MAX) return false;
    out = r;
    isInteger = xi && yInteger_ && r >= INT16_MIN && r <= INT16_MAX;
    return true;
  }
  Variant constant;  // a literal, so hard-typed
  std::int64_t y_ = 0;
  bool yInteger_ = false;
  opfast::FixedModulus modulus_;  // for Mod, the literal's remainder by multiplication
};

template <opfast::Cmp C, BinaryFn Slow>
struct CompareConstNode final : ExprNode {
  CompareConstNode(SourcePos p, Operand l, Variant c)
      : ExprNode(p), left(std::move(l)), constant(std::move(c)) {
    opfast::plainNumber(constant, y_);
    bool integer = false;
    opfast::smallInt(constant, yWhole_, integer);
  }
  Variant eval(Frame& f) override { return compute(f, opfast::NewValue{}); }
  void evalInto(Frame& f, Variant& dst) override { compute(f, opfast::Into{dst}); }
  bool test(Frame& f) override {
    // A whole number against the literal (`If n < 2`), with no registers saved for the rest.
    std::int64_t whole;
    bool isInteger;
    if (left.var.found() && left.readVariable(f, whole, isInteger))
      return opfast::cmp<C>(whole, yWhole_);
    return testGeneral(f);
  }
  [[gnu::noinline]] bool testGeneral(Frame& f) { return compute(f, opfast::Truth{}); }
  template <class Sink>
  [[gnu::always_inline]] typename Sink::Result compute(Frame& f, Sink sink) {
    std::int64_t whole;
    bool isInteger;
    if (left.readInt(f, whole, isInteger)) {
      return sink.boolean(opfast::cmp<C>(whole, yWhole_));
    }
    HeldValue ha;
    const Variant& a = left.read(f, ha);
    double x;
    if (opfast::plainNumber(a, x)) return sink.boolean(opfast::cmp<C>(x, y_));
    return sink.slow([&] { return Slow(coerceForLiteral(a, constant), constant); });
  }
  Operand left;

 private:
  Variant constant;  // a literal, so hard-typed
  double y_ = 0;
  // The same as a whole number: the literal is an Integer or a Long, so two whole numbers
  // compare exactly as integers, without the conversion's latency before the branch.
  std::int64_t yWhole_ = 0;
};

template <BinaryFn Fn>
struct BinaryNode final : ExprNode {
  BinaryNode(SourcePos p, ExprNodePtr l, ExprNodePtr r)
      : ExprNode(p), left(std::move(l)), right(std::move(r)) {}
  Variant eval(Frame& f) override {
    Variant a = left->eval(f);
    Variant b = right->eval(f);
    return Fn(a, b);
  }
  // And and Or of two Booleans (`If a = 1 And Not b Then`) answer at once; both sides still run,
  // as VBScript evaluates both.
  bool test(Frame& f) override {
    Variant a = left->eval(f);
    Variant b = right->eval(f);
    if constexpr (kIsOp<Fn, &opAnd> || kIsOp<Fn, &opOr>) {
      if (a.type() == VarType::Boolean && b.type() == VarType::Boolean)
        return kIsOp<Fn, &opAnd> ? a.boolValue() && b.boolValue() : a.boolValue() || b.boolValue();
    }
    return conditionTrue(Fn(a, b));
  }
  ExprNodePtr left, right;
};

// a & b & c ...: a chain of & built into one string. Text and whole numbers are measured and
// copied once, where each & of the chain would copy everything before it again; from the first
// other operand on (Null, Empty, a date, an object), the chain goes on as the single & does.
inline constexpr std::size_t kMaxConcatParts = 8;

// The leading operands of a chain of & that read as text (strings and whole numbers), each
// evaluated before the next as the nested & evaluates them, and held while their text is used.
struct TextPieces {
  explicit TextPieces(std::size_t n) : slots(n) {}
  // Evaluates parts in order until one is no text; that one is held too, at index quick.
  void evaluate(Frame& f, const std::vector<ExprNodePtr>& parts);
  Variant& held(std::size_t i) { return slots.data()[i]; }
  VariantSlots slots;
  std::u16string_view texts[kMaxConcatParts];
  char16_t digits[kMaxConcatParts][12];
  std::size_t quick = 0;  // how many read as text
  std::size_t total = 0;  // their units
};

struct ConcatNode final : ExprNode {
  static constexpr std::size_t kMaxParts = kMaxConcatParts;
  ConcatNode(SourcePos p, ExprNodePtr first, ExprNodePtr second) : ExprNode(p) {
    parts.push_back(std::move(first));
    parts.push_back(std::move(second));
  }
  Variant eval(Frame& f) override;
  std::vector<ExprNodePtr> parts;  // three to kMaxParts, in the order they are evaluated
};

// A comparison with a literal on one side (other than the Integer/Long literal on the right that
// CompareConstNode takes): the other side is read as the literal's type first.
template <BinaryFn Fn>
struct LiteralCompareNode final : ExprNode {
  LiteralCompareNode(SourcePos p, ExprNodePtr other, Variant lit, bool literalOnLeft)
      : ExprNode(p), other(std::move(other)), literal(std::move(lit)), literalLeft(literalOnLeft) {}
  Variant eval(Frame& f) override {
    HeldValue hold;
    return compare(other.read(f, hold));
  }
  bool test(Frame& f) override {
    HeldValue hold;
    const Variant& value = other.read(f, hold);
    // `If s = "text"`: two texts are equal when their units are, with no Boolean built.
    if constexpr (kIsOp<Fn, &opEq> || kIsOp<Fn, &opNe>) {
      if (value.isString() && literal.isString())
        return (value.stringValue() == literal.stringValue()) == kIsOp<Fn, &opEq>;
    }
    return conditionTrue(compare(value));
  }
  Operand other;
  Variant literal;
  bool literalLeft;

 private:
  Variant compare(const Variant& value) const {
    // Text beside a text literal is compared as it stands: reading it as the literal's type
    // changes nothing, so it is not copied for that.
    if (value.isString() && literal.isString())
      return literalLeft ? Fn(literal, value) : Fn(value, literal);
    const Variant v = coerceForLiteral(value, literal);
    return literalLeft ? Fn(literal, v) : Fn(v, literal);
  }
};

struct IsNode final : ExprNode {
  IsNode(SourcePos p, ExprNodePtr l, ExprNodePtr r)
      : ExprNode(p), left(std::move(l)), right(std::move(r)) {}
  Variant eval(Frame& f) override {
    Variant a = left->eval(f);
    Variant b = right->eval(f);
    return Variant(opIs(a, b));
  }
  ExprNodePtr left, right;
};

struct NegateNode final : ExprNode {
  NegateNode(SourcePos p, ExprNodePtr e) : ExprNode(p), operand(std::move(e)) {}
  Variant eval(Frame& f) override {
    Variant a = operand->eval(f);
    if (a.type() == VarType::Integer && a.integerValue() != INT16_MIN) {
      return Variant(static_cast<std::int16_t>(-a.integerValue()));
    }
    if (a.type() == VarType::Long && a.longValue() != INT32_MIN) return Variant(-a.longValue());
    // 0 - x rather than -x, so that zero stays +0 as the runtime's operator gives it.
    if (a.type() == VarType::Double) return Variant(0.0 - a.doubleValue());
    return opNegate(a);
  }
  ExprNodePtr operand;
};

template <Variant (*Fn)(const Variant&)>
struct UnaryNode final : ExprNode {
  UnaryNode(SourcePos p, ExprNodePtr e) : ExprNode(p), operand(std::move(e)) {}
  Variant eval(Frame& f) override { return Fn(operand->eval(f)); }
  bool test(Frame& f) override {
    const Variant v = operand->eval(f);
    if constexpr (kIsOp<Fn, &opNot>) {
      if (v.type() == VarType::Boolean) return !v.boolValue();
    }
    return conditionTrue(Fn(v));
  }
  ExprNodePtr operand;
};

}  // namespace vantorel::vbs
