' Arguments to methods of script classes: the same passing rules as procedures, through the
' object's own calls.
Class Counter
  Public items(3)
  Private m_total
  Public Sub AddOne(x)
    x = x + 1
  End Sub
  Public Sub AddOneByVal(ByVal x)
    x = x + 1
  End Sub
  Public Function Resized(ByVal a)
    ReDim Preserve a(5)
    Resized = UBound(a)
  End Function
  Public Property Get Item(i)
    Item = items(i)
  End Property
  Public Sub BumpOwn()
    AddOne items(0)
    AddOne m_total
  End Sub
  Public Property Get Total()
    Total = m_total
  End Property
  Public Function Depth(n)
    Depth = Depth(n + 1)
  End Function
End Class

Dim c, arr(2), fixedArr(2), calls
Set c = New Counter
arr(1) = 10
c.AddOne arr(1)
AssertEqual arr(1), 11, "an element passed to a ByRef parameter is stored back"
c.AddOneByVal arr(1)
AssertEqual arr(1), 11, "an element passed ByVal is not"
c.AddOne (arr(1))
AssertEqual arr(1), 11, "parentheses pass a copy"
c.AddOne c.items(2)
AssertEqual c.items(2), Empty, "a property's element is a copy"
c.BumpOwn
c.BumpOwn
AssertEqual c.items(0), 2, "a field's element passed inside the class"
AssertEqual c.Total, 2, "a field passed by reference inside the class"
AssertEqual c.Resized(fixedArr), 5, "a fixed array passed ByVal can be resized"
AssertEqual UBound(fixedArr), 2, "the caller's fixed array is unchanged"
c.items(3) = "three"
AssertEqual c.Item(3), "three", "a property with an index"

Function Noted()
  calls = calls + 1
  Noted = 1
End Function
On Error Resume Next
calls = 0
c.AddOne Noted(), Noted()
AssertError 450, "too many arguments"
AssertEqual calls, 2, "the arguments run before the count is checked"
x = c.Depth(0)
AssertError 28, "endless recursion through a method"
Dim grid(2, 2)
x = grid(1)
AssertError 9, "one index of a two-dimensional array"
On Error GoTo 0

' & and Join on the numbers string building meets.
AssertEqual "c" & 12, "c12", "text and Long"
AssertEqual -5 & "x", "-5x", "negative number and text"
AssertEqual CInt(7) & CLng(-2147483647), "7-2147483647", "Integer and Long"
AssertEqual "" & "", "", "two empty strings"
AssertEqual Empty & 3, "3", "Empty and a number"
AssertEqual Join(Array(1, CInt(-2), "a", 2147483647), "|"), "1|-2|a|2147483647", "Join of numbers"
AssertEqual CLng(-2147483647) - 1 & "", "-2147483648", "the most negative Long"
AssertEqual CInt(-32768) & CInt(0), "-327680", "the most negative Integer and zero"
Dim shared
shared = "abc"
AssertEqual "" & shared, "abc", "nothing before a string"
AssertEqual shared & "", "abc", "nothing after a string"
AssertEqual TypeName("" & 0), "String", "nothing before a number gives text"
AssertEqual Join(Array("a", 1.5, True, Empty, CLng(-7)), ","), "a,1.5,True,,-7", "Join of other kinds"
AssertEqual Join(Array(), ","), "", "Join of no elements"
AssertEqual Join(Array(""), ","), "", "Join of one empty string"
