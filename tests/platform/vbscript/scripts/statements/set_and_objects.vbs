' Set assigns references; Let of an object without a default member fails.
Class Counter
  Public Value
End Class
Dim a, b
Set a = New Counter
Set b = a
b.Value = 5
AssertEqual a.Value, 5, "two names, one object"
Set b = New Counter
b.Value = 6
AssertEqual a.Value, 5, "Set of a new object leaves the first"
On Error Resume Next
Dim plain
plain = New Counter
AssertTrue Err.Number <> 0, "assigning an object needs Set"
Err.Clear
Dim n
Set n = 5
AssertError 424, "Set needs an object"
