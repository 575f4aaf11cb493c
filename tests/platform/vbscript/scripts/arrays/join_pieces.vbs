' Join with no separator, as a string builder joins its pieces: pieces of every length, other
' values among them, and a result of many megabytes.
Dim pieces(20), i, expected
expected = ""
For i = 0 To 20
  pieces(i) = String(i, Chr(65 + i))
  expected = expected & pieces(i)
Next
AssertEqual Join(pieces, ""), expected, "pieces of 0 to 20 characters"
AssertEqual Len(Join(pieces, "")), 210, "their length"
AssertEqual Join(Array("ab", 12, True, Empty, "", -3, "cd"), ""), "ab12True-3cd", _
  "text, numbers, a Boolean and Empty"
AssertEqual Join(Array(), ""), "", "no pieces"
AssertEqual Join(Array(ChrW(&H20AC) & "x"), ""), ChrW(&H20AC) & "x", "a piece beyond ASCII"

' 5,000,000 characters, more than the size from which the text takes pages of its own.
Dim big(999), joined
For i = 0 To 999
  big(i) = String(4999, "x") & Chr(48 + i Mod 10)
Next
joined = Join(big, "")
AssertEqual Len(joined), 5000000, "a text of many megabytes"
AssertEqual Mid(joined, 5000, 1), "0", "the first piece's last character"
AssertEqual Mid(joined, 5000000, 1), "9", "the last piece's last character"
AssertEqual Mid(joined, 2500001, 5), "xxxxx", "a piece's first characters"
AssertEqual Len(Join(big, "-")), 5000999, "the same pieces with a separator"

' A string builder's buffer of a million elements (storage of its own mapping), grown by
' doubling, cut back to the pieces written and joined.
Dim buffer(), count
ReDim buffer(1023)
count = 0
For i = 0 To 999999
  If count > UBound(buffer) Then ReDim Preserve buffer(UBound(buffer) * 2 + 1)
  buffer(count) = Chr(65 + i Mod 26)
  count = count + 1
Next
ReDim Preserve buffer(count - 1)
joined = Join(buffer, "")
AssertEqual Len(joined), 1000000, "a builder's million pieces"
AssertEqual Left(joined, 27), "ABCDEFGHIJKLMNOPQRSTUVWXYZA", "its first pieces"
AssertEqual Right(joined, 2), Chr(65 + 999998 Mod 26) & Chr(65 + 999999 Mod 26), "its last pieces"
AssertEqual Len(Join(buffer, ",")), 1999999, "the same pieces with a separator"
