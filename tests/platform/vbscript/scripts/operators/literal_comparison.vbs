' A literal in a comparison is hard-typed: the other side is read as the literal's type.
Dim s, n
s = "1"
n = 1
AssertTrue "1" = 1, "string literal against number literal compares numbers"
AssertTrue "1" = n, "string literal against a number compares text"
AssertTrue s = 1, "a string against a number literal compares numbers"
AssertTrue Not (s = n), "two variables: any string is greater than any number"
AssertTrue s > n, "string variable above number variable"
AssertTrue "10" > 9, "string read as number against a number literal"
AssertTrue n < "9", "number read as text against a string literal"
AssertTrue Not (10 < "9"), "both literals compare as numbers"
AssertTrue CStr(True) = "True", "Boolean read as its text against a string literal"
s = "2.5"
AssertTrue s = 2.5, "Double literal"
s = "True"
AssertTrue Not (s = True), "True is no hard-typed literal: a string never equals a Boolean"
s = "1/2/2000"
AssertTrue s = #1/2/2000#, "a string against a date literal is read as a date"
s = "3"
Select Case s
  Case 3
    n = "number case"
  Case Else
    n = "else"
End Select
AssertEqual n, "number case", "Select Case with a number literal reads the subject as a number"
s = "abc"
On Error Resume Next
n = (s = 1)
AssertEqual Err.Number, 13, "text that is no number against a number literal"
On Error GoTo 0
s = "-1"
AssertTrue s = -1, "a signed number literal is hard-typed too"
Select Case s
  Case -1
    n = "minus one"
  Case Else
    n = "else"
End Select
AssertEqual n, "minus one", "Select Case with a signed number literal"

' The same comparisons as If conditions, which take them without building a Boolean.
Dim t, hits
t = "abc" : hits = ""
If t = "abc" Then hits = hits & "1"
If "abc" = t Then hits = hits & "2"
If t <> "ABC" Then hits = hits & "3"
If Not (t <> "abc") Then hits = hits & "4"
If Empty = "" Then hits = hits & "5"
If Null = "abc" Then hits = hits & "x" Else hits = hits & "6"
If Null <> "abc" Then hits = hits & "x" Else hits = hits & "7"
t = "10"
If t = 10 Then hits = hits & "8"
If ChrB(97) & ChrB(0) = "a" Then hits = hits & "9"
AssertEqual hits, "123456789", "text comparisons with a literal as conditions"

' A named Integer constant on the right is hard-typed as its literal is, in values and in
' conditions, and so is a signed literal.
Const kEleven = 11
t = "11" : hits = ""
If t = kEleven Then hits = hits & "1"
If t = vbBoolean Then hits = hits & "2"
If VarType(True) = vbBoolean Then hits = hits & "3"
If Not (VarType("x") = vbBoolean) Then hits = hits & "4"
t = "-2"
If t < -1 Then hits = hits & "5"
If t >= -2 Then hits = hits & "6"
If Null = kEleven Then hits = hits & "x" Else hits = hits & "7"
AssertEqual hits, "1234567", "named constants and signed literals as conditions"
AssertTrue IsNull(Null = vbBoolean), "Null against a named constant is Null"
AssertEqual ("12" > kEleven), True, "text read as a number against a named constant"
t = "abc"
On Error Resume Next
n = (t = vbBoolean)
AssertEqual Err.Number, 13, "text that is no number against a named constant"
On Error GoTo 0
