' Blocks of each length with a one-line If (one condition, one statement, no Else) at each place,
' the If with one statement on each side, and For loops on whole numbers: what runs, what a
' branch's Exit leaves, what On Error Resume Next goes on with, and where an error is placed.

' A function with a block written from a pattern, one statement for each letter: "i" for
' `If taken Then t = t & "i;"`, "n" for `If Not taken Then t = t & "n;"`, "." for
' `t = t & "<place>;"`. The block is the function's body, followed by the statement that returns
' t, or the whole body of a For loop that runs once.
Function RunPattern(pattern, taken, inLoop)
  Dim code, k, c
  code = "Function PatternBlock(taken)" & vbLf & "Dim t, pass" & vbLf
  If inLoop Then code = code & "For pass = 1 To 1" & vbLf
  For k = 1 To Len(pattern)
    c = Mid(pattern, k, 1)
    If c = "i" Then
      code = code & "If taken Then t = t & ""i;""" & vbLf
    ElseIf c = "n" Then
      code = code & "If Not taken Then t = t & ""n;""" & vbLf
    Else
      code = code & "t = t & """ & k & ";""" & vbLf
    End If
  Next
  If inLoop Then code = code & "Next" & vbLf
  ExecuteGlobal code & "PatternBlock = t" & vbLf & "End Function"
  RunPattern = PatternBlock(taken)
End Function

Dim stepRows, row
stepRows = Array( _
  Array("i", True, "i;"), Array("i", False, Empty), _
  Array(".i", True, "1;i;"), Array(".i", False, "1;"), _
  Array("i.", True, "i;2;"), Array("i.", False, "2;"), _
  Array("in", True, "i;"), Array("in", False, "n;"), _
  Array("..i", True, "1;2;i;"), Array(".i.", False, "1;3;"), _
  Array("i.n", True, "i;2;"), Array("n.i", True, "2;i;"), _
  Array("i..n", False, "2;3;n;"), Array(".i.n", True, "1;i;3;"), _
  Array("ini", True, "i;i;"), Array("nin", False, "n;n;"), _
  Array("....i", True, "1;2;3;4;i;"), Array("i....", False, "2;3;4;5;"), _
  Array("i.ni.n", True, "i;2;i;5;"), Array("i.ni.n", False, "2;n;5;n;"), _
  Array("ininin", True, "i;i;i;"))
For Each row In stepRows
  AssertEqual RunPattern(row(0), row(1), False), row(2), "body " & row(0) & ", taken " & row(1)
  AssertEqual RunPattern(row(0), row(1), True), row(2), "loop " & row(0) & ", taken " & row(1)
Next

' An Exit in the branch of a one-line If leaves from the middle of a block.
Function ExitsAt(limit)
  Dim t, i
  For i = 1 To 5
    t = t & i
    If i = limit Then Exit For
    t = t & ";"
  Next
  Do
    t = t & "d"
    If limit > 0 Then Exit Do
    t = t & "again"
  Loop
  t = t & "|"
  If limit = 2 Then Exit Function
  ExitsAt = t & "end"
End Function
AssertEqual ExitsAt(2), Empty, "Exit Function from the If's branch"
AssertEqual ExitsAt(3), "1;2;3d|end", "Exit For and Exit Do from the If's branch"
AssertEqual ExitsAt(9), "1;2;3;4;5;d|end", "no Exit For taken"

Dim trail
Sub ExitsEarly(stop)
  trail = trail & "a"
  If stop Then Exit Sub
  trail = trail & "b"
End Sub
trail = ""
ExitsEarly True
ExitsEarly False
AssertEqual trail, "aab", "Exit Sub from the If's branch"

' With one statement on each side.
Function Either(c)
  If c Then Either = "then" Else Either = "else"
End Function
AssertEqual Either(True), "then", "the Then side"
AssertEqual Either(0), "else", "the Else side"
AssertEqual Either(Null), "else", "Null takes the Else side"

Function EitherResuming(d)
  Dim t
  On Error Resume Next
  If 1 / d Then t = "then" Else t = "else"
  If 1 / d Then
    t = t & ";then"
    t = t & "!"
  Else
    t = t & ";else"
  End If
  EitherResuming = t & ";" & Err.Number
End Function
AssertEqual EitherResuming(0), "then;then!;11", "a failing condition takes the Then side"
AssertEqual EitherResuming(1), "then;then!;0", "a true condition"

