' The truth of If, ElseIf, Do While and Loop Until conditions, whatever the condition's kind.
Function Truth(c)
  If c Then Truth = "T" Else Truth = "F"
End Function

Dim calls
Function Side(v)
  calls = calls + 1
  Side = v
End Function

Dim r, a, b, s, n
a = 3 : b = 4 : s = "10" : n = Null
' Comparisons of two variables, of a variable and a literal, and of mixed types.
r = ""
If a < b Then r = r & "T" Else r = r & "F"
If a = b Then r = r & "T" Else r = r & "F"
If a >= 3 Then r = r & "T" Else r = r & "F"
If s > a Then r = r & "T" Else r = r & "F"
If s = "10" Then r = r & "T" Else r = r & "F"
If n = a Then r = r & "T" Else r = r & "F"
If n <> a Then r = r & "T" Else r = r & "F"
If 2.5 < a Then r = r & "T" Else r = r & "F"
AssertEqual r, "TFTTTFFT", "comparisons as conditions (Null compares to Null: False)"

' And, Or and Not work on the bits: 1 And 2 is 0, Not 1 is -2.
r = ""
If a < b And b < 5 Then r = r & "T" Else r = r & "F"
If a > b Or b = 4 Then r = r & "T" Else r = r & "F"
If Not a > b Then r = r & "T" Else r = r & "F"
If 1 And 2 Then r = r & "T" Else r = r & "F"
If 1 Or 0 Then r = r & "T" Else r = r & "F"
If Not 1 Then r = r & "T" Else r = r & "F"
If Not -1 Then r = r & "T" Else r = r & "F"
If 2 And True Then r = r & "T" Else r = r & "F"
If Not n Then r = r & "T" Else r = r & "F"
If n And False Then r = r & "T" Else r = r & "F"
If n Or True Then r = r & "T" Else r = r & "F"
AssertEqual r, "TTTFTTFTFFT", "And, Or and Not as conditions"

' Both sides of And and Or run, whatever the first gives.
calls = 0
If Side(False) And Side(True) Then r = "T" Else r = "F"
If Side(True) Or Side(False) Then r = r & "T" Else r = r & "F"
AssertEqual calls, 4, "And and Or evaluate both sides"
AssertEqual r, "FT", "Boolean results of calls"

' Conditions of other types: numbers, numeric text, Empty.
AssertEqual Truth(0) & Truth(7) & Truth(-0.5) & Truth("1") & Truth("0") & Truth(Empty), _
            "FTTTFF", "numbers, text and Empty as conditions"
On Error Resume Next
r = Truth("x")
AssertEqual Err.Number, 13, "text that is no number as a condition"
Err.Clear
Dim notNumber
notNumber = "x"
If notNumber = 1 Then r = "entered" Else r = "else"
AssertEqual Err.Number, 13, "a failing comparison"
AssertEqual r, "entered", "a failing condition enters its branch under Resume Next"
On Error GoTo 0

' Loop conditions.
Dim i
i = 0
Do While i < b
  i = i + 1
Loop
AssertEqual i, 4, "Do While with a comparison"
i = 0
Do
  i = i + 1
Loop Until i >= 3 And Not i = 1
AssertEqual i, 3, "Loop Until with And and Not"
i = 0
Do Until Not (i < 5)
  i = i + 1
Loop
AssertEqual i, 5, "Do Until with Not"

' Fields of the running class assigned in place.
Class Counter
  Public count, items, child
  Private Sub Class_Initialize()
    count = 0
  End Sub
  Public Sub Add()
    count = count + 1
  End Sub
  Public Function Bump()
    count = count + 10
    Bump = 1
  End Function
  Public Sub AddReentrant()
    count = count + Bump()
  End Sub
  Public Sub Take(v)
    child = v
  End Sub
  Public Sub TakeArray()
    Dim fixedOne(2)
    fixedOne(0) = "a"
    items = fixedOne
    ReDim Preserve items(4)
  End Sub
  Public Default Property Get Value()
    Value = "c" & count
  End Property
End Class

Dim c, d
Set c = New Counter
For i = 1 To 1000
  c.Add
Next
AssertEqual c.count, 1000, "a field counted in place"
c.count = 2147483647
c.Add
AssertEqual TypeName(c.count), "Double", "a Long field past its range becomes Double"
c.count = 0
c.AddReentrant
AssertEqual c.count, 1, "the field is read before the call on the right changes it"
Set d = New Counter
c.Take d
AssertEqual c.child, "c0", "Let of an object into a field stores its default value"
AssertEqual TypeName(c.child), "String", "the field holds the value, not the object"
c.TakeArray
AssertEqual UBound(c.items), 4, "an array copied into a field may be resized"
AssertEqual c.items(0), "a", "the copy keeps its elements"
