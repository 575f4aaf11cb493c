' Functions: results, recursion, Exit, and calls before the definition.
AssertEqual Later(), "defined below", "procedures are known before their definition"

Function Later()
  Later = "defined below"
End Function

Function Fact(n)
  If n <= 1 Then
    Fact = 1
  Else
    Fact = n * Fact(n - 1)
  End If
End Function
AssertEqual Fact(10), 3628800, "recursion"

Function NoResult()
End Function
AssertTrue IsEmpty(NoResult()), "an unassigned result is Empty"

Function EarlyExit(n)
  EarlyExit = "early"
  If n > 0 Then Exit Function
  EarlyExit = "late"
End Function
AssertEqual EarlyExit(1), "early", "Exit Function"
AssertEqual EarlyExit(0), "late", "no exit"

Dim log
Sub Logged(msg)
  If msg = "" Then Exit Sub
  log = log & msg
End Sub
Logged "a"
Logged ""
Logged "b"
AssertEqual log, "ab", "Exit Sub"

Function MakeList()
  MakeList = Array(1, 2, 3)
End Function
AssertEqual UBound(MakeList()), 2, "function returning an array"
AssertEqual MakeList()(1), 2, "index into a function result"

Class Holder
  Public Tag
End Class
Function MakeHolder(t)
  Dim h
  Set h = New Holder
  h.Tag = t
  Set MakeHolder = h
End Function
AssertEqual MakeHolder("h").Tag, "h", "function returning an object"

Function Counter()
  Dim local
  local = local + 1
  Counter = local
End Function
Counter
AssertEqual Counter(), 1, "locals start Empty on every call"

On Error Resume Next
NotDefinedAnywhere
AssertError 13, "calling a name that is not defined"
On Error GoTo 0
