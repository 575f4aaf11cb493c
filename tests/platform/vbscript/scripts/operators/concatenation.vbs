' & always concatenates; + adds numbers and joins only two strings.
AssertEqual "a" & "b", "ab", "strings"
AssertEqual "1" & 2, "12", "number converted"
AssertEqual 1 & 2, "12", "two numbers"
AssertEqual "a" & Null, "a", "Null is empty text to &"
AssertEqual VarType(Empty & Empty), vbString, "Empty & Empty"
AssertTrue IsNull(Null & Null), "Null & Null"
AssertEqual "a" + "b", "ab", "+ on two strings"
AssertEqual "1" + 2, 3, "+ with a number adds"
AssertEqual 1.5 & "", "1.5", "Double as text"
AssertEqual True & "", "True", "Boolean as text"
On Error Resume Next
Dim x
x = "a" + 1
AssertError 13, "+ with a non-numeric string"
On Error GoTo 0

' Chains of & give what the nested & gives, operand by operand.
Dim trail
Function Mark(v)
  trail = trail & v
  Mark = v
End Function
AssertEqual "a" & 1 & "b" & CInt(-2) & CLng(-2147483647) - 1, "a1b-2-2147483648", "text and numbers"
AssertEqual 1 & Null & 2, "12", "Null within a chain"
AssertEqual Null & "a" & Null, "a", "Null around text"
AssertTrue IsNull(Null & Null & Null), "a chain of Nulls"
AssertEqual "x" & Empty & 1.5 & True & "y", "x1.5Truey", "other kinds within a chain"
AssertEqual 5 & Null & Null, "5", "a number before Nulls"
AssertEqual "1" & "2" & "3" & "4" & "5" & "6" & "7" & "8" & "9" & "10" & "11", "1234567891011", "a long chain"
AssertEqual LenB(ChrB(65) & ChrB(66) & "x"), 4, "bytes first, then text"
AssertEqual LenB("x" & ChrB(65) & ChrB(66)), 4, "text first, then bytes"
trail = ""
AssertEqual Mark("a") & Mark(1) & Mark("c"), "a1c", "each operand once"
AssertEqual trail, "a1c", "operands run left to right"
On Error Resume Next
trail = ""
x = Mark("a") & Array(1) & Mark("b")
AssertError 13, "an array within a chain"
AssertEqual trail, "a", "operands after the failing & do not run"
trail = ""
x = Array(1) & Mark("b") & Mark("c")
AssertError 13, "an array first in a chain"
AssertEqual trail, "b", "the operand beside the array runs, the next does not"
On Error GoTo 0
