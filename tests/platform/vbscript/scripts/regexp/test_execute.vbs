' RegExp.Test and Execute with Matches and SubMatches.
Dim re, ms, m
Set re = New RegExp
re.Pattern = "(\d+)-(\d+)"
AssertTrue re.Test("ab 12-34"), "Test finds a match"
AssertTrue Not re.Test("ab 12 34"), "Test without a match"
Set ms = re.Execute("ab 12-34 56-78")
AssertEqual ms.Count, 1, "Global off: first match only"
re.Global = True
Set ms = re.Execute("ab 12-34 56-78")
AssertEqual ms.Count, 2, "Global on: every match"
Set m = ms(0)
AssertEqual m.Value, "12-34", "match value"
AssertEqual m.FirstIndex, 3, "FirstIndex is 0-based"
AssertEqual m.Length, 5, "match length"
AssertEqual CStr(ms(1)), "56-78", "Value is the default member"
AssertEqual ms(1).SubMatches.Count, 2, "SubMatches count"
AssertEqual ms(1).SubMatches(0), "56", "first group"
AssertEqual ms.Item(1).SubMatches(1), "78", "second group"
Dim n
n = 0
For Each m In ms
  n = n + m.Length
Next
AssertEqual n, 10, "For Each over Matches"

re.Pattern = "abc"
re.IgnoreCase = False
AssertTrue Not re.Test("ABC"), "case-sensitive by default"
re.IgnoreCase = True
AssertTrue re.Test("ABC"), "IgnoreCase"

re.Pattern = "^b"
re.MultiLine = False
AssertTrue Not re.Test("a" & vbLf & "b"), "^ matches at the start only"
re.MultiLine = True
AssertTrue re.Test("a" & vbLf & "b"), "MultiLine lets ^ match after a line break"

re.Pattern = "x(y)?"
re.Global = False
Set ms = re.Execute("x")
AssertTrue IsEmpty(ms(0).SubMatches(0)), "an unmatched group is Empty"