' Under On Error Resume Next: a failing condition runs the branch, and a failing branch
' statement goes on with the statement after the If.
Function Resuming(which)
  Dim t
  On Error Resume Next
  t = "a;"
  If 1 / (which - 1) = 0 Then t = t & "branch;"
  t = t & "b;"
  If which = 2 Then t = t & CLng("x")
  t = t & "c;" & Err.Number & ";"
  If which = 3 Then t = t & "x" Else t = t & CLng("y")
  Resuming = t & "d;" & Err.Number
End Function
AssertEqual Resuming(1), "a;branch;b;c;11;d;13", "a failing condition enters the branch"
AssertEqual Resuming(2), "a;b;c;13;d;13", "a failing branch statement is skipped"
AssertEqual Resuming(3), "a;b;c;0;xd;0", "nothing fails"

Function ResumedLoop()
  Dim t, i
  On Error Resume Next
  For i = 1 To 4
    If i = 2 Then t = t & (1 / 0)
    If i = 3 Then Exit For
    t = t & i
  Next
  ResumedLoop = t & ";" & Err.Number
End Function
AssertEqual ResumedLoop(), "12;11", "Exit For from a one-line If after a recorded error"

' The branch itself turns On Error Resume Next on or off for the statements after the If.
Function Toggled(quiet)
  Dim t
  If quiet Then On Error Resume Next
  t = "a"
  t = t & CLng("x")
  Toggled = t & ";" & Err.Number
End Function
AssertEqual Toggled(True), "a;13", "On Error Resume Next from the If's branch"
Dim failed
On Error Resume Next
failed = Toggled(False)
AssertError 13, "without it the error leaves the function"
AssertEqual failed, Empty, "nothing assigned"
If True Then On Error GoTo 0
failed = "no error yet"
On Error Resume Next
AssertEqual failed, "no error yet", "On Error GoTo 0 from the If's branch"
On Error GoTo 0

' Where an error is placed: the If for its condition, the branch statement for its own.
Function WhereFails(code)
  Dim sc
  Set sc = CreateObject("MSScriptControl.ScriptControl")
  sc.Language = "VBScript"
  On Error Resume Next
  sc.AddCode code
  WhereFails = Err.Number & "@" & sc.Error.Line & ":" & sc.Error.Column
End Function

Dim placeRows
placeRows = Array( _
  Array("x = 1" & vbLf & "  If 1 / 0 Then x = 2" & vbLf & "x = 3", "11@2:3"), _
  Array("x = 1" & vbLf & "If True Then   x = CLng(""a"")" & vbLf & "x = 3", "13@2:16"), _
  Array("If True Then" & vbLf & "   x = 1 / 0" & vbLf & "End If" & vbLf & "x = 3", "11@2:4"), _
  Array("x = 1" & vbLf & "If False Then x = 2 Else  x = 1 / 0", "11@2:27"), _
  Array("For i = 1 To 3" & vbLf & "If i = 2 Then x = 1 / 0" & vbLf & "y = i" & vbLf & "Next", _
    "11@2:15"), _
  Array("a = 1 : b = 2 : c = 3 : d = 4" & vbLf & " e = 1 / 0 : f = 6", "11@2:2"), _
  Array("For i = 1 To 2 : x = x + 1 : Next : y = 1 / 0", "11@1:37"))
For Each row In placeRows
  AssertEqual WhereFails(row(0)), row(1), "where the error of """ & row(0) & """ is placed"
Next

' For on whole numbers: a counter local or module-level, a body of one statement or several,
' up and down past the ends of the Long range.
Function CountDown(first, last, by)
  Dim k, n
  For k = first To last Step by
    n = n + 1
  Next
  CountDown = TypeName(k) & ":" & k & ":" & n
End Function
AssertEqual CountDown(-2147483647, -2147483648, -1), "Double:-2147483649:2", "below the Long range"
AssertEqual CountDown(3, 1, -1), "Integer:0:3", "an Integer counter down"
AssertEqual CountDown(CLng(3), 1, -1), "Long:0:3", "a Long counter down"
AssertEqual CountDown(2147483640, 2147483647, 4), "Double:2147483648:2", "a step past the top"
Dim g, gn
gn = 0
For g = -32767 To -32769 Step -1
  gn = gn + 1
  gn = gn + 10
Next
AssertEqual TypeName(g) & ":" & g & ":" & gn, "Long:-32770:33", "an Integer counter becomes a Long"
