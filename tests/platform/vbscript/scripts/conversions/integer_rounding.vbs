' CInt, CLng and CByte round half to even and check their range.
AssertEqual CInt(2.5), 2, "half to even, down"
AssertEqual CInt(3.5), 4, "half to even, up"
AssertEqual CInt(-2.5), -2, "negative half"
AssertEqual CInt(-3.5), -4, "negative half up"
AssertEqual CInt(2.51), 3, "above half"
AssertEqual VarType(CInt(1)), vbInteger, "CInt subtype"
AssertEqual CLng(2.5), 2, "CLng rounds half to even"
AssertEqual VarType(CLng(1)), vbLong, "CLng subtype"
AssertEqual CByte(3.5), 4, "CByte rounds"
AssertEqual VarType(CByte(1)), vbByte, "CByte subtype"
AssertEqual CInt("  12 "), 12, "text with blanks"
AssertEqual CInt("1e2"), 100, "text with an exponent"
AssertEqual CInt("&H10"), 16, "hex text"
AssertEqual CInt(True), -1, "True"
AssertEqual CInt(Empty), 0, "Empty"
AssertEqual CLng("-2147483648"), -2147483648, "smallest Long"
On Error Resume Next
Dim x
x = CInt(32767.5)
AssertError 6, "rounds past Integer"
x = CInt(-32769)
AssertError 6, "below Integer"
x = CLng("2147483648")
AssertError 6, "past Long"
x = CByte(-1)
AssertError 6, "negative Byte"
x = CInt("abc")
AssertError 13, "text that is no number"
x = CInt(Null)
AssertError 94, "Null"
x = CLng("")
AssertError 13, "empty text"
