' Classes: fields, methods, properties, Me, TypeName.
Class Counter
  Private m_count
  Public Name

  Public Property Get Count()
    Count = m_count
  End Property
  Public Property Let Count(value)
    If value < 0 Then Err.Raise 5
    m_count = value
  End Property

  Public Sub Increment(by)
    m_count = m_count + by
  End Sub
  Public Function Twice()
    Twice = m_count * 2
  End Function
  Public Function Self()
    Set Self = Me
  End Function
  Private Sub Class_Initialize()
    m_count = 0
    Name = "unnamed"
  End Sub
End Class

Dim c
Set c = New Counter
AssertEqual TypeName(c), "Counter", "TypeName of an instance"
AssertEqual VarType(c), vbObject, "VarType of an instance"
AssertEqual c.Name, "unnamed", "Class_Initialize ran"
AssertEqual c.Count, 0, "Property Get"
c.Count = 4
c.Increment 3
AssertEqual c.Count, 7, "Property Let and a method"
AssertEqual c.Twice(), 14, "function method"
AssertTrue c.Self() Is c, "Me is the instance"
c.Name = "first"
AssertEqual c.Name, "first", "public field"

Dim d
Set d = New Counter
AssertEqual d.Count, 0, "each instance has its own state"

On Error Resume Next
c.Count = -1
AssertError 5, "an error raised in Property Let"
Dim x
x = c.m_count
AssertError 438, "a private member is not reachable"
c.NoSuchMethod
AssertError 438, "an unknown member"

' A member called through a module-level variable reads the object the variable holds now.
On Error GoTo 0
Class Other
  Public Function Twice()
    Twice = "other"
  End Function
End Class
Dim held
Set held = New Counter
held.Increment 4
AssertEqual held.Twice(), 8, "through a module-level variable"
Set held = New Other
AssertEqual held.Twice(), "other", "the same call after the variable changed class"
Set held = Nothing
On Error Resume Next
held.Increment 1
AssertError 424, "a member of Nothing"
held = 3
held.Increment 1
AssertError 424, "a member of a number"
