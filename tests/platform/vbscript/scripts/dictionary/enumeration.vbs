' For Each over a Dictionary walks its keys in insertion order.
Dim d, k, s
Set d = CreateObject("Scripting.Dictionary")
d.Add "x", 10
d.Add "y", 20
d.Add "z", 30
s = ""
For Each k In d
  s = s & k & "=" & d(k) & ";"
Next
AssertEqual s, "x=10;y=20;z=30;", "keys in order"
Dim total, item
total = 0
For Each item In d.Items
  total = total + item
Next
AssertEqual total, 60, "For Each over Items"
Dim obj
Set obj = New RegExp
Set d("re") = obj
AssertTrue d("re") Is obj, "an object as an item"
