' Builds a 5 MB string from 500,000 ten-character pieces through a string builder class.
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

Dim sb, i
Set sb = New StringBuilder
For i = 1 To 500000
  sb.Append "abcdefghij"
Next
WScript.Echo Len(sb.ToString())
