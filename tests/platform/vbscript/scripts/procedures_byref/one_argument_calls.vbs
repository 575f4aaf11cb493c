' Calls of one argument, the commonest: a member Sub called as a statement on an object held by
' a local, a parameter, a field or a module-level variable, and a module-level procedure. Each
' site is reached with what its short way cannot take, and must then behave as any call does.
Dim log

Class Putter
  Public Sub Put(x)
    log = log & "put " & x & ";"
    x = x & "+"
  End Sub
End Class

Class OtherPutter
  Public Sub Put(x)
    log = log & "other " & x & ";"
  End Sub
End Class

Class FunctionPutter
  Public Function Put(x)
    log = log & "function " & x & ";"
    Put = 1
  End Function
End Class

Class WideSub
  ' More slots than a frame keeps on the stack: each call still starts with them Empty.
  Public Sub Put(x)
    Dim a, b, c, d, e, f, g, h
    log = log & "wide " & x & IsEmpty(a) & IsEmpty(h) & ";"
    a = 1 : h = 2
    x = x & "+"
  End Sub
End Class

Dim objects(5)
Set objects(0) = New Putter
Set objects(1) = New OtherPutter
Set objects(2) = New FunctionPutter
Set objects(3) = New WideSub
Set objects(4) = CreateObject("Scripting.Dictionary")
objects(4).Add "k", 1
Set objects(5) = Nothing
Dim kPassOrder, kExpected
kPassOrder = "0 0 1 2 3 3 0 4 5 0"
kExpected = "0:0=put c;|0:0=put c;|1:0=other c;|2:0=function c;|3:0=wide cTrueTrue;|" & _
  "3:0=wide cTrueTrue;|0:0=put c;|4:438=|5:424=|0:0=put c;|"

' The same statement with the object read from each kind of variable. Hold puts pass i's
' object in the variable; Outcome tells what the pass left and starts the next one afresh.
Sub Hold(ByRef target, i)
  If IsObject(objects(i)) Then Set target = objects(i) Else target = objects(i)
End Sub
Function Outcome(i)
  Outcome = i & ":" & Err.Number & "=" & log & "|"
  Err.Clear
  log = ""
End Function

Function ThroughLocal(order)
  Dim o, i, out
  On Error Resume Next
  For Each i In Split(order)
    Hold o, i
    o.Put "c"
    out = out & Outcome(i)
  Next
  ThroughLocal = out
End Function

Function ThroughParameter(order)
  Dim i, out
  For Each i In Split(order)
    out = out & CallOn(objects(i), i)
  Next
  ThroughParameter = out
End Function

Function CallOn(o, i)
  On Error Resume Next
  o.Put "c"
  CallOn = Outcome(i)
End Function

Class Holder
  Public held
  Public Function Run(order)
    Dim i, out
    On Error Resume Next
    For Each i In Split(order)
      Hold held, i
      held.Put "c"
      out = out & Outcome(i)
    Next
    Run = out
  End Function
End Class

Dim globalHeld, i, out, h
log = ""
On Error Resume Next
For Each i In Split(kPassOrder)
  Hold globalHeld, i
  globalHeld.Put "c"
  out = out & Outcome(i)
Next
On Error GoTo 0
AssertEqual out, kExpected, "through a module-level variable"
AssertEqual ThroughLocal(kPassOrder), kExpected, "through a local"
AssertEqual ThroughParameter(kPassOrder), kExpected, "through a parameter"
Set h = New Holder
AssertEqual h.Run(kPassOrder), kExpected, "through a field"

' The literal's copy is the callee's own: changing it leaves the next call's copy as written.
Dim p, w, v
Set p = New Putter
Set w = New WideSub
Const kNamed = "named"
For i = 1 To 3
  log = ""
  p.Put "lit"
  w.Put "lit"
  p.Put kNamed
  p.Put ""
  p.Put 7
  p.Put Null
  Note kNamed
  Note ""
  AssertEqual log, "put lit;wide litTrueTrue;put named;put ;put 7;put ;note named;note ;", _
    "a fresh copy of each literal and constant, pass " & i
Next
AssertEqual kNamed, "named", "the constant keeps its value"
v = "var"
p.Put v
w.Put v
AssertEqual v, "var++", "a variable is passed by reference to both frames"

' The argument fails: no call runs, and the statement after it does.
On Error Resume Next
log = ""
p.Put 1 / 0
AssertError 11, "the argument fails"
w.Put 1 / 0
AssertError 11, "the argument fails on the wide frame"
AssertEqual log, "", "no call ran"
On Error GoTo 0

