' a(i) = v where a, i and v are variables of a class method (fields, parameters, locals): every
' kind of value, index and array the statement meets, and the cases it must refuse.
Dim log
Class Tracked
  Public Id
  Public Default Property Get Value()
    Value = "value " & Id
  End Property
  Private Sub Class_Terminate()
    log = log & "term " & Id & ";"
  End Sub
End Class

Function NewTracked(id)
  Set NewTracked = New Tracked
  NewTracked.Id = id
End Function

Class Holder
  Private items()
  Private fixedItems(2)
  Private grid()
  Private count
  Public Seen

  Private Sub Class_Initialize()
    ReDim items(3)
    ReDim grid(1, 1)
    count = 0
  End Sub

  Public Sub Append(value)
    If count > UBound(items) Then ReDim Preserve items(UBound(items) * 2 + 1)
    items(count) = value
    count = count + 1
  End Sub
  Public Sub PutAt(index, value)
    items(index) = value
  End Sub
  Public Sub PutFixed(index, value)
    fixedItems(index) = value
  End Sub
  Public Sub PutGrid(index, value)
    grid(index) = value
  End Sub
  Public Sub PutLocal(value)
    Dim local, i
    local = items
    i = 0
    local(i) = value
    Seen = local(0)
  End Sub
  Public Function Item(i)
    Item = items(i)
  End Function
  Public Function FixedItem(i)
    FixedItem = fixedItems(i)
  End Function
  Public Function Count_()
    Count_ = count
  End Function
  Public Function Items_()
    Items_ = items
  End Function
  Public Sub SetItems(value)
    items = value
  End Sub
  ' Assigns each element while a For Each walks the array.
  Public Function OverwriteWhileWalking(value)
    Dim x, i, seenText
    i = 0
    For Each x In items
      items(i) = value
      seenText = seenText & x & ","
      i = i + 1
    Next
    OverwriteWhileWalking = seenText
  End Function
  ' Passes an element ByRef to a procedure that assigns the array's elements.
  Public Function WriteThroughByRef()
    Dim i
    i = 0
    items(0) = "before"
    ChangeBoth items(0), i
    WriteThroughByRef = items(0) & "|" & items(1)
  End Function
  Private Sub ChangeBoth(ByRef element, i)
    element = "byref"
    Dim j
    j = i + 1
    items(j) = "direct"
  End Sub
  Public Sub Clear()
    Erase items
  End Sub
End Class

Dim h, i, text
Set h = New Holder

