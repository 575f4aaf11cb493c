' Replaces every number in a text of n fifty-character sentences (n from the first argument).
Dim n, parts(), i, text, re
n = 20972
If WScript.Arguments.Count > 0 Then n = CLng(WScript.Arguments(0))
ReDim parts(n - 1)
For i = 0 To n - 1
  parts(i) = "The quick brown fox 123 jumps over 45 lazy dogs. "
Next
text = Join(parts, "")
Set re = New RegExp
re.Pattern = "\d+"
re.Global = True
WScript.Echo Len(re.Replace(text, "#"))
