Option Explicit
' With Option Explicit an undeclared name is an error when it runs.
Dim declared
declared = 1
AssertEqual declared, 1, "declared variable"
On Error Resume Next
undeclared = 2
AssertError 500, "assigning an undeclared variable"
declared = undeclaredToo + 1
AssertError 500, "reading an undeclared variable"
