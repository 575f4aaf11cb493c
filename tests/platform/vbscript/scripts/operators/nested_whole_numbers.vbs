' Nested arithmetic assigned to a variable, `s = (s + i * 3) Mod m` and the like, for every kind of
' variable on either side: whole numbers keep the operators' result types, and anything else
' (text, Empty, Null, Doubles, a result past the Long range, division by zero) gives exactly
' what the operators give one at a time.
Dim ga, gb, gm, gx

Class Holder
  Public a, b, m, x
  Public Function Run()
    x = (a + b * 3) Mod m
    Run = x
  End Function
  Public Function Mixed()
    x = a * b - (a \ m) + 7
    Mixed = x
  End Function
End Class

Function ViaLocals(a0, b0, m0)
  Dim a, b, m, x
  a = a0 : b = b0 : m = m0
  x = (a + b * 3) Mod m
  ViaLocals = x
End Function

Function ViaParams(a, b, m, x)
  x = (a + b * 3) Mod m
  ViaParams = x
End Function

Function ViaGlobals(a0, b0, m0)
  ga = a0 : gb = b0 : gm = m0
  gx = (ga + gb * 3) Mod gm
  ViaGlobals = gx
End Function

Function ViaResult(a, b, m)
  ViaResult = (a + b * 3) Mod m
End Function

Function Shown(v)
  Shown = TypeName(v) & ":" & v
End Function

Dim h, rows, row, out, target
Set h = New Holder
' a, b, m, what (a + b * 3) Mod m gives
rows = Array( _
  Array(CInt(5), CInt(4), CInt(7), "Integer:3"), _
  Array(5, 4, 1000003, "Long:17"), _
  Array(CLng(5), CInt(4), CInt(7), "Long:3"), _
  Array(30000, 30000, 1000003, "Long:120000"), _
  Array(-10, 1, 4, "Integer:-3"), _
  Array(5, 4, 1000003000, "Long:17"), _
  Array("5", 4, 7, "Long:3"), _
  Array(Empty, 4, 7, "Integer:5"), _
  Array(2.5, 4, 7, "Long:0"), _
  Array(5, 4.5, 7, "Long:4"), _
  Array(True, 4, 7, "Integer:4"), _
  Array(Null, 4, 7, "Null:"))
For Each row In rows
  out = Shown((row(0) + row(1) * 3) Mod row(2))
  AssertEqual out, row(3), "one operator at a time for " & Join(Array(TypeName(row(0)), TypeName(row(1)), row(2)), ",")
  AssertEqual Shown(ViaLocals(row(0), row(1), row(2))), row(3), "locals " & row(3)
  target = Empty
  AssertEqual Shown(ViaParams(row(0), row(1), row(2), target)), row(3), "parameters " & row(3)
  AssertEqual Shown(target), row(3), "the caller's variable " & row(3)
  AssertEqual Shown(ViaGlobals(row(0), row(1), row(2))), row(3), "globals " & row(3)
  AssertEqual Shown(ViaResult(row(0), row(1), row(2))), row(3), "function result " & row(3)
  h.a = row(0) : h.b = row(1) : h.m = row(2)
  AssertEqual Shown(h.Run()), row(3), "fields " & row(3)
Next

' Past the Long range before the last operator: a Double, as the operators give it.
h.a = 2147483647 : h.b = 2 : h.m = 1
AssertEqual Shown(h.Mixed()), "Double:2147483654", "product past the Long range"
h.a = 46341 : h.b = 46341 : h.m = 46341
AssertEqual Shown(h.Mixed()), "Double:2147488287", "product past the Long range, then a sum"
h.a = CInt(100) : h.b = CInt(300) : h.m = CInt(7)
AssertEqual Shown(h.Mixed()), "Integer:29993", "Integers whose product fits an Integer"
h.a = CInt(300) : h.b = CInt(300) : h.m = CInt(7)
AssertEqual Shown(h.Mixed()), "Long:89965", "Integers whose product is a Long"
h.a = CInt(10) : h.b = CInt(3) : h.m = CInt(3)
AssertEqual Shown(h.Mixed()), "Integer:34", "Integers throughout"

' A sum past the Long range is a Double, which Mod cannot take back to a Long.
On Error Resume Next
h.x = 42
h.a = 2147483647 : h.b = 1 : h.m = 1000003
AssertEqual h.Run(), Empty, "no result past the Long range"
AssertError 6, "Mod of a Double past the Long range"
AssertEqual h.x, 42, "the field after the overflow"
gx = 42
AssertEqual ViaGlobals(1000000000, 1000000000, 1000003), Empty, "no result from globals"
AssertError 6, "Mod of a Double past the Long range, globals"
AssertEqual gx, 42, "the global after the overflow"
On Error GoTo 0

' Division by zero raises at the statement, and the target keeps its value.
On Error Resume Next
ga = 1 : gb = 2
gx = 42
gx = (ga + gb * 3) Mod 0
AssertError 11, "Mod by a zero literal"
AssertEqual gx, 42, "the target after Mod by zero"
gm = 0
gx = (ga + gb * 3) Mod gm
AssertError 11, "Mod by a zero variable"
AssertEqual gx, 42, "the target after Mod by a zero variable"
gx = (ga + gb * 3) \ (gm * 5)
AssertError 11, "integer division by a nested zero"
AssertEqual gx, 42, "the target after integer division by zero"
On Error GoTo 0

' A variable holding an array takes the number; one declared with bounds refuses it.
Dim dynamic(), fixed(2)
ga = 1 : gb = 2
ReDim dynamic(3)
dynamic = (ga + gb * 3) Mod 5
AssertEqual Shown(dynamic), "Integer:2", "a dynamic array variable replaced by the number"
On Error Resume Next
fixed = (ga + gb * 3) Mod 5
AssertError 13, "a fixed array takes no number"
On Error GoTo 0
AssertTrue IsArray(fixed), "the fixed array is still there"

' An object operand gives its default value, or fails as reading it fails.
Dim d
Set d = CreateObject("Scripting.Dictionary")
On Error Resume Next
gx = 42
gx = (d + gb * 3) Mod 5
AssertError 450, "an object whose default member wants an argument"
AssertEqual gx, 42, "the target after the failed object operand"
On Error GoTo 0
