' 200,000 dictionary inserts, then 200,000 lookups.
Dim d, i, total
Set d = CreateObject("Scripting.Dictionary")
For i = 1 To 200000
  d.Add "key" & i, i
Next
total = 0
For i = 1 To 200000
  total = total + d.Item("key" & i)
Next
WScript.Echo d.Count & " " & total
