' Long chains of objects, arrays and dictionaries are released without exhausting the stack.
Class Node
  Public NextNode
End Class
Dim head, n, i
Set head = Nothing
For i = 1 To 200000
  Set n = New Node
  Set n.NextNode = head
  Set head = n
Next
Set n = Nothing
Set head = Nothing
AssertTrue head Is Nothing, "a list of 200,000 instances released"

Dim a
a = Array()
For i = 1 To 300000
  a = Array(a)
Next
a = Empty
AssertTrue IsEmpty(a), "300,000 nested arrays released"

Dim d, inner
Set d = CreateObject("Scripting.Dictionary")
For i = 1 To 300000
  Set inner = CreateObject("Scripting.Dictionary")
  inner.Add "next", d
  Set d = inner
Next
Set inner = Nothing
Set d = Nothing
AssertTrue d Is Nothing, "300,000 chained dictionaries released"

Dim terminated
terminated = 0
Class Counted
  Public NextNode
  Private Sub Class_Terminate()
    terminated = terminated + 1
  End Sub
End Class
Set head = Nothing
For i = 1 To 1000
  Set n = New Counted
  Set n.NextNode = head
  Set head = n
Next
Set n = Nothing
Set head = Nothing
AssertEqual terminated, 1000, "each instance still terminates once"

On Error Resume Next
ReDim big(2147483647)
AssertError 7, "an upper bound of 2^31-1 is out of memory, not an overflow"
ReDim neg(-2)
AssertError 9, "below -1 is out of range"
