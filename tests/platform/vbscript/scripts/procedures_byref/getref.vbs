' GetRef hands out a procedure as an object that can be called later.
Function Twice(n)
  Twice = n * 2
End Function
Dim log
Sub Note(s)
  log = log & s
End Sub
Dim f, g
Set f = GetRef("Twice")
AssertTrue IsObject(f), "GetRef gives an object"
AssertEqual f(21), 42, "calling through the reference"
Set g = GetRef("note")
g "a"
g "b"
AssertEqual log, "ab", "a Sub through a reference, by any case"
On Error Resume Next
Set f = GetRef("NoSuchProcedure")
AssertError 5, "GetRef of an unknown name"
