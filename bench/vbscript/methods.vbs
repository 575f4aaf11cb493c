' One million method calls on a class instance.
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

Dim acc, i
Set acc = New Accumulator
For i = 1 To 1000000
  acc.Add i
Next
WScript.Echo acc.Value
