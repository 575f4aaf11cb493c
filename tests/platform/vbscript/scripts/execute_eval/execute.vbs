' Execute runs statements in the current scope; ExecuteGlobal in the global one.
Execute "y = 7"
AssertEqual y, 7, "Execute assigns a global at script level"
Execute "a1 = 1 : a2 = 2"
AssertEqual a1 + a2, 3, "several statements"
Execute "b1 = 1" & vbCrLf & "b2 = b1 + 1"
AssertEqual b2, 2, "statements on several lines"

ExecuteGlobal "Function Injected() : Injected = ""new"" : End Function"
AssertEqual Injected(), "new", "ExecuteGlobal defines a function"

Dim g
g = "global"
Sub ChangeLocal()
  Dim g
  Execute "g = ""local"""
  AssertEqual g, "local", "Execute sees the procedure's locals"
End Sub
ChangeLocal
AssertEqual g, "global", "the global is untouched"

Sub ChangeGlobal()
  Dim g
  ExecuteGlobal "g = ""from ExecuteGlobal"""
End Sub
ChangeGlobal
AssertEqual g, "from ExecuteGlobal", "ExecuteGlobal works on globals"

ExecuteGlobal "Class Made" & vbCrLf & "Public V" & vbCrLf & "End Class"
Dim m
Set m = New Made
m.V = 3
AssertEqual m.V, 3, "a class made by ExecuteGlobal"

Dim shadowed
shadowed = "global"
Sub DeclaresInExecute()
  Execute "Dim shadowed : shadowed = ""local"""
End Sub
DeclaresInExecute
AssertEqual shadowed, "global", "Dim inside Execute in a procedure declares a local"
