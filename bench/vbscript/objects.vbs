' Creates and drops short-lived class instances (count from the first argument, default
' one million); peak memory must not grow with the count.
Class Point
  Public X, Y
  Public Function Sum()
    Sum = X + Y
  End Function
End Class

Dim n, i, p, total
n = 1000000
If WScript.Arguments.Count > 0 Then n = CLng(WScript.Arguments(0))
total = 0
For i = 1 To n
  Set p = New Point
  p.X = i
  p.Y = 1
  total = total + p.Sum()
Next
WScript.Echo total
