' Fixed and dynamic arrays, their bounds, and out-of-range access.
Dim a(3)
AssertEqual LBound(a), 0, "lower bound"
AssertEqual UBound(a), 3, "upper bound is the declared one"
AssertTrue IsArray(a), "IsArray"
AssertEqual VarType(a), vbArray + vbVariant, "VarType of an array"
AssertEqual TypeName(a), "Variant()", "TypeName of an array"

Dim grid(2, 4)
AssertEqual UBound(grid, 1), 2, "first dimension"
AssertEqual UBound(grid, 2), 4, "second dimension"
grid(1, 3) = "x"
AssertEqual grid(1, 3), "x", "two-dimensional element"

Dim v
v = Array(10, 20, 30)
AssertEqual UBound(v), 2, "Array()"
AssertEqual v(1), 20, "element of Array()"
v(1) = 25
AssertEqual v(1), 25, "assign an element"

Dim e
e = Array()
AssertEqual UBound(e), -1, "empty Array()"

Dim copy
copy = v
copy(0) = 0
AssertEqual v(0), 10, "assignment copies the array"

On Error Resume Next
Dim x
x = a(4)
AssertError 9, "index past the upper bound"
x = a(-1)
AssertError 9, "negative index"
x = grid(1)
AssertError 9, "wrong number of dimensions"
x = UBound(grid, 3)
AssertError 9, "UBound of a missing dimension"
x = UBound(5)
AssertError 13, "UBound of a non-array"

Dim fixedFive(4)
ReDim fixedFive(5)
AssertError 10, "ReDim of a fixed array"
ReDim fixedFive("x")
AssertError 10, "also when the new bound is not a number"
ReDim Preserve fixedFive(9)
AssertError 10, "ReDim Preserve of a fixed array"
AssertEqual UBound(fixedFive), 4, "the fixed array keeps its bounds"

' A bound compared with or computed on, as a growing buffer does; a variable that holds no
' array goes the builtin's way and raises as it does.
Dim grow(3), filled, notArray, bigger
filled = 4
AssertTrue filled > UBound(grow), "a count compared with the upper bound"
AssertTrue Not (filled < LBound(grow)), "a count compared with the lower bound"
AssertEqual TypeName(UBound(grow) * 2 + 1), "Long", "arithmetic on a bound is Long"
AssertEqual UBound(grow) * 2 + 1, 7, "arithmetic on a bound"
filled = 3.5
AssertTrue filled > UBound(grow), "a Double compared with a bound"
filled = "10"
AssertTrue filled > UBound(grow), "a numeric text compared with a bound"
notArray = 5
bigger = filled > UBound(notArray)
AssertError 13, "comparing with the bound of a non-array"
