' Arithmetic and comparisons on variables and literals, read in place without a Variant while
' both sides are Integers or Longs: each row gives the operands, the expected value and subtype,
' so the edges (Integer to Long, Long to Double, signs of Mod, rounding of Double operands) are
' pinned for locals, parameters, fields and module-level variables alike.
Dim ga, gb, gr

' op, a, b, expected value, expected VarType
Dim rows
rows = Array( _
  Array("+", 32766, 1, 32767, vbInteger), _
  Array("+", 32767, 1, 32768, vbLong), _
  Array("-", -32768, 1, -32769, vbLong), _
  Array("+", 2147483647, 1, 2147483648, vbDouble), _
  Array("-", -2147483647, 2, -2147483649, vbDouble), _
  Array("*", 181, 181, 32761, vbInteger), _
  Array("*", 182, 182, 33124, vbLong), _
  Array("*", 65536, 65536, 4294967296, vbDouble), _
  Array("Mod", -7, 3, -1, vbInteger), _
  Array("Mod", 7, -3, 1, vbInteger), _
  Array("Mod", -2147483647, -1, 0, vbLong), _
  Array("Mod", 7.5, 2, 0, vbLong), _
  Array("Mod", 6.5, 4, 2, vbLong), _
  Array("Mod", -5.5, 4, -2, vbLong), _
  Array("\", -7, 2, -3, vbInteger), _
  Array("\", 100000, -1, -100000, vbLong), _
  Array("+", 1.5, 2, 3.5, vbDouble), _
  Array("+", "4", 2, 6, vbDouble), _
  Array("+", Empty, 2, 2, vbInteger))

' One body compiled four times, its operands parameters, locals, module-level variables and
' fields in turn.
Function OperatorBody(result, a, b)
  Dim text, op
  text = "Select Case op" & vbCrLf
  For Each op In Array("+", "-", "*", "Mod", "\")
    text = text & "Case """ & op & """: " & result & " = " & a & " " & op & " " & b & vbCrLf
  Next
  OperatorBody = text & "End Select" & vbCrLf
End Function
ExecuteGlobal "Function Apply(op, a, b)" & vbCrLf & OperatorBody("Apply", "a", "b") & "End Function"
ExecuteGlobal "Function WithLocals(op, x, y)" & vbCrLf & "Dim a, b" & vbCrLf & "a = x : b = y" & _
  vbCrLf & OperatorBody("WithLocals", "a", "b") & "End Function"
ExecuteGlobal "Function WithGlobals(op, x, y)" & vbCrLf & "ga = x : gb = y" & vbCrLf & _
  OperatorBody("gr", "ga", "gb") & "WithGlobals = gr" & vbCrLf & "End Function"
ExecuteGlobal "Class NumberPair" & vbCrLf & "Private a, b" & vbCrLf & _
  "Public Function Calc(op, x, y)" & vbCrLf & "a = x : b = y" & vbCrLf & _
  OperatorBody("Calc", "a", "b") & "End Function" & vbCrLf & "End Class"

Dim pair, row, label, got
Set pair = New NumberPair
For Each row In rows
  label = row(1) & " " & row(0) & " " & row(2)
  got = Apply(row(0), row(1), row(2))
  AssertEqual got, row(3), label & " (parameters)"
  AssertEqual VarType(got), row(4), label & " subtype (parameters)"
  got = WithLocals(row(0), row(1), row(2))
  AssertEqual got, row(3), label & " (locals)"
  AssertEqual VarType(got), row(4), label & " subtype (locals)"
  got = WithGlobals(row(0), row(1), row(2))
  AssertEqual got, row(3), label & " (module-level)"
  AssertEqual VarType(got), row(4), label & " subtype (module-level)"
  got = pair.Calc(row(0), row(1), row(2))
  AssertEqual got, row(3), label & " (fields)"
  AssertEqual VarType(got), row(4), label & " subtype (fields)"
Next

' A literal on the right: n op literal, with n of each subtype.
' n, expected n - 1 and its VarType, expected n * 2, expected n Mod 3, n < 2, n = 1
Dim literalRows
literalRows = Array( _
  Array(CInt(1), 0, vbInteger, 2, 1, True, True), _
  Array(CInt(-32768), -32769, vbLong, -65536, -2, True, False), _
  Array(CLng(1), 0, vbLong, 2, 1, True, True), _
  Array(CLng(-2147483647) - 1, -2147483649, vbDouble, -4294967296, -2, True, False), _
  Array(1.5, 0.5, vbDouble, 3, 2, True, False), _
  Array(2.5, 1.5, vbDouble, 5, 2, False, False), _
  Array("1", 0, vbDouble, 2, 1, True, True), _
  Array(Empty, -1, vbInteger, 0, 0, True, False))
Function MinusOne(n)
  MinusOne = n - 1
End Function
For Each row In literalRows
  label = "n = " & row(0) & " (" & TypeName(row(0)) & ")"
  got = MinusOne(row(0))
  AssertEqual got, row(1), label & ": n - 1"
  AssertEqual VarType(got), row(2), label & ": n - 1 subtype"
  AssertEqual row(0) * 2, row(3), label & ": n * 2"
  AssertEqual row(0) Mod 3, row(4), label & ": n Mod 3"
  AssertEqual row(0) < 2, row(5), label & ": n < 2"
  AssertEqual row(0) = 1, row(6), label & ": n = 1"
Next

' The result stored over a variable that held text or an object: the old value is released.
Dim held
held = "some text"
ga = 40000
held = ga * 2
AssertEqual held, 80000, "a product stored over text"
AssertEqual VarType(held), vbLong, "as a Long"
Set held = New NumberPair
held = ga Mod 7
AssertEqual held, 40000 Mod 7, "a remainder stored over an object"

' Nested whole-number arithmetic whose inner result leaves the Long range takes the general
' path: a Double inside, then Mod's own conversion, which overflows.
Dim s, i
s = 2147483647
i = 1
gr = (s + i * 3) - 10
AssertEqual gr, 2147483640, "nested sum past the Long range"
AssertEqual VarType(gr), vbDouble, "is a Double"
On Error Resume Next
gr = Empty
gr = (s + i * 3) Mod 1000003
AssertError 6, "Mod of a Double past the Long range overflows"
On Error GoTo 0
AssertTrue IsEmpty(gr), "and stores nothing"
s = 0
For i = 1 To 1000
  s = (s + i * 3) Mod 1000003
Next
AssertEqual s, 501497, "the loop of sums and remainders"
AssertEqual VarType(s), vbLong, "stays a Long"

' A For counter that passes the Integer range becomes a Long, one past the end.
Dim counter, passes
passes = 0
For counter = 32760 To 32770
  passes = passes + 1
Next
AssertEqual passes, 11, "Integer counter across 32767"
AssertEqual counter, 32771, "ends one past the bound"
AssertEqual VarType(counter), vbLong, "as a Long"
passes = 0
For counter = -32760 To -32770 Step -5
  passes = passes + 1
Next
AssertEqual passes, 3, "downward Integer counter"
AssertEqual counter, -32775, "ends one step past the bound"
AssertEqual VarType(counter), vbLong, "as a Long"
For counter = 2147483640 To 2147483647 Step 4
Next
AssertEqual counter, 2147483648, "Long counter past the Long range"
AssertEqual VarType(counter), vbDouble, "becomes a Double"

' Mod by a literal against Mod by a variable holding the same divisor, for dividends across the
' Long range: both give the same remainder, with the dividend's sign.
Dim dividends, x
dividends = Array(CLng(-2147483647) - 1, -2147483647, -1000004, -65537, -32768, -7, -1, 0, 1, 7, _
                  32767, 65536, 1000002, 2147483646, 2147483647)
For Each x In dividends
  label = x & " Mod "
  AssertEqual x Mod 1, Apply("Mod", x, 1), label & "1"
  AssertEqual x Mod -1, Apply("Mod", x, -1), label & "-1"
  AssertEqual x Mod 2, Apply("Mod", x, 2), label & "2"
  AssertEqual x Mod 3, Apply("Mod", x, 3), label & "3"
  AssertEqual x Mod -3, Apply("Mod", x, -3), label & "-3"
  AssertEqual x Mod 10, Apply("Mod", x, 10), label & "10"
  AssertEqual x Mod 32767, Apply("Mod", x, 32767), label & "32767"
  AssertEqual x Mod 65536, Apply("Mod", x, 65536), label & "65536"
  AssertEqual x Mod 1000003, Apply("Mod", x, 1000003), label & "1000003"
  AssertEqual x Mod -1000003, Apply("Mod", x, -1000003), label & "-1000003"
  AssertEqual x Mod 2147483647, Apply("Mod", x, 2147483647), label & "2147483647"
  AssertEqual x Mod -2147483647, Apply("Mod", x, -2147483647), label & "-2147483647"
  AssertEqual VarType(x Mod 7), VarType(Apply("Mod", x, 7)), label & "7 subtype"
Next
AssertEqual -2147483647 Mod 10, -7, "the dividend's sign"
AssertEqual 2147483647 Mod -10, 7, "not the divisor's"
On Error Resume Next
gr = Empty
gr = dividends(3) Mod 0
AssertError 11, "Mod by a zero literal"
AssertTrue IsEmpty(gr), "stores nothing"
On Error GoTo 0
