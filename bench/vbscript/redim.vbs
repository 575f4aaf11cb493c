' Allocates one array of n elements (n from the first argument) and releases it at the end.
Dim n, buf
n = 5000000
If WScript.Arguments.Count > 0 Then n = CLng(WScript.Arguments(0))
ReDim buf(n - 1)
WScript.Echo UBound(buf) + 1
