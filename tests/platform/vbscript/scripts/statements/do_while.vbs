' Do...Loop in its four forms, Exit Do, and While...Wend.
Dim n
n = 0
Do While n < 5
  n = n + 1
Loop
AssertEqual n, 5, "Do While"

n = 0
Do Until n >= 3
  n = n + 1
Loop
AssertEqual n, 3, "Do Until"

n = 10
Do
  n = n + 1
Loop While n < 5
AssertEqual n, 11, "Loop While runs the body once"

n = 0
Do
  n = n + 2
Loop Until n > 7
AssertEqual n, 8, "Loop Until"

n = 0
Do
  n = n + 1
  If n = 4 Then Exit Do
Loop
AssertEqual n, 4, "Exit Do"

n = 0
While n < 3
  n = n + 1
Wend
AssertEqual n, 3, "While...Wend"

Dim outer, inner
outer = 0
Do While outer < 3
  outer = outer + 1
  inner = 0
  Do
    inner = inner + 1
    If inner = 2 Then Exit Do
  Loop
Loop
AssertEqual outer * 10 + inner, 32, "Exit Do leaves the inner loop only"
