' Calls as statements and as expressions through every kind of call site: the arguments each
' shape of argument passes, what a call leaves behind, and when the objects it drops go.
Dim log
Class Noisy
  Public tag
  Private Sub Class_Terminate()
    log = log & "term " & tag & ";"
  End Sub
End Class
Function MakeNoisy(tag)
  Set MakeNoisy = New Noisy
  MakeNoisy.tag = tag
End Function

Class Worker
  Public seen
  Public Sub Change(x)
    x = x & "!"
    seen = seen & x & ","
  End Sub
  Public Sub ChangeByVal(ByVal x)
    x = x & "?"
    seen = seen & x & ","
  End Sub
  Public Sub Grow(ByVal a)
    ReDim Preserve a(4)
    seen = seen & UBound(a) & ","
  End Sub
  Public Sub Optional2(a, b)
    seen = seen & VarType(a) & "/" & VarType(b) & ","
  End Sub
  Public Function Made(tag)
    Dim local
    Set local = MakeNoisy("local " & tag)
    Set Made = MakeNoisy("result " & tag)
    log = log & "return " & tag & ";"
  End Function
  Public Sub Inner(n)
    Change n
    ChangeByVal n
  End Sub
  Public Sub Fail(x)
    Dim held
    Set held = MakeNoisy("held")
    x = "changed"
    Err.Raise 5
  End Sub
End Class

' A literal passed to a ByRef parameter is the callee's own copy: the next call sees the literal.
Dim w, i, v, arr(2), fixedArr(2)
Set w = New Worker
For i = 1 To 3
  w.Change "lit"
Next
AssertEqual w.seen, "lit!,lit!,lit!,", "a literal argument stays the literal"
w.seen = ""
v = "var"
w.Change v
w.ChangeByVal v
AssertEqual v, "var!", "ByRef changes the variable, ByVal does not"
AssertEqual w.seen, "var!,var!?,", "both saw their argument"
arr(1) = "el"
w.Change arr(1)
w.ChangeByVal arr(1)
AssertEqual arr(1), "el!", "an element passed ByRef is stored back, ByVal is not"
w.Change v & ""
AssertEqual v, "var!", "an expression is a copy"
w.Grow fixedArr
AssertEqual UBound(fixedArr), 2, "a fixed array passed ByVal is the callee's to resize"
w.seen = ""
w.Optional2 , 1
w.Optional2 v,
AssertEqual w.seen, "10/2,8/10,", "left-out arguments arrive as missing"

' Inside the class: calls without "Me." pass the caller's parameter on by reference.
w.seen = ""
v = "in"
w.Inner v
AssertEqual v, "in!", "a parameter passed on by reference"
AssertEqual w.seen, "in!,in!?,", "both inner calls ran"

' A function called as a statement: its locals go when it returns, its result after the call.
log = ""
w.Made "a"
AssertEqual log, "return a;term local a;term result a;", "a method's dropped result"
log = ""
Call w.Made("b")
AssertEqual log, "return b;term local b;term result b;", "through Call"

Function GlobalMade(tag)
  Dim local
  Set local = MakeNoisy("local " & tag)
  Set GlobalMade = MakeNoisy("result " & tag)
End Function
log = ""
GlobalMade "c"
AssertEqual log, "term local c;term result c;", "a procedure's dropped result"

Sub GlobalChange(x)
  x = x + 1
End Sub
Dim n
n = 1
For i = 1 To 3
  GlobalChange n
Next
AssertEqual n, 4, "a procedure statement with a variable"
GlobalChange 5
GlobalChange arr(0)
AssertEqual arr(0), 1, "an element through a procedure statement"

' An error in the callee: its locals go before the caller handles it; ByRef changes stay.
On Error Resume Next
log = ""
v = "before"
w.Fail v
AssertError 5, "the error reaches the caller"
AssertEqual log, "term held;", "the callee's locals went"
AssertEqual v, "changed", "the change made before the error stays"
' An argument that fails: the call does not happen, whatever the arguments before it were.
w.seen = ""
w.Optional2 "text " & v, 1 / 0
AssertError 11, "the second argument fails"
w.Optional2 v, 1 / 0
AssertError 11, "after a variable passed by reference"
x = w.Made(1 / 0)
AssertError 11, "a function's only argument"
GlobalChange arr(7)
AssertError 9, "an element out of range"
AssertEqual w.seen, "", "no call ran"
On Error GoTo 0

' The object a method runs on outlives a call that drops the variable's reference.
Class SelfDropper
  Private Sub Class_Terminate()
    log = log & "term dropper;"
  End Sub
  Public Sub Drop()
    Set dropper = Nothing
    log = log & "dropped;"
  End Sub
  Public Function DropAndReturn()
    Set dropper = Nothing
    log = log & "dropped;"
    DropAndReturn = 1
  End Function
End Class
Dim dropper
log = ""
Set dropper = New SelfDropper
dropper.Drop
AssertEqual log, "dropped;term dropper;", "terminated once the call returned"
log = ""
Set dropper = New SelfDropper
dropper.DropAndReturn
AssertEqual log, "dropped;term dropper;", "the same for a function as a statement"

' Module-level names passed by reference: a variable itself, a name used before any Dim (it
' becomes a variable), a constant as a copy.
Const Three = 3
Dim g
g = 1
For i = 1 To 3
  GlobalChange g
Next
AssertEqual g, 4, "a module-level variable"
GlobalChange notDeclaredYet
AssertEqual notDeclaredYet, 1, "a name no Dim declared becomes the variable"
w.Change alsoNotDeclared
AssertEqual alsoNotDeclared, "!", "the same through a method"
GlobalChange Three
AssertEqual Three, 3, "a constant is a copy"
