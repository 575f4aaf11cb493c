' What a class method's growing buffer runs on every pass, compared with a bound, stored into an
' element and counted, for each kind of variable and value it meets, and the cases it must hand
' to the general way: arrays without dimensions, of two dimensions, shared or cut, counters
' past the Long range, elements that held text or an object.
Dim log
log = ""

Class Noisy
  Public Name
  Private Sub Class_Terminate()
    log = log & "end " & Name & ";"
  End Sub
End Class

Class Buffer
  Private items()
  Private none()
  Private grid()
  Private count
  Public NotArray

  Private Sub Class_Initialize()
    ReDim items(3)
    ReDim grid(2, 5)
    count = 0
  End Sub

  Public Sub SetCount(n)
    count = n
  End Sub
  Public Function Count_()
    Count_ = count
  End Function
  Public Sub Append(value)
    If count > UBound(items) Then ReDim Preserve items(UBound(items) * 2 + 1)
    items(count) = value
    count = count + 1
  End Sub
  Public Sub PutAt(i, value)
    items(i) = value
  End Sub
  Public Sub SetAt(i, value)
    Set items(i) = value
  End Sub
  Public Function Item(i)
    Item = items(i)
  End Function
  Public Function Items_()
    Items_ = items
  End Function
  Public Sub Resize(n)
    ReDim Preserve items(n)
  End Sub
  Public Sub Renew(n)
    ReDim items(n)
  End Sub
  Public Sub Clear()
    Erase items
  End Sub
  ' The six comparisons of the count with each bound of the buffer, as a text of 0s and 1s.
  Public Function Compared()
    Compared = Bit(count > UBound(items)) & Bit(count < UBound(items)) & _
      Bit(count >= UBound(items)) & Bit(count <= UBound(items)) & _
      Bit(count = UBound(items)) & Bit(count <> UBound(items)) & "/" & _
      Bit(count > LBound(items)) & Bit(count < LBound(items)) & Bit(count = LBound(items))
  End Function
  Public Function AboveNone()
    AboveNone = count > UBound(none)
  End Function
  Public Function AboveGrid()
    AboveGrid = count > UBound(grid)
  End Function
  Public Function AboveNotArray()
    AboveNotArray = count > UBound(NotArray)
  End Function
  ' A local counter against a field's bound: the two kinds differ.
  Public Function LocalAbove(n)
    Dim local
    local = n
    LocalAbove = local > UBound(items)
  End Function
  Public Sub Step(n)
    count = count + 1
    count = count - 3
    count = count + n
  End Sub
  Public Sub AddBig()
    count = count + 2147483647
  End Sub
End Class

Function Bit(condition)
  If condition Then Bit = "1" Else Bit = "0"
End Function

Dim b, i
Set b = New Buffer

' Bounds: the count on either side of the upper bound and at the lower one, in each subtype.
b.SetCount 3
AssertEqual b.Compared(), "001110/100", "a count at the upper bound"
b.SetCount 4
AssertEqual b.Compared(), "101001/100", "a count past it"
b.SetCount 0
AssertEqual b.Compared(), "010101/001", "a count at the lower bound"
b.SetCount CInt(2)
AssertEqual b.Compared(), "010101/100", "an Integer count"
b.SetCount 3.5
AssertEqual b.Compared(), "101001/100", "a Double count"
b.SetCount "3"
AssertEqual b.Compared(), "101001/100", "a text count is above any number"
b.SetCount Empty
AssertEqual b.Compared(), "010101/001", "an Empty count"
AssertTrue b.LocalAbove(4), "a local count above a field's bound"
AssertTrue Not b.LocalAbove(3), "a local count at a field's bound"
b.SetCount 6
AssertTrue b.AboveGrid(), "UBound of two dimensions is the first one's"
b.SetCount 2
AssertTrue Not b.AboveGrid(), "and only the first one's"

' The bound follows the array through ReDim, ReDim Preserve and a copy that was written.
b.Resize 9
b.SetCount 9
AssertEqual b.Compared(), "001110/100", "after ReDim Preserve grows it"
b.Resize 1
AssertEqual b.Compared(), "101001/100", "after ReDim Preserve cuts it"
b.Renew 20
AssertEqual b.Compared(), "010101/100", "after ReDim"
Dim copy
copy = b.Items_()
b.PutAt 0, "written"
AssertEqual UBound(copy), 20, "the copy keeps its bound"
AssertEqual b.Compared(), "010101/100", "the written array keeps its bound"

