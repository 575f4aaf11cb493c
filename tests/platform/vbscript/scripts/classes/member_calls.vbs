' obj.Method args on an object held by a variable: the member found once for the class, the
' object kept alive while its method runs, and every other case on the general path.
Class Builder
  Private parts(), count

  Public Sub Append(text)
    If count = UBound(parts) + 1 Then ReDim Preserve parts(2 * count)
    parts(count) = text
    count = count + 1
  End Sub

  Public Function ToString()
    If count = 0 Then Exit Function
    Dim used
    used = parts
    ReDim Preserve used(count - 1)
    ToString = Join(used, "")
  End Function

  Private Sub Class_Initialize()
    count = 0
    ReDim parts(0)
  End Sub
  Public Sub Drop()
    Set current = Nothing  ' the variable the call came through
    Append "after"
  End Sub
  Private Sub Hidden()
  End Sub
End Class

Class Other
  Public Sub Append(text)
    lastOther = text
  End Sub
End Class

Dim current, lastOther, i
Set current = New Builder
For i = 1 To 100
  current.Append CStr(i Mod 10)
Next
AssertEqual Len(current.ToString()), 100, "a hundred appends"

' The method drops the last reference the script holds to its own object: it still runs to its
' end on a live object.
Dim kept
Set current = New Builder
current.Append "before "
Set kept = current
current.Drop
AssertTrue current Is Nothing, "the variable was set to Nothing by the call"
AssertEqual kept.ToString(), "before after", "the object ran the whole method"
Set kept = Nothing

' The same call site meets another class, then the first again.
Dim objects(2), o
Set objects(0) = New Builder
Set objects(1) = New Other
Set objects(2) = New Builder
For i = 0 To 2
  Set current = objects(i)
  current.Append "x" & i
Next
AssertEqual lastOther, "x1", "the other class's method ran"
AssertEqual objects(0).ToString(), "x0", "the first class again"
AssertEqual objects(2).ToString(), "x2", "and its other instance"

' Wrong argument counts, a private member, Nothing and a number fail as before.
Set current = New Builder
On Error Resume Next
current.Append
AssertError 450, "too few arguments"
current.Append "a", "b"
AssertError 450, "too many arguments"
current.Hidden
AssertError 438, "a private member from outside"
Set current = Nothing
current.Append "x"
AssertError 424, "a member of Nothing"
current = 5
current.Append "x"
AssertError 424, "a member of a number"
On Error GoTo 0
