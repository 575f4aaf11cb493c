' Comparison operators on numbers, strings, Empty and Null.
AssertTrue 1 < 2, "less"
AssertTrue 2 >= 2, "greater or equal"
AssertTrue 3 <> 4, "not equal"
AssertTrue "abc" < "abd", "strings compare by character"
AssertTrue "A" < "a", "binary comparison: upper case first"
AssertTrue Not ("abc" = "ABC"), "comparison is case-sensitive"
AssertTrue "abc" > "ab", "a longer string after its prefix"
AssertTrue 1.5 > 1, "mixed numeric subtypes"
AssertTrue #1/2/2003# > #1/1/2003#, "dates"
AssertTrue Empty = 0, "Empty equals zero"
AssertTrue Empty = "", "Empty equals the empty string"
AssertTrue IsNull(Null = Null), "Null compares to Null"
AssertTrue IsNull(1 < Null), "any comparison with Null"
Dim n, s
n = 10
s = "9"
AssertTrue CStr(n) < s, "as text 10 comes before 9"
AssertTrue n > CInt(s), "as numbers 10 is greater"
AssertEqual VarType(1 = 1), vbBoolean, "comparison result subtype"
AssertEqual (1 = 1), True, "True result"

' A Single beside a Double compares at the Single's precision.
Class SingleTenth
  Public Default Property Get Value
    Value = CSng(0.1)
  End Property
End Class
Dim tenth
Set tenth = New SingleTenth
AssertTrue CSng(0.001 * 0.001) = 0.000001, "a Single product equals the Double literal"
AssertTrue CSng(0.1) = 0.1, "CSng(0.1) = 0.1"
AssertTrue 0.1 = CSng(0.1), "either way round"
AssertEqual CSng(0.1) < 0.1, False, "nor less"
AssertEqual CSng(0.1) <> 0.1, False, "nor different"
AssertTrue tenth = 0.1, "through a default property"
AssertTrue CSng(0.1) < 0.2, "other values still order"
AssertEqual CDbl(CSng(0.1)) = 0.1, False, "as two Doubles they differ"
