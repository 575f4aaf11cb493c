' n method calls on a class instance (n from the first argument).
Class Accumulator
  Private total
  Private Sub Class_Initialize()
    total = 0
  End Sub
  Public Sub Add(n)
    total = total + n
  End Sub
  Public Property Get Value()
    Value = total
  End Property
End Class

Dim n, acc, i
n = 1000000
If WScript.Arguments.Count > 0 Then n = CLng(WScript.Arguments(0))
Set acc = New Accumulator
For i = 1 To n
  acc.Add i
Next
WScript.Echo acc.Value
