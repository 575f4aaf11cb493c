' An error in a procedure without a handler ends the procedure and goes to the caller.
Dim trail
Sub Fails()
  trail = trail & "before;"
  Dim x
  x = 1 / 0
  trail = trail & "after;"
End Sub

Sub Handles()
  On Error Resume Next
  Dim x
  x = 1 / 0
  trail = trail & "handled;"
End Sub

Sub Strict()
  On Error GoTo 0
  Dim x
  x = CLng("nope")
  trail = trail & "not reached;"
End Sub

On Error Resume Next
trail = ""
Fails
AssertEqual trail, "before;", "the rest of the procedure is skipped"
AssertError 11, "the caller sees the error"

trail = ""
Handles
AssertEqual trail, "handled;", "a handler inside the procedure resumes there"

trail = ""
Strict
AssertEqual trail, "", "On Error GoTo 0 in the callee"
AssertError 13, "the error reaches the caller's handler"

Function Nested(depth)
  If depth = 0 Then
    Nested = 1 / 0
  Else
    Nested = Nested(depth - 1) + 1
  End If
End Function
Dim r
r = Nested(3)
AssertError 11, "an error deep in recursion"
AssertTrue IsEmpty(r), "the failed assignment did not happen"
