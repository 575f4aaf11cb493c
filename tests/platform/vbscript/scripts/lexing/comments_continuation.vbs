' Comments, Rem, line continuation and statement separators.
Rem a whole-line remark
Dim a, b : a = 1 : b = 2 ' a trailing comment
AssertEqual a + b, 3, "colon-separated statements"

Dim total
total = 1 + _
        2 + _
        3
AssertEqual total, 6, "line continuation"

Dim s
s = "it's ' not a comment"
AssertEqual Len(s), 20, "apostrophe inside a string"

a = 5 : Rem Rem after a colon
AssertEqual a, 5, "Rem after a colon"

Dim longCall
longCall = Mid("abcdef", _
  2, _
  3)
AssertEqual longCall, "bcd", "continuation inside an argument list"
