#pragma once
// VBScript's operators on Variants: type promotion (Byte, Integer, Long, Single, Double,
// Currency, Decimal, Date), overflow promotion from Integer to Long to Double, Null
// propagation, string/number comparison rules, and objects read through their default member.
// These sit in the interpreter's inner loop: the common cases take a fast path.
#include "platform/automation/variant.hpp"

namespace vantorel::vbs {

Variant opAdd(const Variant& a, const Variant& b);  // numbers add; two strings concatenate
Variant opSub(const Variant& a, const Variant& b);
Variant opMul(const Variant& a, const Variant& b);
Variant opDiv(const Variant& a, const Variant& b);     // a Double (a Decimal beside a Decimal)
Variant opIntDiv(const Variant& a, const Variant& b);  // \ : operands rounded to integers
Variant opMod(const Variant& a, const Variant& b);
Variant opPow(const Variant& a, const Variant& b);
Variant opConcat(const Variant& a, const Variant& b);  // & : Null & Null is Null
Variant opNegate(const Variant& a);
Variant opPlus(const Variant& a);  // unary +

// Comparisons yield Boolean, or Null when either side is Null.
Variant opEq(const Variant& a, const Variant& b);
Variant opNe(const Variant& a, const Variant& b);
Variant opLt(const Variant& a, const Variant& b);
Variant opLe(const Variant& a, const Variant& b);
Variant opGt(const Variant& a, const Variant& b);
Variant opGe(const Variant& a, const Variant& b);
// Object identity; raises 424 when either side is not an object.
bool opIs(const Variant& a, const Variant& b);

// Logical operators: bitwise on integers, three-valued with Null.
Variant opNot(const Variant& a);
Variant opAnd(const Variant& a, const Variant& b);
Variant opOr(const Variant& a, const Variant& b);
Variant opXor(const Variant& a, const Variant& b);
Variant opEqv(const Variant& a, const Variant& b);
Variant opImp(const Variant& a, const Variant& b);

// The truth of a condition (If, While, Do, ...): Null and Empty count as False; other values
// convert as CBool does (a string that is no number or Boolean raises 13).
bool isTrue(const Variant& condition);

// VBScript treats a literal in a comparison as hard-typed, as VB6 does: a string compared with
// a number literal is read as a number (13 when it is none), with a Boolean or date literal as a
// Boolean or date, and a number, Boolean or date compared with a string literal is read as its
// text. Returns the value to compare with the literal.
Variant coerceForLiteral(const Variant& value, const Variant& literal);
bool isHardNumberLiteral(const Variant& literal) noexcept;  // number, Boolean or date

// Select Case and "=" on values: the same rules as opEq, as a plain answer (Null is unequal).
bool valuesEqual(const Variant& a, const Variant& b);

}  // namespace vantorel::vbs
