' Arrays inside arrays and For Each over them.
Dim outer
outer = Array(Array(1, 2), Array(3, 4, 5))
AssertEqual outer(1)(2), 5, "element of an inner array"
AssertEqual UBound(outer(1)), 2, "bound of an inner array"
Dim total, inner, n
total = 0
For Each inner In outer
  For Each n In inner
    total = total + n
  Next
Next
AssertEqual total, 15, "For Each over nested arrays"

Dim grid(1, 1), cell, count
grid(0, 0) = 1 : grid(1, 1) = 2
count = 0
For Each cell In grid
  count = count + 1
Next
AssertEqual count, 4, "For Each visits every element of a 2-D array"

Dim s
s = Array(3, 1, 2)
Dim i, j, t
For i = 0 To UBound(s) - 1
  For j = i + 1 To UBound(s)
    If s(j) < s(i) Then t = s(i) : s(i) = s(j) : s(j) = t
  Next
Next
AssertEqual Join(s, ","), "1,2,3", "sorting in place"

outer(1)(2) = 50
AssertEqual outer(1)(2), 50, "assigning into an inner array"