' The callee fails: the caller's On Error goes on after the statement, and the argument's
' object is released with the frame.
Class Marker
  Public name
  Private Sub Class_Terminate()
    log = log & "term " & name & ";"
  End Sub
End Class
Class Failer
  Public Sub Put(x)
    log = log & "fail " & x.name & ";"
    Err.Raise 5
  End Sub
End Class
Function NewMarker(name)
  Set NewMarker = New Marker
  NewMarker.name = name
End Function
Dim failing
Set failing = New Failer
log = ""
On Error Resume Next
failing.Put NewMarker("m")
AssertError 5, "raised in the callee"
On Error GoTo 0
AssertEqual log, "fail m;term m;", "the argument went with the frame"

' Module-level procedures of one parameter: a Function, a Sub as a statement, a Function as a
' statement (its dropped object result ends after the call), and one with a wide frame.
Function Twice(x)
  Twice = x * 2
End Function
Sub Note(x)
  log = log & "note " & x & ";"
  x = "changed"
End Sub
Function Made(x)
  Set Made = NewMarker(x)
  log = log & "made " & x & ";"
End Function
Function WideTwice(x)
  Dim a, b, c, d, e, f, g, h
  WideTwice = x * 2 & IsEmpty(h)
  h = 1
End Function
log = ""
v = "v"
Note "lit"
Note v
Note v & "e"
Made "r"
AssertEqual log, "note lit;note v;note changede;made r;term r;", "statements of one argument"
AssertEqual v, "changed", "a variable is passed by reference"
AssertEqual Twice(21), 42, "a literal"
AssertEqual Twice(Twice(1) + 1), 6, "an expression"
AssertEqual WideTwice(4) & WideTwice(5), "8True10True", "a wide frame starts Empty each call"

' A module-level name whose procedure is replaced, or that is a variable: the general way.
Dim arr(2)
arr(1) = "one"
AssertEqual arr(1), "one", "an index into a module-level array"
ExecuteGlobal "Function Twice(x, y) : Twice = x + y : End Function"
On Error Resume Next
v = Empty
v = Twice(1)
AssertError 450, "the replacing procedure takes two arguments"
On Error GoTo 0
AssertTrue IsEmpty(v), "leaves the target untouched"
AssertEqual Twice(1, 2), 3, "the replacing procedure"

' Runaway recursion through each kind of one-argument call stops at the same depth.
Dim depth
Class Recurser
  Public Sub DownHeld(x)
    depth = depth + 1
    deep.DownHeld "lit"
  End Sub
End Class
Sub DownSub(x)
  depth = depth + 1
  DownSub x
End Sub
Function DownFunction(x)
  depth = depth + 1
  DownFunction = DownFunction(x + 1)
End Function
Dim deep
Set deep = New Recurser
On Error Resume Next
depth = 0
deep.DownHeld "lit"
AssertError 28, "a member Sub through a module-level variable"
AssertEqual depth, 3000, "its depth"
depth = 0
DownSub 1
AssertError 28, "a module-level Sub"
AssertEqual depth, 3000, "its depth"
depth = 0
v = DownFunction(1)
AssertError 28, "a module-level Function"
AssertEqual depth, 3000, "its depth"
On Error GoTo 0
AssertEqual Twice(2, 3), 5, "calls work again afterwards"

' A member of the running object called without "Me." with one argument: a Sub as a statement,
' a Function and a Property Get in expressions, one with a wide frame, and a runaway recursion.
Class Sibling
  Public count
  Public Sub Bump(x)
    count = count + x
    x = 0
  End Sub
  Public Function Doubled(x)
    Doubled = x * 2
  End Function
  Public Property Get Tripled(x)
    Tripled = x * 3
  End Property
  Public Function Wide(x)
    Dim a, b, c, d, e, f, g, h
    Wide = x & IsEmpty(h)
    h = 1
  End Function
  Public Function Run()
    Dim v
    count = 0
    v = 5
    Bump 1
    Bump v
    Bump Doubled(2)
    Run = count & " " & v & " " & Doubled(count) & " " & Tripled(2) & " " & Wide("w") & _
      Wide("x") & " " & Doubled("3")
  End Function
  Public Sub Down(x)
    depth = depth + 1
    Down x
  End Sub
End Class
Dim kin
Set kin = New Sibling
AssertEqual kin.Run(), "10 0 20 6 wTruexTrue 6", "calls of the running object's members"
AssertEqual kin.Run(), "10 0 20 6 wTruexTrue 6", "the same calls again"
On Error Resume Next
depth = 0
kin.Down "lit"
AssertError 28, "a member Sub of the running object"
AssertEqual depth, 3000, "its depth"
On Error GoTo 0
