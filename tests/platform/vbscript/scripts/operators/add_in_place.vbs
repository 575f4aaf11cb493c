' x = x + y and x = x - y, which a counter or a sum runs on every pass: the result and its
' subtype as the operator gives them, for every kind of variable and operand.
Dim g, h
g = 32766
g = g + 1
AssertEqual VarType(g), vbInteger, "Integer + Integer literal stays Integer"
g = g + 1
AssertEqual g, 32768, "Integer overflow widens"
AssertEqual VarType(g), vbLong, "to Long"
g = 2147483647
g = g + 1
AssertEqual g, 2147483648, "Long overflow widens"
AssertEqual VarType(g), vbDouble, "to Double"
g = -32768
g = g - 1
AssertEqual VarType(g), vbLong, "Integer subtraction past -32768 gives a Long"
g = CLng(5)
g = g - 7
AssertEqual g, -2, "Long minus a literal"
AssertEqual VarType(g), vbLong, "stays Long"
g = 1.5
g = g + 1
AssertEqual g, 2.5, "Double + literal"
AssertEqual VarType(g), vbDouble, "Double + literal subtype"
g = "7"
g = g + 1
AssertEqual g, 8, "text + literal converts"
AssertEqual VarType(g), vbDouble, "text + literal gives a Double"
g = Empty
g = g + 1
AssertEqual VarType(g), vbInteger, "Empty + literal"
g = Null
g = g + 1
AssertTrue IsNull(g), "Null + literal stays Null"
g = CByte(200)
g = g + 1
AssertEqual VarType(g), vbInteger, "Byte + Integer literal gives an Integer"
g = CCur(1.5)
g = g + 1
AssertEqual VarType(g), vbCurrency, "Currency + literal stays Currency"
g = 3
h = 2.25
g = g + h
AssertEqual g, 5.25, "Integer + Double variable"
g = 2147483647
h = 1
g = g - h
AssertEqual VarType(g), vbLong, "Long - Integer variable"
g = 1.7E308
h = 1.7E308
On Error Resume Next
g = g + h
AssertError 6, "a sum past the Double range overflows"
On Error GoTo 0
AssertEqual g, 1.7E308, "and leaves the variable as it was"

' The other operand a constant, a procedure, or the variable itself.
Const kStep = 10
g = 1
g = g + kStep
AssertEqual g, 11, "a named constant"
Function Five()
  Five = 5
End Function
g = 1
g = g + Five
AssertEqual g, 6, "a function called without parentheses"
g = 21
g = g + g
AssertEqual g, 42, "the variable added to itself"

' A local, a by-reference parameter, a by-value parameter, a field.
Sub Bump(ByRef target, ByVal copy)
  Dim local
  local = 1
  local = local + 1
  target = target + local
  copy = copy + 100
End Sub
Dim n, m
n = 1
m = 1
Bump n, m
AssertEqual n, 3, "a by-reference parameter changes the caller's variable"
AssertEqual m, 1, "a by-value parameter does not"
Dim arr(1)
arr(1) = 5
Bump arr(1), 0
AssertEqual arr(1), 7, "an array element passed by reference is stored back"

Class Tally
  Public Total
  Private Sub Class_Initialize()
    Total = 0
  End Sub
  Public Sub Add(amount)
    Total = Total + amount
  End Sub
End Class
Dim t, i
Set t = New Tally
For i = 1 To 70000
  t.Add i
Next
AssertEqual t.Total, 2450035000, "a field summed past the Long range"
AssertEqual VarType(t.Total), vbDouble, "ends a Double"

' A name that is no variable still fails the way the assignment does.
Const kFixed = 1
On Error Resume Next
Execute "kFixed = kFixed + 1"
AssertError 501, "a constant takes no assignment"
On Error GoTo 0
