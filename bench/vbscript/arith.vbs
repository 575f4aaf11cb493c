' Arithmetic loop: ten million iterations of integer arithmetic.
Dim i, s
s = 0
For i = 1 To 10000000
  s = (s + i * 3) Mod 1000003
Next
WScript.Echo s
