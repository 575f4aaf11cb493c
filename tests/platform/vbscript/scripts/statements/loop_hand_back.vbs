' Loops, conditions and counters that leave the whole-number paths part way: each must carry on
' exactly as the general evaluation would, whatever kind of variable holds the value.

' A For counter that the body turns into something else: the loop goes on with that value.
Class Looper
  Private counter
  Private count
  Private buffer()
  Public Trace

  Private Sub Class_Initialize()
    ReDim buffer(3)
    count = 0
  End Sub

  Public Function FieldCounter(changeAt, newValue)
    Dim changed
    changed = False
    Trace = ""
    For counter = 1 To 8
      Trace = Trace & counter & ","
      If counter = changeAt And Not changed Then
        counter = newValue
        changed = True
      End If
    Next
    FieldCounter = TypeName(counter) & ":" & counter
  End Function

  Public Function LocalCounter(changeAt, newValue)
    Dim k, changed
    changed = False
    Trace = ""
    For k = 1 To 8
      Trace = Trace & k & ","
      If k = changeAt And Not changed Then
        k = newValue
        changed = True
      End If
    Next
    LocalCounter = TypeName(k) & ":" & k
  End Function

  ' `count > UBound(buffer)` on fields, with whatever the fields hold.
  Public Function Grows(countValue)
    count = countValue
    If count > UBound(buffer) Then
      Grows = "grow"
    Else
      Grows = "room"
    End If
  End Function

  Public Function GrowsQuietly(countValue)
    On Error Resume Next
    count = countValue
    If count > UBound(buffer) Then
      GrowsQuietly = "grow " & Err.Number
    Else
      GrowsQuietly = "room"
    End If
  End Function

  Public Sub SetBuffer(value)
    buffer = value
  End Sub

  Public Function Append(n)
    Dim i
    For i = 1 To n
      If count > UBound(buffer) Then ReDim Preserve buffer(UBound(buffer) * 2 + 1)
      buffer(count) = i
      count = count + 1
    Next
    Append = count & "/" & UBound(buffer)
  End Function

  Public Function Bump(value, by)
    count = value
    If by = 1 Then count = count + 1 Else count = count - 1
    Bump = TypeName(count) & ":" & count
  End Function
End Class

Dim lp
Set lp = New Looper
Dim rows, row, got
rows = Array( _
  Array(3, 2.5, "Double:8.5", "1,2,3,3.5,4.5,5.5,6.5,7.5,"), _
  Array(2, "5", "Double:9", "1,2,6,7,8,"), _
  Array(4, Empty, "Integer:9", "1,2,3,4,1,2,3,4,5,6,7,8,"), _
  Array(5, CLng(6), "Long:9", "1,2,3,4,5,7,8,"), _
  Array(1, True, "Integer:9", "1,0,1,2,3,4,5,6,7,8,"), _
  Array(2, 100, "Integer:101", "1,2,"))
For Each row In rows
  got = lp.FieldCounter(row(0), row(1))
  AssertEqual got, row(2), "field counter set to " & TypeName(row(1)) & " at " & row(0)
  AssertEqual lp.Trace, row(3), "field counter passes, " & TypeName(row(1))
  got = lp.LocalCounter(row(0), row(1))
  AssertEqual got, row(2), "local counter set to " & TypeName(row(1)) & " at " & row(0)
  AssertEqual lp.Trace, row(3), "local counter passes, " & TypeName(row(1))
Next

' The same with a module-level counter and a by-reference parameter.
Dim g, trace
trace = ""
For g = 1 To 6
  trace = trace & g & ","
  If g = 2 Then g = "4"
Next
AssertEqual trace, "1,2,5,6,", "global counter turned to text"
AssertEqual TypeName(g), "Double", "global counter after text"

Sub CountInto(c)
  For c = 10 To 1 Step -4
    trace = trace & c & ","
    If c = 6 Then c = 5.5
  Next
End Sub
Dim byRefCounter
trace = ""
CountInto byRefCounter
AssertEqual trace, "10,6,1.5,", "by-reference counter turned to a Double"
AssertEqual byRefCounter, -2.5, "the caller's variable holds the last value"

