' For...Next and For Each...Next.
Dim i, total
total = 0
For i = 1 To 5
  total = total + i
Next
AssertEqual total, 15, "sum 1 to 5"
AssertEqual i, 6, "counter after the loop"

total = ""
For i = 10 To 1 Step -3
  total = total & i & ","
Next
AssertEqual total, "10,7,4,1,", "negative step"

total = 0
For i = 0 To 1 Step 0.25
  total = total + 1
Next
AssertEqual total, 5, "fractional step"

total = 0
For i = 5 To 1
  total = total + 1
Next
AssertEqual total, 0, "empty range runs no iteration"

For i = 1 To 100
  If i = 7 Then Exit For
Next
AssertEqual i, 7, "Exit For keeps the counter"

Dim limit
limit = 3
total = 0
For i = 1 To limit
  limit = 10
  total = total + 1
Next
AssertEqual total, 3, "the end value is taken once"

Dim item, joined
joined = ""
For Each item In Array("a", "b", "c")
  joined = joined & item
Next
AssertEqual joined, "abc", "For Each over an array"

Dim j, pairs
pairs = 0
For i = 1 To 3
  For j = i To 3
    pairs = pairs + 1
  Next
Next
AssertEqual pairs, 6, "nested loops"

Dim textCount
textCount = 0
For i = "1" To "3"
  textCount = textCount + 1
Next
AssertEqual textCount, 3, "text bounds are read as numbers"
