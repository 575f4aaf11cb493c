' s = s & x appends to s's own string: other holders of the string keep their value, and
' anything that is not plain text building goes the way the nested & goes.
Dim s, t, i
s = "ab"
t = s
s = s & "cd"
AssertEqual s, "abcd", "append to a global"
AssertEqual t, "ab", "a variable sharing the string keeps it"
t = s
s = s & "e" & 5 & "f"
AssertEqual s, "abcde5f", "a chain of pieces, a number among them"
AssertEqual t, "abcd", "a variable sharing the string keeps it (chain)"
s = s & s
AssertEqual s, "abcde5fabcde5f", "s & s"
s = "x"
s = s & ""
AssertEqual s, "x", "s & empty text"
s = s & Null
AssertEqual s, "x", "s & Null is s"
s = s & True & Empty
AssertEqual s, "xTrue", "Boolean and Empty pieces as text"
s = s & 1.5
AssertEqual s, "xTrue" & CStr(1.5), "a Double piece in the locale's form"
s = 7
s = s & 8
AssertEqual s, "78", "s not a string yet"
AssertEqual VarType(s), 8, "the result is a String"
s = Null
s = s & Null
AssertTrue IsNull(s), "Null & Null is Null"
s = ""
For i = 1 To 1000
  s = s & "ab"
Next
AssertEqual Len(s), 2000, "built in a loop"
AssertEqual Mid(s, 1999, 2), "ab", "the last piece"

' A piece's evaluation that changes s: the value s had before the piece counts, as in the
' nested &.
Function ChangeS()
  s = "changed"
  ChangeS = "!"
End Function
s = "orig"
s = s & ChangeS()
AssertEqual s, "orig!", "s changed by a piece"
Function ShareS()
  t = s
  ShareS = "+"
End Function
s = "base"
s = s & ShareS()
AssertEqual s, "base+", "s shared by a piece's call"
AssertEqual t, "base", "the variable the piece shared s with keeps it"

' Locals, parameters (ByRef and ByVal) and fields.
Function Build(n)
  Dim r, k
  r = ""
  For k = 1 To n
    r = r & k
  Next
  Build = r
End Function
AssertEqual Build(5), "12345", "a local"
Sub AppendTo(target, piece)
  target = target & piece
End Sub
Sub AppendToCopy(ByVal target, piece)
  target = target & piece
  AssertEqual target, "keep!", "a ByVal parameter changes its copy"
End Sub
Dim caller, other
caller = "by"
other = caller
AppendTo caller, "ref"
AssertEqual caller, "byref", "a ByRef parameter appends to the caller's variable"
AssertEqual other, "by", "another holder of the caller's string keeps it"
caller = "keep"
AppendToCopy caller, "!"
AssertEqual caller, "keep", "a ByVal parameter leaves the caller's variable"
Dim arr(1)
arr(0) = "el"
AppendTo arr(0), "ement"
AssertEqual arr(0), "element", "an array element passed ByRef"

Class Builder
  Private text
  Private Sub Class_Initialize()
    text = ""
  End Sub
  Public Sub Add(piece)
    text = text & piece & ","
  End Sub
  Public Property Get Value()
    Value = text
  End Property
End Class
Dim b, snapshot
Set b = New Builder
b.Add "a"
snapshot = b.Value
b.Add 2
AssertEqual b.Value, "a,2,", "a field"
AssertEqual snapshot, "a,", "a value read before keeps its text"

' Errors: an array piece is a type mismatch and leaves s as it was.
Dim parts
parts = Array(1)
s = "keep"
On Error Resume Next
s = s & parts
AssertError 13, "an array piece"
s = s & "!" & parts & ChangeS()
AssertError 13, "an array piece within a chain"
On Error GoTo 0
AssertEqual s, "keep", "s unchanged after the failed appends, and the pieces after the array not run"
