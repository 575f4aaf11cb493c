' Arithmetic passed as an argument keeps the type the operator gives, and is the callee's own
' copy whatever the parameter's passing.
Function TypeOfArg(x)
  TypeOfArg = VarType(x)
End Function
Function Bump(x)
  x = x + 100
  Bump = x
End Function
Dim i, l, big
i = CInt(7)
l = CLng(7)
big = 2147483647
AssertEqual TypeOfArg(i + 1), 2, "Integer + Integer literal stays Integer"
AssertEqual TypeOfArg(i * 10000), 3, "an Integer product past 32767 is a Long"
AssertEqual TypeOfArg(l - 1), 3, "Long - 1 is a Long"
AssertEqual TypeOfArg(big + 1), 5, "past the Long range: a Double"
AssertEqual TypeOfArg(l \ 2), 3, "integer division"
AssertEqual Bump(i + 1), 108, "the callee changes its copy"
AssertEqual i, 7, "the variable in the expression is untouched"
On Error Resume Next
Dim r
r = TypeOfArg(l Mod 0)
AssertError 11, "Mod by zero in an argument"
On Error GoTo 0
AssertEqual r, Empty, "no call when the argument fails"

' Recursion through arguments computed in place, deep enough to nest frames well past the
' stack check's start.
Function Depth(n)
  If n = 0 Then
    Depth = 0
  Else
    Depth = 1 + Depth(n - 1)
  End If
End Function
AssertEqual Depth(2000), 2000, "2,000 nested calls"
