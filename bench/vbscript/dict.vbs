' n dictionary inserts, then n lookups (n from the first argument).
Dim n, d, i, total
n = 200000
If WScript.Arguments.Count > 0 Then n = CLng(WScript.Arguments(0))
Set d = CreateObject("Scripting.Dictionary")
For i = 1 To n
  d.Add "key" & i, i
Next
total = 0
For i = 1 To n
  total = total + d.Item("key" & i)
Next
WScript.Echo d.Count & " " & total
