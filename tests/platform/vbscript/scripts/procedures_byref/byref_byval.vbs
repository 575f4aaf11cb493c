' Arguments are ByRef unless declared ByVal; parentheses and expressions pass copies.
Sub AddOne(x)
  x = x + 1
End Sub
Sub AddOneByVal(ByVal x)
  x = x + 1
End Sub
Sub AddOneExplicit(ByRef x)
  x = x + 1
End Sub

Dim a
a = 1
AddOne a
AssertEqual a, 2, "ByRef by default"
AddOne (a)
AssertEqual a, 2, "parentheses around the argument pass a copy"
Call AddOne(a)
AssertEqual a, 3, "Call passes the variable"
AddOneByVal a
AssertEqual a, 3, "ByVal"
AddOneExplicit a
AssertEqual a, 4, "explicit ByRef"
AddOne a + 0
AssertEqual a, 4, "an expression is a copy"

Dim arr(2)
arr(1) = 10
AddOne arr(1)
AssertEqual arr(1), 11, "array element by reference"

Sub Swap(p, q)
  Dim t
  t = p : p = q : q = t
End Sub
Dim s1, s2
s1 = "x" : s2 = "y"
Swap s1, s2
AssertEqual s1 & s2, "yx", "swap through two references"

Function Bump(n)
  n = n * 2
  Bump = n
End Function
Dim v
v = 5
AssertEqual Bump(v), 10, "function result"
AssertEqual v, 10, "function arguments are ByRef too"
