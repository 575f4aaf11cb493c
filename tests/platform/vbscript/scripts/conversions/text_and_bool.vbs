' CStr, CDbl, CBool, CSng, CCur and CDate.
AssertEqual CStr(1.5), "1.5", "CStr of a Double"
AssertEqual CStr(True), "True", "CStr of True"
AssertEqual CStr(False), "False", "CStr of False"
AssertEqual CStr(Empty), "", "CStr of Empty"
AssertEqual CStr(1 / 3), "0.333333333333333", "15 significant digits"
AssertEqual CStr(1E20), "1E+20", "large numbers use an exponent"
AssertEqual CStr(123456789012345678), "1.23456789012346E+17", "exponent with digits"
AssertEqual CStr(-0.5), "-0.5", "negative fraction"
AssertEqual CStr(100), "100", "integer"
AssertEqual CDbl("1,234.5"), 1234.5, "CDbl with grouping"
AssertEqual CDbl("1e3"), 1000, "CDbl with an exponent"
AssertEqual CDbl(" -2.5 "), -2.5, "CDbl with blanks"
AssertEqual VarType(CDbl(1)), vbDouble, "CDbl subtype"
AssertEqual VarType(CSng(1.1)), vbSingle, "CSng subtype"
AssertEqual CBool("True"), True, "CBool of ""True"""
AssertEqual CBool("false"), False, "CBool ignores case"
AssertEqual CBool(5), True, "non-zero is True"
AssertEqual CBool(0), False, "zero is False"
AssertEqual CBool("1"), True, "numeric text"
AssertEqual CCur(1.23456), 1.2346, "Currency keeps four decimals"
AssertEqual VarType(CCur(1)), vbCurrency, "CCur subtype"
AssertEqual CStr(CCur(1.5)), "1.5", "Currency as text"
AssertEqual CDate("2003-01-02"), #1/2/2003#, "CDate of ISO text"
AssertEqual CDate(37623), #1/2/2003#, "CDate of a serial number"
AssertEqual CDbl(#1/2/2003 12:00:00 PM#), 37623.5, "a date as a number"
On Error Resume Next
Dim x
x = CBool("yes")
AssertError 13, "CBool of other text"
x = CStr(Null)
AssertError 94, "CStr of Null"
x = CDate("not a date")
AssertError 13, "CDate of other text"
AssertEqual CDbl("5-"), -5, "a sign after the number"

' A conversion's Byte result cannot be dropped by a call statement.
Call CByte(1)
AssertError 458, "Call CByte as a statement"
x = CByte(1)
AssertError 0, "CByte in an expression"
Call CByte("")
AssertError 13, "invalid text fails as the conversion first"
x = CByte("")
AssertError 13, "CByte of empty text"
Call CInt(1)
AssertError 0, "other conversions may be called"
