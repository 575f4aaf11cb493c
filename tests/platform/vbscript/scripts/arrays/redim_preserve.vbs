' ReDim and ReDim Preserve on dynamic arrays.
Dim d()
ReDim d(2)
d(0) = "a" : d(1) = "b" : d(2) = "c"
ReDim Preserve d(4)
AssertEqual d(1), "b", "Preserve keeps elements when growing"
AssertTrue IsEmpty(d(4)), "new elements are Empty"
ReDim Preserve d(1)
AssertEqual UBound(d), 1, "Preserve can shrink"
AssertEqual d(1), "b", "kept element after shrinking"

Dim m()
ReDim m(1, 1)
m(1, 1) = 9
ReDim Preserve m(1, 3)
AssertEqual m(1, 1), 9, "Preserve may change the last dimension"
On Error Resume Next
ReDim Preserve m(2, 3)
AssertError 9, "Preserve cannot change another dimension"
On Error GoTo 0

Dim n
n = 3
ReDim z(n - 1)
AssertEqual UBound(z), 2, "ReDim with an expression"

' Growing one element at a time keeps every element, and shrinking and growing again gives
' Empty elements, not the old values.
Dim g(), i, ok
ReDim g(-1)
For i = 0 To 4999
  ReDim Preserve g(i)
  g(i) = i * 2
Next
ok = True
For i = 0 To 4999
  If g(i) <> i * 2 Then ok = False
Next
AssertTrue ok, "5000 elements grown one by one"
ReDim Preserve g(9)
ReDim Preserve g(20)
AssertEqual g(9), 18, "kept after shrinking"
AssertTrue IsEmpty(g(10)), "grown again: Empty, not the value cut off"
Dim copy
copy = g
ReDim Preserve g(30)
g(0) = "changed"
AssertEqual copy(0), 0, "a copy keeps its own elements"
AssertEqual UBound(copy), 20, "and its own bounds"

' An object cut off by ReDim Preserve terminates once the array is whole again, so its
' Class_Terminate can read and change the array.
Class Watcher
  Private Sub Class_Terminate()
    seen = UBound(held) & ":" & held(0)
    held(0) = "terminated"
  End Sub
End Class
Dim held(), seen
ReDim held(2)
held(0) = "first"
Set held(2) = New Watcher
ReDim Preserve held(0)
AssertEqual seen, "0:first", "Class_Terminate sees the shrunk array"
AssertEqual held(0), "terminated", "and may change it"

' An array of a million elements (storage of its own mapping) keeps its elements through
' growth and cuts, and elements it gains read Empty, also where it held values before a cut.
Dim big(), k
ReDim big(999)
For k = 0 To 999
  big(k) = "v" & k
Next
ReDim Preserve big(999999)
AssertEqual big(999), "v999", "a kept element after growing past a million"
AssertTrue IsEmpty(big(1000)), "a gained element is Empty"
AssertTrue IsEmpty(big(999999)), "the last gained element is Empty"
big(999999) = "last"
big(700000) = 7
ReDim Preserve big(600000)
AssertEqual UBound(big), 600000, "a cut that keeps most of the storage"
ReDim Preserve big(999999)
AssertTrue IsEmpty(big(700000)), "an element regained after a cut is Empty"
AssertTrue IsEmpty(big(999999)), "the last element regained after a cut is Empty"
AssertEqual big(500), "v500", "an element kept through the cut"
ReDim Preserve big(10)
AssertEqual big(10), "v10", "a cut to a few elements keeps them"
ReDim Preserve big(1999999)
AssertTrue IsEmpty(big(999999)), "an element gained after a deep cut is Empty"
AssertEqual big(3), "v3", "the elements kept through a deep cut"
ReDim big(1199999)
AssertTrue IsEmpty(big(5)), "ReDim without Preserve empties a large array"
AssertEqual UBound(big), 1199999, "ReDim without Preserve of a large array"
Erase big

' Objects in a large array are released by the cut that drops them, and only those; elements
' written far beyond the others, and in a copy, are kept and cut like any other.
Class Counted
  Public Name
  Private Sub Class_Terminate()
    terminated = terminated & Name & " "
  End Sub
End Class
Dim pool(), terminated, item, kept
terminated = ""
ReDim pool(1099999)
For Each k In Array(5, 600000, 900000, 1099999)
  Set item = New Counted
  item.Name = "o" & k
  Set pool(k) = item
Next
Set item = Nothing
pool(1000000) = "text"
kept = pool
ReDim Preserve pool(899999)
AssertEqual terminated, "", "a copy still holds the objects cut off"
kept = Empty
AssertTrue InStr(terminated, "o900000 ") > 0 And InStr(terminated, "o1099999 ") > 0 And _
  Len(terminated) = 17, "the cut released the objects beyond it, and only those"
AssertEqual pool(600000).Name, "o600000", "an object below the cut stays"
ReDim Preserve pool(1099999)
AssertTrue IsEmpty(pool(900000)), "regained after the cut: Empty"
AssertTrue IsEmpty(pool(1000000)), "the text cut off does not come back"
terminated = ""
ReDim Preserve pool(5)
AssertEqual terminated, "o600000 ", "a deep cut releases what it drops"
AssertEqual pool(5).Name, "o5", "and keeps what stays"
Erase pool
AssertEqual terminated, "o600000 o5 ", "Erase releases the rest"
