' Locals shadow globals; undeclared names in a procedure are local.
Dim g
g = "global"
Sub UseLocal()
  Dim g
  g = "local"
End Sub
UseLocal
AssertEqual g, "global", "a local hides the global"

Sub SetGlobal()
  g = "changed"
End Sub
SetGlobal
AssertEqual g, "changed", "a procedure reaches the global"

Sub MakeImplicit()
  implicitLocal = 5
End Sub
MakeImplicit
AssertTrue IsEmpty(implicitLocal), "an undeclared name inside a procedure is local"

Private p
Public q
p = 1 : q = 2
AssertEqual p + q, 3, "Private and Public at script level"
