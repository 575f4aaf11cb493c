' If, ElseIf, single-line If, and Select Case.
Function Classify(n)
  If n < 0 Then
    Classify = "negative"
  ElseIf n = 0 Then
    Classify = "zero"
  Else
    Classify = "positive"
  End If
End Function
AssertEqual Classify(-3), "negative", "If branch"
AssertEqual Classify(0), "zero", "ElseIf branch"
AssertEqual Classify(9), "positive", "Else branch"

Dim r
If 1 > 2 Then r = "a" Else r = "b"
AssertEqual r, "b", "single-line If with Else"
If True Then r = "c" : r = r & "d"
AssertEqual r, "cd", "single-line If runs every statement after Then"
If Null Then r = "null" Else r = "not"
AssertEqual r, "not", "a Null condition is False"

Function Kind(v)
  Select Case v
    Case "x"
      Kind = "letter"
    Case 1, 2, 3
      Kind = "small"
    Case 10
      Kind = "ten"
    Case Else
      Kind = "other"
  End Select
End Function
AssertEqual Kind(2), "small", "Case list"
AssertEqual Kind("x"), "letter", "Case with a string"
AssertEqual Kind(10), "ten", "single Case"
AssertEqual Kind(99), "other", "Case Else"
' A literal Case value is hard-typed: text that is no number cannot be compared with 1.
On Error Resume Next
r = Kind("y")
AssertEqual Err.Number, 13, "text against a number literal Case"
On Error GoTo 0

Dim hits
hits = 0
Select Case 5
  Case 5
    hits = hits + 1
  Case 5
    hits = hits + 10
End Select
AssertEqual hits, 1, "only the first matching Case runs"

hits = 0
If hits = 0 Then : hits = 2 : End If
AssertEqual hits, 2, "block If on one line after Then :"

' Text against text literals and constants compares as binary text.
Const kEdit = "edit"
Function Mode(v)
  Select Case v
    Case "list", "view"
      Mode = "read"
    Case kEdit
      Mode = "write"
    Case ""
      Mode = "none"
    Case Else
      Mode = "other"
  End Select
End Function
AssertEqual Mode("view"), "read", "second text in a Case list"
AssertEqual Mode("edit"), "write", "a Const text Case"
AssertEqual Mode("Edit"), "other", "text Cases are case-sensitive"
AssertEqual Mode(Empty), "none", "Empty meets an empty text Case"
AssertEqual Mode(""), "none", "an empty text meets an empty text Case"
AssertEqual Mode(ChrB(101) & ChrB(0) & ChrB(100) & ChrB(0) & ChrB(105) & ChrB(0) & ChrB(116) & ChrB(0)), "write", "the bytes of a text meet it"

' Whole numbers against whole-number literals and constants, whatever their widths.
Const kBig = 70000
Function TypeKind(v)
  Select Case v
    Case 202, 200
      TypeKind = "text"
    Case 3, kBig
      TypeKind = "int"
    Case 11
      TypeKind = "bool"
    Case Else
      TypeKind = "other"
  End Select
End Function
AssertEqual TypeKind(CLng(202)), "text", "a Long meets an Integer literal"
AssertEqual TypeKind(CInt(3)), "int", "an Integer meets an Integer literal"
AssertEqual TypeKind(CLng(70000)), "int", "a Long meets a Long constant"
AssertEqual TypeKind(CByte(11)), "bool", "a Byte meets an Integer literal"
AssertEqual TypeKind(3.0), "int", "a Double meets an Integer literal"
AssertEqual TypeKind(3.5), "other", "a fraction meets no whole number"
AssertEqual TypeKind("200"), "text", "numeric text meets a number literal"
AssertEqual TypeKind(True), "other", "True is -1, no Case here"
AssertEqual TypeKind(Empty), "other", "Empty is 0, no Case here"
AssertEqual TypeKind(Null), "other", "Null meets no Case"
