' Const, Dim, ReDim and Erase.
Const Answer = 42, Greeting = "hi"
AssertEqual Answer, 42, "numeric constant"
AssertEqual Greeting, "hi", "string constant"
Const Neg = -5
AssertEqual Neg, -5, "negative constant"

Dim a, b, c
AssertTrue IsEmpty(a), "a new variable is Empty"
a = 1 : b = "two" : c = a
AssertEqual c, 1, "assignment copies"

ReDim arr(2)
arr(2) = "last"
AssertEqual UBound(arr), 2, "ReDim of an undeclared array"
ReDim Preserve arr(4)
AssertEqual arr(2), "last", "Preserve keeps elements"
ReDim arr(1)
AssertTrue IsEmpty(arr(0)), "ReDim without Preserve clears"

Dim fixed(3)
fixed(1) = 5
Erase fixed
AssertTrue IsEmpty(fixed(1)), "Erase clears a fixed array"
AssertEqual UBound(fixed), 3, "Erase keeps a fixed array's size"

On Error Resume Next
Const Fixed2 = 1
Execute "Fixed2 = 2"
AssertTrue Err.Number <> 0, "a constant cannot be assigned"
Err.Clear

Dim fixedSource(2), dynamicCopy
fixedSource(1) = "kept"
dynamicCopy = fixedSource
ReDim Preserve dynamicCopy(4)
AssertEqual dynamicCopy(1), "kept", "a copy of a fixed array can be resized"
On Error Resume Next
fixedSource = Array(1, 2, 3)
AssertError 13, "a fixed array takes no assignment as a whole"
On Error GoTo 0