' Long and Integer steps and bounds in both directions, and the counter's type at the end.
Dim stepRows, total, x
stepRows = Array( _
  Array(1, 10, 3, "Integer:13:4"), _
  Array(CLng(1), 10, 3, "Long:13:4"), _
  Array(1, CLng(10), CLng(3), "Long:13:4"), _
  Array(10, 1, -3, "Integer:-2:4"), _
  Array(32765, 32767, 1, "Long:32768:3"), _
  Array(-32766, -32768, -1, "Long:-32769:3"), _
  Array(2147483646, 2147483647, 1, "Double:2147483648:2"), _
  Array(1, 2, 0.5, "Double:2.5:3"), _
  Array(1, 2.5, 1, "Integer:3:2"))
For Each row In stepRows
  total = 0
  For x = row(0) To row(1) Step row(2)
    total = total + 1
  Next
  AssertEqual TypeName(x) & ":" & x & ":" & total, row(3), _
    "For " & row(0) & " To " & row(1) & " Step " & row(2)
Next

' Exit For from the middle of a block, and Exit Do through a For inside a Do.
Dim passes
passes = 0
For x = 1 To 100
  passes = passes + 1
  If x = 4 Then Exit For
  passes = passes + 10
Next
AssertEqual passes, 34, "Exit For in the middle of a block"
AssertEqual x, 4, "the counter where Exit For left"
passes = 0
Do
  For x = 1 To 5
    passes = passes + 1
    If x = 2 Then Exit Do
  Next
  passes = 100
Loop
AssertEqual passes, 2, "Exit Do through a For"

' Under On Error Resume Next a failing statement in the body goes on with the next one.
On Error Resume Next
passes = 0
For x = 1 To 3
  passes = passes + 1 / (x - 2)
  passes = passes + 10
Next
AssertEqual Err.Number, 11, "division by zero in the body is recorded"
AssertEqual passes, 30, "every pass goes on after it"
Err.Clear
passes = 0
For x = 1 To "many"
  passes = passes + 1
Next
AssertEqual Err.Number, 92, "a bound that is no number leaves the loop uninitialized"
AssertEqual passes, 1, "after running the body once"
Err.Clear
On Error GoTo 0

' `count > UBound(buffer)` with fields holding other things than numbers.
Dim growRows
growRows = Array( _
  Array(3, "room"), Array(4, "grow"), Array(CLng(4), "grow"), Array(3.5, "grow"), _
  Array(Empty, "room"), Array(Null, "room"), Array("2", "grow"), Array(True, "room"))
For Each row In growRows
  AssertEqual lp.Grows(row(0)), row(1), "count of " & TypeName(row(0)) & " against UBound"
Next
Dim square(2, 5)
lp.SetBuffer square
AssertEqual lp.Grows(2), "room", "UBound of a two-dimensional array is its first"
AssertEqual lp.Grows(3), "grow", "and past it"
lp.SetBuffer Empty
AssertEqual lp.GrowsQuietly(1), "grow 13", "a failing condition enters its branch"
On Error Resume Next
Dim outcome
outcome = "unset"
outcome = lp.Grows(1)
AssertError 13, "UBound of Empty outside the If's own Resume Next"
AssertEqual outcome, "unset", "no result from the failed call"
On Error GoTo 0

' The growing buffer itself, a field counter and a field array on every pass.
Dim grower
Set grower = New Looper
AssertEqual grower.Append(20), "20/31", "buffer grown by doubling"

' count = count + n on a field: the result's type as the operator gives it.
Dim stepRows2
stepRows2 = Array( _
  Array(32766, 1, "Integer:32767"), Array(32767, 1, "Long:32768"), _
  Array(CLng(1), 1, "Long:2"), Array(2147483647, 1, "Double:2147483648"), _
  Array(-32768, -1, "Long:-32769"), Array(1.5, 1, "Double:2.5"), Array("7", 1, "Double:8"), _
  Array(Empty, 1, "Integer:1"), Array(Null, 1, "Null:"), Array(True, 1, "Integer:0"))
For Each row In stepRows2
  AssertEqual lp.Bump(row(0), row(1)), row(2), TypeName(row(0)) & " + " & row(1)
