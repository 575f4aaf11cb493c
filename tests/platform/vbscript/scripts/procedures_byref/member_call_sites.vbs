' One member call site, as a statement and as an expression, reached with a different kind of
' object on each pass: each pass behaves as if the site had never been run before.
Dim log
' What a Function member returns: its end shows when the dropped result goes.
Class Released
  Private Sub Class_Terminate()
    log = log & "term result;"
  End Sub
End Class

Class SubPut
  Public Sub Put(x)
    x = x & "+"
    log = log & "sub " & x & ";"
  End Sub
End Class

Class FunctionPut
  Public Function Put(x)
    Set Put = New Released
    log = log & "function " & x & ";"
  End Function
End Class

Class PropertyPut
  Public Property Get Put(x)
    log = log & "get " & x & ";"
    Put = 1
  End Property
End Class

Class PrivatePut
  Private Sub Put(x)
    log = log & "private;"
  End Sub
End Class

Class FieldPut
  Public Put
End Class

Class TwoPut
  Public Sub Put(x, y)
    log = log & "two;"
  End Sub
End Class

Dim objects(7), i, v, arr(1)
Set objects(0) = New SubPut
Set objects(1) = New FunctionPut
Set objects(2) = New PropertyPut
Set objects(3) = New PrivatePut
Set objects(4) = New FieldPut
Set objects(5) = New TwoPut
Set objects(6) = Nothing
objects(7) = 3

' Each kind twice in a row, then again after all the others.
Dim order
order = Array(0, 0, 1, 1, 2, 2, 3, 4, 5, 6, 7, 0, 1, 2)
Dim o, numbers
On Error Resume Next
For Each i In order
  log = ""
  Err.Clear
  If IsObject(objects(i)) Then Set o = objects(i) Else o = objects(i)
  v = "v"
  o.Put v
  numbers = numbers & i & ":" & Err.Number & "=" & log & "|"
Next
On Error GoTo 0
AssertEqual numbers, "0:0=sub v+;|0:0=sub v+;|1:0=function v;term result;|" & _
  "1:0=function v;term result;|2:0=get v;|2:0=get v;|3:438=|4:13=|5:450=|6:424=|7:424=|" & _
  "0:0=sub v+;|1:0=function v;term result;|2:0=get v;|", "each pass as its kind of member"

' The one argument: a variable, an element stored back, a literal, an expression, a failing
' expression (no call), an element out of range (no call).
Set o = New SubPut
log = ""
v = "a"
o.Put v
arr(0) = "b"
o.Put arr(0)
o.Put "c"
o.Put v & "d"
AssertEqual v, "a+", "a variable is passed by reference"
AssertEqual arr(0), "b+", "an element is stored back"
AssertEqual log, "sub a+;sub b+;sub c+;sub a+d+;", "every argument shape"
On Error Resume Next
log = ""
o.Put 1 / 0
AssertError 11, "the argument fails"
o.Put arr(5)
AssertError 9, "the element is out of range"
AssertEqual log, "", "no call ran"
On Error GoTo 0

' The object dropped by the callee through the variable the site reads outlives the call.
Class Dropper
  Private Sub Class_Terminate()
    log = log & "term dropper;"
  End Sub
  Public Sub Put(x)
    Set holder = Nothing
    log = log & "dropped " & x & ";"
  End Sub
End Class
Dim holder
For i = 1 To 2
  log = ""
  Set holder = New Dropper
  holder.Put i
  AssertEqual log, "dropped " & i & ";term dropper;", "terminated after the call, pass " & i
Next
