' Recursive calls: results built from two calls each, a by-reference counter and a by-reference
' parameter handed down the recursion, and the depth at which a runaway recursion stops.
Function Fib(n)
  If n < 2 Then
    Fib = n
  Else
    Fib = Fib(n - 1) + Fib(n - 2)
  End If
End Function

Function CountedFib(n, ByRef calls)
  calls = calls + 1
  If n < 2 Then
    CountedFib = n
  Else
    CountedFib = CountedFib(n - 1, calls) + CountedFib(n - 2, calls)
  End If
End Function

' n, Fib(n), calls it takes
Dim rows, row, calls, got
rows = Array(Array(0, 0, 1), Array(1, 1, 1), Array(2, 1, 3), Array(10, 55, 177), _
             Array(20, 6765, 21891), Array(23, 28657, 92735))
For Each row In rows
  AssertEqual Fib(row(0)), row(1), "Fib(" & row(0) & ")"
  AssertEqual VarType(Fib(row(0))), vbInteger, "Fib(" & row(0) & ") of an Integer stays Integer"
  calls = 0
  got = CountedFib(row(0), calls)
  AssertEqual got, row(1), "counted Fib(" & row(0) & ")"
  AssertEqual calls, row(2), "calls for Fib(" & row(0) & ")"
Next
AssertEqual Fib(CLng(20)), 6765, "Fib of a Long"
AssertEqual VarType(Fib(CLng(20))), vbLong, "is a Long"
AssertEqual Fib(CDbl(20)), 6765, "Fib of a Double"
AssertEqual VarType(Fib(CDbl(20))), vbDouble, "is a Double"

' A by-reference parameter changed at the bottom of the recursion reaches the caller's variable.
Sub CountDown(ByRef n, ByRef trail)
  If n > 0 Then
    trail = trail & n
    n = n - 1
    CountDown n, trail
  End If
End Sub
Dim start, trail
start = 5
trail = ""
CountDown start, trail
AssertEqual start, 0, "ByRef through five levels"
AssertEqual trail, "54321", "each level saw the value the level above left"

' By value, the caller's variable keeps its value at every level.
Function SumDown(ByVal n)
  If n = 0 Then
    SumDown = 0
  Else
    SumDown = n
    n = n - 1
    SumDown = SumDown + SumDown(n)
  End If
End Function
start = 100
AssertEqual SumDown(start), 5050, "ByVal through a hundred levels"
AssertEqual start, 100, "leaves the argument as it was"

' Depth: 2,500 nested calls run; an endless recursion stops with "Out of stack space".
Function Nest(n)
  If n = 0 Then
    Nest = 0
  Else
    Nest = Nest(n - 1) + 1
  End If
End Function
AssertEqual Nest(2500), 2500, "2,500 nested calls"
Function Endless(n)
  Endless = Endless(n + 1)
End Function
On Error Resume Next
got = Empty
got = Endless(0)
AssertError 28, "endless recursion"
On Error GoTo 0
AssertTrue IsEmpty(got), "leaves the target untouched"
AssertEqual Nest(10), 10, "calls work again afterwards"
