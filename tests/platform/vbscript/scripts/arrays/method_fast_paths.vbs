' What a class method's growing buffer runs on every pass (an If on a bound, an element store,
' a counter step) for each kind of variable and value, and the cases it hands to the general
' way: arrays without dimensions or of two, shared or cut, counters leaving their range,
' elements that held text or an object.
Dim log
log = ""
Class Noisy
  Private Sub Class_Terminate()
    log = log & "ended;"
  End Sub
End Class

Class Buffer
  Private items(), none(), grid(), count
  Public Other
  Private Sub Class_Initialize()
    ReDim items(3)
    ReDim grid(2, 5)
    count = 0
  End Sub
  Public Property Let Count_(n)
    count = n
  End Property
  Public Property Get Count_()
    Count_ = count
  End Property
  Public Sub Append(value)
    If count > UBound(items) Then ReDim Preserve items(UBound(items) * 2 + 1)
    items(count) = value
    count = count + 1
  End Sub
  Public Sub PutAt(i, value)
    items(i) = value
  End Sub
  Public Sub SetAt(i, value)
    Set items(i) = value
  End Sub
  Public Function Item(i)
    Item = items(i)
  End Function
  Public Function Items_()
    Items_ = items
  End Function
  Public Sub Resize(n, keep)
    If keep Then ReDim Preserve items(n) Else ReDim items(n)
  End Sub
  Public Sub Clear()
    Erase items
  End Sub
  ' The If tests of the count against each bound, as 0s and 1s: the field array, one without
  ' dimensions (which), a local count, and a local count against a local array.
  Public Function Tested(which)
    Dim r, local, localItems
    Select Case which
      Case "items"
        If count > UBound(items) Then r = "1" Else r = "0"
        If count < UBound(items) Then r = r & "1" Else r = r & "0"
        If count >= UBound(items) Then r = r & "1" Else r = r & "0"
        If count <= UBound(items) Then r = r & "1" Else r = r & "0"
        If count = UBound(items) Then r = r & "1" Else r = r & "0"
        If count <> UBound(items) Then r = r & "1" Else r = r & "0"
        If count > LBound(items) Then r = r & "/1" Else r = r & "/0"
        If count = LBound(items) Then r = r & "1" Else r = r & "0"
      Case "grid"
        If count > UBound(grid) Then r = "1" Else r = "0"
      Case "none"
        If count > UBound(none) Then r = "1" Else r = "0"
      Case "other"
        If count > UBound(Other) Then r = "1" Else r = "0"
      Case "local count"
        local = count
        If local > UBound(items) Then r = "1" Else r = "0"
      Case "locals"
        local = count
        localItems = items
        If local > UBound(localItems) Then r = "1" Else r = "0"
        If local < LBound(localItems) Then r = r & "1" Else r = r & "0"
    End Select
    Tested = r
  End Function
  Public Sub Step(n)
    count = count + 1
    count = count - 3
    count = count + n
  End Sub
End Class

Dim b, cases, c, r
Set b = New Buffer
' The count, the bound, what the tests give.
cases = Array(Array(3, "items", "001110/10"), Array(4, "items", "101001/10"), _
  Array(0, "items", "010101/01"), Array(CInt(2), "items", "010101/10"), _
  Array(3.5, "items", "101001/10"), Array("3", "items", "101001/10"), _
  Array(Empty, "items", "010101/01"), Array(6, "grid", "1"), Array(2, "grid", "0"), _
  Array(4, "local count", "1"), Array(3, "locals", "00"), Array(-1, "locals", "01"))
For Each c In cases
  b.Count_ = c(0)
  AssertEqual b.Tested(c(1)), c(2), "count " & c(0) & " against " & c(1)
Next

' The bound follows the array through ReDim Preserve, ReDim and a copy written after.
b.Count_ = 9
b.Resize 9, True
AssertEqual b.Tested("items"), "001110/10", "after ReDim Preserve grows it"
b.Resize 1, True
AssertEqual b.Tested("items"), "101001/10", "after ReDim Preserve cuts it"
b.Resize 20, False
Dim copy
copy = b.Items_()
b.PutAt 0, "written"
AssertEqual UBound(copy), 20, "the copy keeps its bound"
AssertEqual b.Tested("items"), "010101/10", "the written array keeps its bound"

On Error Resume Next
r = b.Tested("none")
AssertError 9, "UBound of an array without dimensions"
b.Other = 5
r = b.Tested("other")
AssertError 13, "UBound of a number"
b.Clear
r = b.Tested("items")
AssertError 9, "UBound after Erase"
On Error GoTo 0

' Counters: a Long leaving the Long range becomes a Double, an Integer leaving its own a Long.
cases = Array(Array(2147483646, 2, 2147483646, vbLong), Array(2147483646, 4, 2147483648, vbDouble), _
  Array(-2147483647, -2, -2147483651, vbDouble), Array(1, 2147483647, 2147483646, vbLong), _
  Array(CInt(32766), 1, 32765, vbInteger), Array(CInt(32766), 4, 32768, vbLong), _
  Array(1.5, 0, -0.5, vbDouble), Array("4", 0, 2, vbDouble), Array(Empty, 0, -2, vbInteger))
For Each c In cases
  b.Count_ = c(0)
  b.Step c(1)
  AssertEqual b.Count_, c(2), "count " & c(0) & " stepped by " & c(1)
  AssertEqual VarType(b.Count_), c(3), "its subtype"
Next

' Elements: fresh ones, and ones that held text, a number or an object, as the buffer grows.
Set b = New Buffer
Dim values, i
values = Array("a", 1, "placeholder", "d", Empty, True)
For Each c In values
  b.Append c
Next
For i = 0 To 5
  AssertEqual VarType(b.Item(i)), VarType(values(i)), "the subtype of element " & i
Next
b.SetAt 2, New Noisy
b.PutAt 2, "over the object"
AssertEqual log, "ended;", "replacing the object ends it"
b.PutAt 0, "again"
b.PutAt 1, "text over a number"
b.PutAt 3, 42
AssertEqual b.Item(0) & b.Item(1) & b.Item(2) & b.Item(3), "againtext over a numberover the object42", _
  "elements written before"
copy = b.Items_()
b.PutAt 0, "changed"
AssertEqual copy(0) & " " & b.Item(0), "again changed", "a shared array is copied first"
b.Resize 1, True
b.Resize 7, True
AssertTrue IsEmpty(b.Item(5)), "an element cut off and grown again is Empty"

' Runs of one piece of every length up to nine, then another piece: joined and released.
Dim piece, k, j, pieces, expected
piece = "p" & "iece"
For k = 1 To 9
  ReDim pieces(k)
  expected = ""
  For j = 0 To k - 1
    pieces(j) = piece
    expected = expected & piece & "+"
  Next
  pieces(k) = "end"
  AssertEqual Join(pieces, "+"), expected & "end", "a run of " & k
Next
