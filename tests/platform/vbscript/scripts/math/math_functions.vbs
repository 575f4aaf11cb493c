' Numeric functions.
AssertEqual Abs(-5), 5, "Abs"
AssertTrue IsNull(Abs(Null)), "Abs of Null"
AssertEqual VarType(Abs(CInt(-3))), vbInteger, "Abs keeps the subtype"
AssertEqual Sgn(-3), -1, "Sgn negative"
AssertEqual Sgn(0), 0, "Sgn zero"
AssertEqual Sgn(2.5), 1, "Sgn positive"
AssertEqual Int(-2.5), -3, "Int rounds down"
AssertEqual Fix(-2.5), -2, "Fix truncates"
AssertEqual Int(2.7), 2, "Int positive"
AssertEqual VarType(Int(2.5)), vbDouble, "Int keeps a Double"
AssertEqual Round(2.5), 2, "Round half to even"
AssertEqual Round(3.5), 4, "Round half to even, up"
AssertEqual Round(-2.5), -2, "Round negative half"
AssertEqual Round(0.125, 2), 0.12, "Round to decimals"
AssertEqual Round(1234.5678, 2), 1234.57, "Round to two decimals"
AssertEqual Sqr(16), 4, "Sqr"
AssertEqual Exp(0), 1, "Exp"
AssertEqual Log(1), 0, "Log"
AssertTrue Abs(Log(Exp(2)) - 2) < 1E-12, "Log inverts Exp"
AssertEqual Sin(0), 0, "Sin"
AssertEqual Cos(0), 1, "Cos"
AssertEqual Tan(0), 0, "Tan"
AssertTrue Abs(Atn(1) * 4 - 3.14159265358979) < 1E-12, "Atn gives pi"
AssertTrue Abs(2 ^ 0.5 - Sqr(2)) < 1E-15, "fractional power"
On Error Resume Next
Dim x
x = Sqr(-1)
AssertError 5, "Sqr of a negative number"
x = Log(0)
AssertError 5, "Log of zero"
x = Round(1.5, -1)
AssertError 5, "negative decimals"
