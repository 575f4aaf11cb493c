' Character codes.
AssertEqual Chr(65), "A", "Chr"
AssertEqual Asc("A"), 65, "Asc"
AssertEqual Asc("abc"), 97, "Asc takes the first character"
AssertEqual AscW(ChrW(8364)), 8364, "ChrW and AscW"
AssertEqual ChrW(955), ChrW(&H3BB), "ChrW with a hex code"
AssertEqual Len(ChrW(8364)), 1, "one UTF-16 unit"
AssertEqual Chr(9), vbTab, "Chr(9)"
AssertEqual Asc(Chr(200)), 200, "Chr and Asc round-trip in the ANSI range"
On Error Resume Next
Dim x
x = Asc("")
AssertError 5, "Asc of the empty string"
x = Chr(-1)
AssertError 5, "Chr of a negative code"
