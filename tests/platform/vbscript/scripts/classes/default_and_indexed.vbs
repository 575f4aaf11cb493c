' Default members, indexed properties and Property Set.
Class List
  Private items()
  Private n
  Private Sub Class_Initialize()
    n = 0
    ReDim items(0)
  End Sub
  Public Sub Add(v)
    ReDim Preserve items(n)
    items(n) = v
    n = n + 1
  End Sub
  Public Default Property Get Item(i)
    Item = items(i)
  End Property
  Public Property Let Item(i, v)
    items(i) = v
  End Property
  Public Property Get Count()
    Count = n
  End Property
End Class

Class Owner
  Private m_list
  Public Property Set Contents(l)
    Set m_list = l
  End Property
  Public Property Get Contents()
    Set Contents = m_list
  End Property
End Class

Dim l
Set l = New List
l.Add "a"
l.Add "b"
AssertEqual l(1), "b", "default property"
AssertEqual l.Item(0), "a", "explicit default property"
l.Item(0) = "z"
AssertEqual l(0), "z", "Property Let with an index"
AssertEqual l.Count, 2, "count"

Dim o
Set o = New Owner
Set o.Contents = l
AssertTrue o.Contents Is l, "Property Set and Get of an object"
AssertEqual o.Contents(1), "b", "default member through a property"
