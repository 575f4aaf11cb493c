' Eval evaluates one expression in the current scope.
AssertEqual Eval("1 + 2"), 3, "arithmetic"
AssertEqual Eval("Len(""abc"")"), 3, "a builtin call"
Dim x
x = 5
AssertEqual Eval("x * 2"), 10, "sees a global"
AssertEqual Eval("x = 5"), True, "= inside Eval compares"
AssertEqual x, 5, "Eval did not assign"

Function Twice(n)
  Twice = n * 2
End Function
AssertEqual Eval("Twice(21)"), 42, "calls a script function"

Function LocalEval()
  Dim secret
  secret = "inside"
  LocalEval = Eval("secret")
End Function
AssertEqual LocalEval(), "inside", "sees locals of the calling procedure"

On Error Resume Next
Dim r
r = Eval("1 +")
AssertTrue Err.Number <> 0, "a syntax error raises a runtime error"
Err.Clear
r = Eval("1 / 0")
AssertError 11, "runtime error inside Eval"
