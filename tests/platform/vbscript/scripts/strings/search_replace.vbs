' InStr, InStrRev, Replace and StrComp.
AssertEqual InStr("hello", "l"), 3, "InStr"
AssertEqual InStr(4, "hello", "l"), 4, "InStr with a start"
AssertEqual InStr("hello", "z"), 0, "not found"
AssertEqual InStr(1, "HELLO", "l", vbTextCompare), 3, "text comparison"
AssertEqual InStr("HELLO", "l"), 0, "binary comparison by default"
AssertEqual InStr("abc", ""), 1, "empty search string"
AssertEqual InStr("", "a"), 0, "empty string searched"
AssertEqual InStr(5, "abc", "c"), 0, "start past the end"
AssertTrue IsNull(InStr(Null, "a")), "InStr of Null"
AssertEqual InStrRev("hello", "l"), 4, "InStrRev"
AssertEqual InStrRev("hello", "l", 3), 3, "InStrRev with a start"
AssertEqual InStrRev("hello", "x"), 0, "InStrRev not found"

AssertEqual Replace("aaa", "a", "b"), "bbb", "Replace all"
AssertEqual Replace("abcabc", "b", "x", 1, 1), "axcabc", "Replace once"
AssertEqual Replace("abcabc", "b", "x", 3), "caxc", "Replace returns the text from start"
AssertEqual Replace("ABab", "a", "-", 1, -1, vbTextCompare), "-B-b", "Replace with text comparison"
AssertEqual Replace("abc", "", "x"), "abc", "empty find"
AssertEqual Replace("abc", "b", ""), "ac", "replace with nothing"

AssertEqual StrComp("a", "b"), -1, "StrComp less"
AssertEqual StrComp("b", "a"), 1, "StrComp greater"
AssertEqual StrComp("abc", "ABC"), 1, "StrComp binary"
AssertEqual StrComp("abc", "ABC", vbTextCompare), 0, "StrComp text"
AssertTrue IsNull(StrComp(Null, "a")), "StrComp of Null"

On Error Resume Next
Dim x
x = InStr(0, "abc", "a")
AssertError 5, "InStr start 0"

' Null arguments the functions refuse before anything else.
x = InStrRev("abc", Null)
AssertError 94, "InStrRev of Null text to find"
x = InStrRev("abc", Null, 0)
AssertError 94, "Null text to find is refused before the start"
x = Replace(Null, "a", "b")
AssertError 94, "Replace in Null"
x = Replace("abc", Null, "b")
AssertError 94, "Replace of Null"
x = Replace("abc", "a", Null)
AssertError 94, "Replace with Null"
x = Replace("abc", "a", "b", Null)
AssertError 94, "Null start of Replace"
x = Replace("abc", "a", "b", 1, Null)
AssertError 94, "Null count of Replace"
x = Replace("abc", "a", "b", 1, -1, Null)
AssertError 94, "Null compare mode of Replace"
x = Replace("abc", "a", "b", 0, -1, Null)
AssertError 94, "Null is refused before a bad start"
x = Replace("abc", "a", "b", 1, -1, 8)
AssertError 5, "an unknown compare mode"