' Values of every plain kind, through the parameter, as the array grows past its first bounds.
Dim values
values = Array("text", "", 42, CInt(7), CByte(200), 2.5, CCur(1.25), #2024-01-02#, True, Empty, Null, CLng(-1))
For i = 0 To UBound(values)
  h.Append values(i)
Next
AssertEqual h.Count_(), 12, "twelve appends, the array doubled twice"
For i = 0 To UBound(values)
  If IsNull(values(i)) Then
    AssertTrue IsNull(h.Item(i)), "Null element"
  Else
    AssertEqual h.Item(i), values(i), "element " & i
    AssertEqual VarType(h.Item(i)), VarType(values(i)), "subtype of element " & i
  End If
Next

' Index subtypes: Integer, Long, Double (rounded), text, Boolean.
h.PutAt CInt(1), "by integer"
AssertEqual h.Item(1), "by integer", "an Integer index"
h.PutAt 2.6, "by double"
AssertEqual h.Item(3), "by double", "a Double index rounds"
h.PutAt "4", "by text"
AssertEqual h.Item(4), "by text", "a text index converts"

On Error Resume Next
h.PutAt True, "x"
AssertError 9, "True as an index is -1"
h.PutAt 100, "x"
AssertError 9, "index past the upper bound"
h.PutAt -1, "x"
AssertError 9, "negative index"
h.PutAt Null, "x"
AssertError 94, "a Null index"
h.PutAt "abc", "x"
AssertError 13, "an index that is not a number"
h.PutAt Empty, "first"
AssertError 0, "an Empty index is 0"
AssertEqual h.Item(0), "first", "Empty index wrote element 0"
h.PutGrid 0, "x"
AssertError 9, "one index into two dimensions"
h.PutAt 0, Nothing
AssertError 91, "Nothing has no value to store"
AssertEqual h.Item(0), "first", "the element kept its value"
On Error GoTo 0

' An object index reads its default member.
Dim indexer
Class IndexObject
  Public Default Property Get Value()
    Value = 5
  End Property
End Class
Set indexer = New IndexObject
h.PutAt indexer, "by object"
AssertEqual h.Item(5), "by object", "an object index gives its default value"

' An object value stores its default value; the object itself is not kept.
log = ""
h.PutAt 6, NewTracked(1)
AssertEqual h.Item(6), "value 1", "Let stores the default value"
AssertEqual log, "term 1;", "the object is released at once"

' An array value is copied: later changes to either side stay apart.
Dim inner
inner = Array(1, 2)
h.PutAt 7, inner
inner(0) = 99
AssertEqual h.Item(7)(0), 1, "the stored array is a copy"

' The array itself stored into one of its elements.
h.SetItems Array("a", "b", "c")
Dim self
self = h.Items_()
h.SetItems self
h.PutAt 0, self
AssertEqual h.Item(1), "b", "the array keeps its elements"
AssertEqual h.Item(0)(0), "a", "the element holds the array as it was"

' A shared array is copied before it is written.
Dim shared
h.SetItems Array("x", "y")
shared = h.Items_()
h.PutAt 0, "changed"
AssertEqual shared(0), "x", "the other holder keeps its copy"
AssertEqual h.Item(0), "changed", "the written array"

' A local copy of a field's array, indexed by a local.
h.SetItems Array("p", "q")
h.PutLocal "local"
AssertEqual h.Seen, "local", "the local array was written"
AssertEqual h.Item(0), "p", "the field's array was not"

' A fixed array field.
h.PutFixed 2, "fixed"
AssertEqual h.FixedItem(2), "fixed", "a fixed array takes elements"
On Error Resume Next
h.PutFixed 3, "x"
AssertError 9, "past a fixed array's bound"
On Error GoTo 0

' The replaced object is released once the new value is in place.
Dim watch
Class Watcher
  Public Owner
  Private Sub Class_Terminate()
    log = log & "saw " & Owner.Item(0) & ";"
  End Sub
End Class
h.SetItems Array(Empty)
Set watch = New Watcher
Set watch.Owner = h
Dim bag
bag = h.Items_()
Set bag(0) = watch
Set watch = Nothing
h.SetItems bag
bag = Empty
log = ""
h.PutAt 0, "replacement"
AssertEqual log, "saw replacement;", "Terminate sees the new element"

' Writing while a For Each walks the array: the walk sees the elements as they were.
h.SetItems Array("1", "2", "3")
AssertEqual h.OverwriteWhileWalking("w"), "1,2,3,", "the walk is unchanged"
AssertEqual Join(h.Items_(), ""), "www", "every element was written"

' An element passed ByRef is stored back after the call.
h.SetItems Array("a", "b")
AssertEqual h.WriteThroughByRef(), "byref|direct", "both writes land"

' Erased, the dynamic array takes no element.
h.Clear
On Error Resume Next
h.PutAt 0, "x"
AssertError 9, "an erased array has no elements"
On Error GoTo 0

' Releasing an array of objects among strings and numbers terminates them from the last.
Dim mixed
log = ""
mixed = Array(NewTracked("a"), "s", 1, NewTracked("b"), "s", Null, NewTracked("c"))
mixed = Empty
AssertEqual log, "term c;term b;term a;", "the last element's object first"
log = ""
Dim nested
nested = Array("x", Array(NewTracked("n1"), "y"), NewTracked("n2"), "z")
nested = Empty
AssertEqual log, "term n2;term n1;", "an element array's objects after the later elements'"

' Elements sharing one string let go of it together; its other holders keep it.
Dim piece, pieces
piece = "shared " & "piece"
pieces = Array(piece, piece, piece, "other", piece, Empty, piece)
pieces = Empty
AssertEqual piece, "shared piece", "the string outlives the array"
h.SetItems Array()
h.Clear
Set h = Nothing
AssertEqual piece, "shared piece", "and the object's array"

' A buffer of megabytes filled in order: its storage is made ready a stretch at a time.
Sub FillLarge()
  Dim big(), i, text
  ReDim big(999999)
  text = "p"
  For i = 0 To 999999
    big(i) = text
  Next
  AssertEqual Len(Join(big, "")), 1000000, "every element written"
  AssertEqual big(999999), "p", "the last element"
  AssertEqual big(32767) & big(32768), "pp", "across the Integer range of the counter"
End Sub
FillLarge
