' With blocks reach members of one object.
Class Box
  Public Width, Height
  Public Inner
  Public Function Area()
    Area = Width * Height
  End Function
End Class
Dim b
Set b = New Box
With b
  .Width = 3
  .Height = 4
  AssertEqual .Area(), 12, "method inside With"
  Set .Inner = New Box
  With .Inner
    .Width = 1
    .Height = 2
  End With
  AssertEqual .Inner.Area(), 2, "nested With"
End With
AssertEqual b.Width, 3, "With assigned the object's member"
