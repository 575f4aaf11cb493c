' a(i) = v with the array, the index and the value each a local, a parameter or a field (or
' the index a literal): every pairing stores the same, and hands the same cases on.
Class Store
  Public items
  Public index
  Public value
  Private Sub Class_Initialize()
    items = Array(0, 0, 0)
  End Sub
  Public Sub FieldsOnly()
    items(index) = value
  End Sub
  Public Sub FieldArrayParamIndex(i, v)
    items(i) = v
  End Sub
  Public Sub FieldArrayLiteralIndex(v)
    items(2) = v
  End Sub
  Public Sub ParamArray(arr, i)
    arr(i) = value
  End Sub
  Public Sub ParamArrayLocalValue(arr)
    Dim v, i
    v = "local"
    i = 1
    arr(i) = v
  End Sub
End Class

Sub LocalArray(v)
  Dim a, i
  a = Array(1, 2, 3)
  i = 2
  a(i) = v
  a(0) = v
  AssertEqual Join(a, ","), v & ",2," & v, "a local array written at a local and a literal index"
End Sub

Dim s, outside
Set s = New Store
s.index = 1
s.value = "f"
s.FieldsOnly
AssertEqual Join(s.items, ","), "0,f,0", "array, index and value fields"
s.FieldArrayParamIndex 0, "p"
AssertEqual Join(s.items, ","), "p,f,0", "a parameter index and value"
s.FieldArrayLiteralIndex 7
AssertEqual Join(s.items, ","), "p,f,7", "a literal index"
outside = Array("a", "b")
s.value = "v"
s.ParamArray outside, 0
AssertEqual Join(outside, ","), "v,b", "an array passed by reference is written in place"
s.ParamArrayLocalValue outside
AssertEqual Join(outside, ","), "v,local", "a local value into a parameter's array"
LocalArray "w"

' The cases each pairing hands to the general assignment.
On Error Resume Next
s.FieldArrayParamIndex 3, "x"
AssertError 9, "an index past the bound"
s.FieldArrayParamIndex "1", "text index"
AssertError 0, "a text index converts"
AssertEqual s.items(1), "text index", "and is written"
s.ParamArray outside, 1.4
AssertError 0, "a Double index rounds"
s.index = 5
s.FieldsOnly
AssertError 9, "a field index past the bound"
s.items = "not an array"
s.FieldArrayLiteralIndex 1
AssertError 13, "a field that holds no array"
On Error GoTo 0
AssertEqual Join(outside, ","), "v,v", "the rounded index wrote element 1"

' A shared array is copied first; an object stored where a value was gives its default value.
Class Valued
  Public Default Property Get Value()
    Value = "default"
  End Property
End Class
Dim shared, copy
shared = Array(1, 2)
copy = shared
s.value = 9
s.ParamArray copy, 1
AssertEqual Join(shared, ","), "1,2", "the other holder keeps its elements"
AssertEqual Join(copy, ","), "1,9", "the parameter's array was copied and written"
s.items = Array(0, 0)
s.FieldArrayParamIndex 1, New Valued
AssertEqual s.items(1), "default", "an object value stores its default value"
