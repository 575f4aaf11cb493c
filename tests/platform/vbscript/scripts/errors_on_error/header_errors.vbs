' Under On Error Resume Next, an error in a statement's header goes on into its body; a failing
' Select Case subject is the exception: the whole statement is skipped.
Dim trace, i, v, o
On Error Resume Next
trace = ""
If 1 / 0 Then trace = trace & "if;"
AssertEqual trace, "if;", "a failing If condition runs the branch"
AssertError 11, "and the error is recorded"

trace = ""
If False Then
  trace = "then"
ElseIf CLng("x") Then
  trace = "elseif"
Else
  trace = "else"
End If
AssertEqual trace, "elseif", "a failing ElseIf condition runs its branch"
AssertError 13, "ElseIf error"

trace = ""
Select Case 1 / 0
  Case 1
    trace = "first"
  Case 2
    trace = "second"
  Case Else
    trace = "else"
End Select
AssertEqual trace, "", "a failing Select Case subject skips the whole statement"
AssertError 11, "Select error"

trace = ""
Select Case 2
  Case 1
    trace = "first"
  Case CLng("x"), 7
    trace = "failing"
  Case 2
    trace = "matching"
End Select
AssertEqual trace, "failing", "a Case whose value fails is the one selected"
AssertError 13, "Case error"

trace = ""
Dim n
n = 0
Do While CLng("x") And n < 100
  n = n + 1
  trace = "body"
  Exit Do
Loop
AssertEqual trace, "body", "a failing Do While test enters the body"
AssertError 13, "Do error"

trace = ""
Dim z
z = 0
While 10 / z < 5
  trace = trace & "wend body;"
  z = 1
Wend
AssertEqual trace, "wend body;", "a failing While test enters the body"

trace = ""
Do
  trace = trace & "x"
Loop Until 1 / 0
AssertEqual trace, "x", "a failing test at the bottom leaves the loop"
AssertError 11, "Loop Until error"

trace = ""
For i = 1 To CLng("x")
  trace = trace & "for;"
Next
AssertEqual trace, "for;", "a failing For bound runs the body once"
AssertError 92, "then Next fails: For loop not initialized"

trace = ""
For Each v In 5
  trace = trace & "each;"
Next
AssertEqual trace, "each;", "a failing For Each runs the body once"
AssertError 451, "then Next fails: object not a collection"

trace = ""
With 1 / 0
  trace = "with"
End With
AssertEqual trace, "with", "a failing With object runs the body"
AssertError 11, "With error"

With "text"
  trace = .Length
End With
AssertError 424, "member of a With on a non-object"

Set o = Nothing
v = o.Anything
AssertError 424, "member access on Nothing is Object required"
On Error GoTo 0
