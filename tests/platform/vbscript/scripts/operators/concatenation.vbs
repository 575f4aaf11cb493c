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
