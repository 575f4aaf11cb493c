' RegExp.Replace with group references.
Dim re
Set re = New RegExp
re.Pattern = "(\w+)@(\w+)"
AssertEqual re.Replace("joe@site", "$2 at $1"), "site at joe", "group references"
re.Pattern = "a"
AssertEqual re.Replace("aaa", "b"), "baa", "first match only"
re.Global = True
AssertEqual re.Replace("aaa", "b"), "bbb", "every match"
re.Pattern = "\s+"
AssertEqual re.Replace("a   b" & vbTab & " c", " "), "a b c", "collapse white space"
re.Pattern = "[aeiou]"
re.IgnoreCase = True
AssertEqual re.Replace("VBScript", "*"), "VBScr*pt", "character class with IgnoreCase"
re.Pattern = "(\d{4})-(\d{2})-(\d{2})"
AssertEqual re.Replace("2024-03-09", "$3/$2/$1"), "09/03/2024", "reorder a date"
re.Pattern = "x"
AssertEqual re.Replace("abc", "y"), "abc", "no match leaves the text"

On Error Resume Next
re.Pattern = "(unclosed"
Dim r
r = re.Test("x")
AssertError 5020, "unbalanced parenthesis"
