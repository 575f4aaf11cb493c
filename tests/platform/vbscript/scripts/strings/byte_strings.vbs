' Byte strings of an odd length, as upload parsers build them: the B-functions count and
' return single bytes, and & joins bytes, as Windows' engine does.
AssertEqual LenB(ChrB(65)), 1, "one byte"
AssertEqual AscB(ChrB(200)), 200, "its value"
AssertEqual AscW(ChrB(104) & ChrB(105)), 26984, "two single bytes join into one unit"
AssertEqual LenB(ChrB(104) & ChrB(105)), 2, "and count two bytes"
AssertEqual ChrB(104) & ChrB(0), "h", "a byte pair is the unit it makes"
AssertEqual LenB(ChrB(1) & ChrB(2) & ChrB(3)), 3, "three bytes"
AssertEqual Len(ChrB(65)), 0, "Len counts whole characters only"
AssertEqual Len(ChrB(1) & ChrB(2) & ChrB(3)), 1, "three bytes are one character"
AssertEqual LenB("ab" & ChrB(1)), 5, "text and a byte"
AssertEqual AscB(RightB("ab" & ChrB(7), 1)), 7, "the last byte"
AssertEqual AscB(MidB(ChrB(7) & "a", 2, 1)), 97, "after an odd byte the text is shifted"

' MidB, LeftB and RightB hand back odd counts as they are.
Dim s
s = "abc"
AssertEqual LenB(MidB(s, 2, 3)), 3, "MidB of three bytes"
AssertEqual LenB(LeftB(s, 1)), 1, "LeftB of one byte"
AssertEqual LenB(RightB(s, 3)), 3, "RightB of three bytes"
AssertEqual LenB(MidB(s, 6)), 1, "MidB to the end from the last byte"
AssertEqual LeftB(s, 2), "a", "an even count is text"

' The classic loop: a byte string copied byte by byte keeps its length.
Dim raw, copy, i
raw = ChrB(71) & ChrB(73) & ChrB(70) & ChrB(56) & ChrB(57)
copy = ""
For i = 1 To LenB(raw)
  copy = copy & MidB(raw, i, 1)
Next
AssertEqual LenB(copy), 5, "copied byte by byte"
AssertEqual InStrB(copy, ChrB(70)), 3, "InStrB of one byte"
AssertEqual InStrB(1, copy, ChrB(56) & ChrB(57)), 4, "InStrB of two bytes at an odd place"
AssertEqual InStrB(copy, ChrB(99)), 0, "absent byte"
Dim text
text = ""
For i = 1 To LenB(raw)
  text = text & Chr(AscB(MidB(raw, i, 1)))
Next
AssertEqual text, "GIF89", "bytes turned into text"

' Null on either side of & is nothing, and the odd byte stays.
AssertEqual LenB(ChrB(9) & Null), 1, "Null after a byte"
AssertEqual LenB(Null & ChrB(9)), 1, "Null before a byte"
AssertEqual LenB(ChrB(49) & 2), 3, "a number's text after a byte"
AssertEqual LenB(ChrB(1) + ChrB(2)), 2, "+ of two byte strings joins them too"

On Error Resume Next
Dim b
b = AscB(LeftB(s, 0))
AssertError 5, "AscB of no bytes"
b = ChrB(256)
AssertError 5, "ChrB above 255"