' No dimensions, no array: the builtin raises as it does.
On Error Resume Next
Dim r
r = b.AboveNone()
AssertError 9, "UBound of an array without dimensions"
b.NotArray = 5
r = b.AboveNotArray()
AssertError 13, "UBound of a number"
b.Clear
r = b.Compared()
AssertError 9, "UBound after Erase"
On Error GoTo 0

' Counters: a Long that leaves the Long range becomes a Double, an Integer a Long.
b.SetCount 2147483646
b.Step 2
AssertEqual b.Count_(), 2147483646, "a Long counter stepped up and down"
AssertEqual VarType(b.Count_()), vbLong, "stays a Long"
b.Step 4
AssertEqual b.Count_(), 2147483648, "past the Long range"
AssertEqual VarType(b.Count_()), vbDouble, "becomes a Double"
b.SetCount -2147483647
b.Step -2
AssertEqual b.Count_(), -2147483651, "below the Long range"
AssertEqual VarType(b.Count_()), vbDouble, "becomes a Double"
b.SetCount 1
b.AddBig
AssertEqual b.Count_(), 2147483648, "a Long literal step past the range"
AssertEqual VarType(b.Count_()), vbDouble, "gives a Double"
b.SetCount CInt(32766)
b.Step 1
AssertEqual b.Count_(), 32765, "an Integer counter"
AssertEqual VarType(b.Count_()), vbInteger, "stays an Integer"
b.Step 5
AssertEqual b.Count_(), 32768, "past the Integer range"
AssertEqual VarType(b.Count_()), vbLong, "becomes a Long"
b.SetCount 1.5
b.Step 0
AssertEqual b.Count_(), -0.5, "a Double counter"
b.SetCount "4"
b.Step 0
AssertEqual b.Count_(), 2, "a text counter"
AssertEqual VarType(b.Count_()), vbDouble, "becomes a Double"
b.SetCount Empty
b.Step 0
AssertEqual VarType(b.Count_()), vbInteger, "an Empty counter becomes an Integer"

' Elements: fresh ones, ones that held text, a number or an object, in a buffer that grows.
Dim c, n
Set c = New Buffer
Set n = New Noisy
n.Name = "first"
c.Append "a"
c.Append 1
c.Append "placeholder"
c.SetAt 2, n
Set n = Nothing
c.Append "d"
c.Append Empty
c.Append True
AssertEqual c.Count_(), 6, "six appends, the array grown once"
AssertEqual c.Item(0) & c.Item(1) & c.Item(3) & c.Item(5), "a1dTrue", "the appended values"
AssertTrue IsEmpty(c.Item(4)), "an Empty element"
AssertEqual log, "", "the object is held by its element"
c.PutAt 2, "over the object"
AssertEqual log, "end first;", "replacing the object ends it"
AssertEqual c.Item(2), "over the object", "and stores the text"
c.PutAt 0, "again"
c.PutAt 1, "text over a number"
c.PutAt 3, 42
AssertEqual c.Item(0) & "," & c.Item(1) & "," & c.Item(3), "again,text over a number,42", _
  "elements written before"
Dim shared
shared = c.Items_()
c.PutAt 0, "changed"
AssertEqual shared(0), "again", "an array another variable holds is copied first"
AssertEqual c.Item(0), "changed", "before the element is written"
c.Resize 1
c.Resize 7
AssertTrue IsEmpty(c.Item(5)), "an element cut off and grown again is Empty"
c.PutAt 5, "refilled"
AssertEqual c.Item(5), "refilled", "and takes a value"

' Runs of one piece of every length up to nine, then another piece: joined and released.
Dim piece, k, j, pieces, expected
piece = "p" & "iece"
For k = 1 To 9
  ReDim pieces(k)
  expected = ""
  For j = 0 To k - 1
    pieces(j) = piece
    expected = expected & piece & "+"
  Next
  pieces(k) = "end"
  AssertEqual Join(pieces, "+"), expected & "end", "a run of " & k
  Erase pieces
Next
