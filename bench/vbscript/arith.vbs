' Arithmetic loop: n iterations of integer arithmetic (n from the first argument).
Dim n, i, s
n = 10000000
If WScript.Arguments.Count > 0 Then n = CLng(WScript.Arguments(0))
s = 0
For i = 1 To n
  s = (s + i * 3) Mod 1000003
Next
WScript.Echo s
