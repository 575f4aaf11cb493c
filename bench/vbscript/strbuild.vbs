' Builds a string from n ten-character pieces (n from the first argument) through a string
' builder class.
Class StringBuilder
  Private buffer()
  Private count
  Private Sub Class_Initialize()
    ReDim buffer(1023)
    count = 0
  End Sub
  Public Sub Append(text)
    If count > UBound(buffer) Then ReDim Preserve buffer(UBound(buffer) * 2 + 1)
    buffer(count) = text
    count = count + 1
  End Sub
  Public Function ToString()
    ReDim Preserve buffer(count - 1)
    ToString = Join(buffer, "")
  End Function
End Class

Dim n, sb, i
n = 500000
If WScript.Arguments.Count > 0 Then n = CLng(WScript.Arguments(0))
Set sb = New StringBuilder
For i = 1 To n
  sb.Append "abcdefghij"
Next
WScript.Echo Len(sb.ToString())
