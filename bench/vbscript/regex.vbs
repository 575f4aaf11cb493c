' Replaces every number in a 1 MB text.
Dim parts(), i, text, re
ReDim parts(20971)
For i = 0 To 20971
  parts(i) = "The quick brown fox 123 jumps over 45 lazy dogs. "
Next
text = Join(parts, "")
Set re = New RegExp
re.Pattern = "\d+"
re.Global = True
WScript.Echo Len(re.Replace(text, "#"))
