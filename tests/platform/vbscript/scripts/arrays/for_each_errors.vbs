' For Each needs an array or a collection; changing the loop variable does not change the array.
Dim a, x
a = Array(1, 2, 3)
For Each x In a
  x = x * 10
Next
AssertEqual Join(a, ","), "1,2,3", "the loop variable is a copy"
Dim n
n = 0
For Each x In Array()
  n = n + 1
Next
AssertEqual n, 0, "an empty array runs no iteration"
On Error Resume Next
For Each x In 5
  n = n + 1
Next
AssertError 451, "a number is not a collection"
For Each x In Nothing
Next
AssertTrue Err.Number <> 0, "Nothing is not a collection"
Err.Clear
