' Split, Join, Filter, IsArray and Erase on dynamic arrays.
Dim parts
parts = Split("a,b,,c", ",")
AssertEqual UBound(parts), 3, "Split keeps empty fields"
AssertEqual parts(2), "", "the empty field"
AssertEqual Join(parts, "|"), "a|b||c", "Join with a separator"
AssertEqual Join(Array("x", "y")), "x y", "Join's default separator is a space"
AssertEqual Join(Array(1, 2, 3), ""), "123", "Join of numbers"
parts = Split("one two")
AssertEqual parts(1), "two", "Split's default separator is a space"
parts = Split("a,b,c", ",", 2)
AssertEqual UBound(parts), 1, "Split with a limit"
AssertEqual parts(1), "b,c", "the rest stays in the last piece"
parts = Split("")
AssertEqual UBound(parts), -1, "Split of the empty string"
parts = Split("aXbxc", "x", -1, vbTextCompare)
AssertEqual UBound(parts), 2, "Split with text comparison"

Dim f
f = Filter(Array("apple", "banana", "cherry"), "an")
AssertEqual Join(f, ","), "banana", "Filter keeps matches"
f = Filter(Array("apple", "banana", "cherry"), "an", False)
AssertEqual Join(f, ","), "apple,cherry", "Filter excluding matches"
f = Filter(Array("A", "a"), "a", True, vbTextCompare)
AssertEqual UBound(f), 1, "Filter with text comparison"

Dim dyn()
ReDim dyn(3)
Erase dyn
AssertTrue IsArray(dyn), "an erased dynamic array is still an array"
On Error Resume Next
Dim u
u = UBound(dyn)
AssertError 9, "an erased dynamic array has no bounds"

' Booleans and Empty join as their text, beside strings and numbers.
Dim mixed(3)
mixed(0) = "a"
mixed(1) = True
mixed(3) = 7
AssertEqual Join(mixed, "-"), "a-True--7", "Join of text, a Boolean, Empty and a number"
AssertEqual Join(Array(False, Empty), ""), "False", "Join of a Boolean and Empty"
