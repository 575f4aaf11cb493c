' Len, Left, Right, Mid and the Mid statement.
AssertEqual Len("hello"), 5, "Len"
AssertEqual Len(""), 0, "Len of the empty string"
AssertEqual Len(12345), 5, "Len of a number's text"
AssertTrue IsNull(Len(Null)), "Len of Null"
AssertEqual Left("hello", 2), "he", "Left"
AssertEqual Left("hi", 10), "hi", "Left past the end"
AssertEqual Right("hello", 3), "llo", "Right"
AssertEqual Right("hello", 0), "", "Right of zero"
AssertEqual Mid("hello", 2, 3), "ell", "Mid with a length"
AssertEqual Mid("hello", 4), "lo", "Mid to the end"
AssertEqual Mid("hello", 10), "", "Mid past the end"
AssertEqual Mid("hello", 3, 100), "llo", "Mid length past the end"
AssertTrue IsNull(Left(Null, 1)), "Left of Null"
On Error Resume Next
Dim x
x = Mid("abc", 0)
AssertError 5, "Mid start 0"
x = Left("abc", -1)
AssertError 5, "negative length"
x = Mid("test", 0, Null)
AssertError 94, "a Null length of Mid is refused before the start is checked"
x = Mid("test", 0, -1)
AssertError 5, "a bad start and a bad length"
x = Mid(Null, -1, -1)
AssertError 5, "a bad start of Mid in Null"
x = Mid("test", 1, Null)
AssertError 94, "a Null length of Mid"
