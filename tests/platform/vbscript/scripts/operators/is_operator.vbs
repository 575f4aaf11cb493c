' Is compares object references.
Class Thing
End Class
Dim a, b, c
Set a = New Thing
Set b = a
Set c = New Thing
AssertTrue a Is b, "same object"
AssertTrue Not (a Is c), "different objects"
AssertTrue Not (a Is Nothing), "object is not Nothing"
Set b = Nothing
AssertTrue b Is Nothing, "Nothing after Set"
AssertEqual IsObject(b), True, "Nothing is an object"
On Error Resume Next
Dim r
r = 1 Is 1
AssertError 424, "Is needs objects"

' Unary + leaves its operand as it is: an object stays the object, its default member unread.
Class NoDefault
  Public Value
End Class
Dim plain
Set plain = New NoDefault
AssertTrue (+plain) Is plain, "unary + of an object is the object itself"
