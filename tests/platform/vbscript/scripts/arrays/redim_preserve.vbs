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