Next

' Select Case on whole numbers and text, against literals of either kind and anything else.
Function Pick(subject)
  Select Case subject
    Case "two"
      Pick = "two"
    Case 1
      Pick = "one"
    Case 3, CLng(4)
      Pick = "three or four"
    Case Else
      Pick = "else"
  End Select
End Function
Dim pickRows
pickRows = Array( _
  Array(1, "one"), Array(CLng(1), "one"), Array(1.0, "one"), Array("1", "one"), _
  Array(True, "else"), Array(Empty, "else"), Array(Null, "else"), Array("two", "two"), _
  Array(2, "else"), Array(4, "three or four"), _
  Array("3", "three or four"), Array("4", "else"), Array(CByte(3), "three or four"), Array(4.5, "else"))
For Each row In pickRows
  AssertEqual Pick(row(0)), row(1), "Select Case on " & TypeName(row(0)) & " " & row(0)
Next
On Error Resume Next
outcome = "unset"
outcome = Pick("TWO")
AssertError 13, "text that is no number against a number literal"
AssertEqual outcome, "unset", "leaves the Select"
On Error GoTo 0

' A Do loop's test on each side of the body, with the counter a field or a local.
Function CountDown(n, atEnd)
  Dim passes
  passes = 0
  If atEnd Then
    Do
      passes = passes + 1
      n = n - 1
    Loop Until n <= 0
  Else
    Do While n > 0
      n = n - 1
      passes = passes + 1
    Loop
  End If
  CountDown = passes & ":" & TypeName(n) & ":" & n
End Function
AssertEqual CountDown(3, False), "3:Integer:0", "Do While on an Integer"
AssertEqual CountDown(0, False), "0:Integer:0", "Do While that never enters"
AssertEqual CountDown(0, True), "1:Integer:-1", "Do ... Loop Until runs once"
AssertEqual CountDown(2.5, False), "3:Double:-0.5", "Do While on a Double"
AssertEqual CountDown("2", True), "2:Double:0", "Do ... Loop Until on text"

' A variable against UBound or LBound of an array, for each kind of the two variables and each
' comparison.
Dim globalArray, globalIndex
globalArray = Array(10, 20, 30)
Function BoundTests(index, arr)
  Dim localIndex, localArray, results
  localIndex = index
  localArray = arr
  results = ""
  If localIndex > UBound(localArray) Then results = results & ">"
  If localIndex >= UBound(localArray) Then results = results & ">="
  If localIndex = UBound(localArray) Then results = results & "="
  If localIndex <> LBound(localArray) Then results = results & "<>L"
  If localIndex < UBound(localArray) Then results = results & "<"
  If localIndex <= LBound(localArray) Then results = results & "<=L"
  If index > UBound(localArray) Then results = results & "|p>"
  If localIndex > UBound(globalArray) Then results = results & "|g>"
  globalIndex = index
  If globalIndex > UBound(arr) Then results = results & "|gp>"
  BoundTests = results
End Function
Dim boundRows
boundRows = Array( _
  Array(3, Array(1, 2, 3), ">>=<>L|p>|g>|gp>"), _
  Array(2, Array(1, 2, 3), ">==<>L"), _
  Array(0, Array(1, 2, 3), "<<=L"), _
  Array(CLng(1), Array(1, 2, 3), "<>L<"), _
  Array(1.5, Array(1, 2, 3), "<>L<"), _
  Array("5", Array(1, 2, 3), ">>=<>L|p>|g>|gp>"), _
  Array(Empty, Array(1, 2, 3), "<<=L"), _
  Array(0, Array(), ">>=<=L|p>|gp>"))
For Each row In boundRows
  AssertEqual BoundTests(row(0), row(1)), row(2), _
    "bounds against " & TypeName(row(0)) & " " & row(0) & " with " & UBound(row(1)) + 1 & " elements"
Next
On Error Resume Next
outcome = "unset"
outcome = BoundTests(1, "not an array")
AssertError 13, "UBound of text"
AssertEqual outcome, "unset", "no result after UBound of text"
On Error GoTo 0
