' Arithmetic operators, their result subtypes and errors.
AssertEqual 7 + 2, 9, "addition"
AssertEqual 7 - 9, -2, "subtraction"
AssertEqual 6 * 7, 42, "multiplication"
AssertEqual 5 / 2, 2.5, "division gives a Double"
AssertEqual VarType(4 / 2), vbDouble, "division subtype"
AssertEqual 7 \ 2, 3, "integer division"
AssertEqual -7 \ 2, -3, "integer division truncates toward zero"
AssertEqual 7.5 \ 2, 4, "integer division rounds its operands first"
AssertEqual 7 Mod 3, 1, "Mod"
AssertEqual -7 Mod 3, -1, "Mod takes the sign of the dividend"
AssertEqual 7.6 Mod 3, 2, "Mod rounds its operands"
AssertEqual 2 ^ 10, 1024, "power"
AssertEqual VarType(2 ^ 2), vbDouble, "power subtype"
AssertEqual VarType(1 + 1), vbInteger, "Integer + Integer"
AssertEqual VarType(32767 + 1), vbLong, "Integer overflow widens to Long"
AssertEqual 32767 + 1, 32768, "widened value"
AssertEqual VarType(2147483647 + 1), vbDouble, "Long overflow widens to Double"
AssertEqual VarType(200 * 200), vbLong, "product widens"
AssertEqual VarType(CByte(1) + CByte(2)), vbByte, "Byte + Byte"
AssertEqual VarType(1 + 1.5), vbDouble, "Integer + Double"
AssertEqual VarType(CCur(1) + 1), vbCurrency, "Currency + Integer"
AssertEqual -(-3), 3, "double negation"
AssertEqual 1 + Empty, 1, "Empty counts as zero"
AssertTrue IsNull(1 + Null), "Null propagates"

On Error Resume Next
Dim x
x = 1 / 0
AssertError 11, "division by zero"
x = 1 \ 0
AssertError 11, "integer division by zero"
x = 5 Mod 0
AssertError 11, "Mod by zero"
x = "a" - 1
AssertError 13, "text in arithmetic"
Dim big
big = 1.7E308
x = big + big
AssertError 6, "Double overflow"
x = big * big
AssertError 6, "Double overflow in a product"

AssertEqual +"true", "true", "unary + keeps text as it is"
AssertEqual VarType(+"true"), vbString, "and text stays a String"
AssertEqual VarType(+True), vbBoolean, "unary + of a Boolean stays Boolean"
AssertEqual VarType(+CByte(3)), vbByte, "and of a Byte a Byte"

' Arithmetic within arithmetic keeps the result types of each step.
Dim small, large, zero
small = 3
large = 2147483647
zero = 0
AssertEqual VarType((small + 2) * small), vbInteger, "nested Integer arithmetic stays Integer"
AssertEqual VarType((small + 32767) - small), vbLong, "a nested Integer overflow widens to Long"
AssertEqual (small + 32767) - small, 32767, "and keeps its value"
AssertEqual VarType((large + small) - small), vbDouble, "a nested Long overflow goes on as a Double"
AssertEqual (large + small) - small, 2147483647, "with its value"
AssertEqual ((small * 4) Mod 5) \ 2, 1, "Mod and integer division of nested results"
AssertTrue (small + 1) * 2 = 8, "a comparison of nested arithmetic"
AssertTrue (small + 0.5) * 2 = 7, "nested arithmetic with a Double"
x = (small Mod zero) + 1
AssertError 11, "a nested division by zero still raises"
