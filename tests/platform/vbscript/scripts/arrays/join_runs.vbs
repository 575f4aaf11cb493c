' Join over runs of one string, as a builder's buffer holds them (every element a copy of one
' piece), with and without delimiters, runs broken by other values, and the values that send
' the join the general way.
Function Repeat(piece, delimiter, n)
  Dim i, s
  s = ""
  For i = 1 To n
    If i > 1 Then s = s & delimiter
    s = s & piece
  Next
  Repeat = s
End Function

Function Filled(n, value)
  Dim a(), i
  ReDim a(n - 1)
  For i = 0 To n - 1
    a(i) = value
  Next
  Filled = a
End Function

' Runs of every length around the sizes the text is gathered in, with pieces short and long.
Dim cases, c, piece, delimiter, n, a
cases = Array(Array("abcdefghij", "", 1), Array("abcdefghij", "", 2), Array("abcdefghij", "", 103), _
  Array("abcdefghij", "", 2000), Array("abcdefghij", ", ", 2000), Array("x", "", 5000), _
  Array("x", "-", 4097), Array("", "-", 300), Array("", "", 300), _
  Array(String(300, "p"), "", 20), Array(String(300, "p"), "|", 20), _
  Array(String(1500, "q"), "", 5), Array(String(1500, "q"), "::", 5), _
  Array("ab", String(2000, "d"), 4))
For Each c In cases
  piece = c(0)
  delimiter = c(1)
  n = c(2)
  a = Filled(n, piece)
  AssertEqual Join(a, delimiter), Repeat(piece, delimiter, n), _
    "a run of " & n & " pieces of " & Len(piece) & " with a delimiter of " & Len(delimiter)
Next

' Runs broken by other pieces: another string, numbers, Booleans, Empty, an equal string that
' is not the same copy.
Dim mixed(11), expected, i
For i = 0 To 11
  mixed(i) = "run"
Next
mixed(3) = 17
mixed(4) = "other"
mixed(6) = True
mixed(7) = Empty
mixed(9) = "ru" & "n"
mixed(11) = CInt(-5)
expected = "run,run,run,17,other,run,True,,run,run,run,-5"
AssertEqual Join(mixed, ","), expected, "runs broken by other values"
AssertEqual Join(mixed, ""), Replace(expected, ",", ""), "the same without a delimiter"
AssertEqual Join(mixed), Replace(expected, ",", " "), "the same with the default delimiter"

' A delimiter that is not text converts; Null as the delimiter and Null among the pieces raise.
AssertEqual Join(Filled(3, "a"), 0), "a0a0a", "a number as the delimiter"
On Error Resume Next
Dim r
r = Join(Filled(3, "a"), Null)
AssertError 94, "Null as the delimiter"
mixed(5) = Null
r = Join(mixed, ",")
AssertError 94, "Null among the pieces"
On Error GoTo 0

' Values of other kinds go the general way: dates, doubles, an object's default value.
Class Named
  Public Default Property Get Value()
    Value = "named"
  End Property
End Class
Dim others(4)
others(0) = "s"
others(1) = 2.5
Set others(2) = New Named
others(3) = "s"
others(4) = "s"
AssertEqual Join(others, "/"), "s/2.5/named/s/s", "a Double and an object among runs"

' A text of many megabytes from one piece, past the size from which its pages are faulted in.
Dim big
a = Filled(500000, "abcdefghij")
big = Join(a, "")
AssertEqual Len(big), 5000000, "five million characters from one piece"
AssertEqual Mid(big, 4999991), "abcdefghij", "the last piece"
AssertEqual Mid(big, 2500001, 12), "abcdefghijab", "a piece in the middle"
big = Join(a, "+")
AssertEqual Len(big), 5499999, "the same with a delimiter"
AssertEqual Mid(big, 5499979), "abcdefghij+abcdefghij", "its last pieces"
a(250000) = "X"
big = Join(a, "")
AssertEqual Mid(big, 2499991, 21), "abcdefghijXabcdefghij", "a run broken in the middle"
AssertEqual Len(big), 4999991, "its length"

' Many short runs (more than the join keeps track of), alternating two pieces.
Dim alternating(59), expectedAlternating
expectedAlternating = ""
For i = 0 To 59
  If (i \ 3) Mod 2 = 0 Then alternating(i) = "ab" Else alternating(i) = "cde"
  If i > 0 Then expectedAlternating = expectedAlternating & ";"
  expectedAlternating = expectedAlternating & alternating(i)
Next
AssertEqual Join(alternating, ";"), expectedAlternating, "twenty runs of three"
AssertEqual Join(alternating, ""), Replace(expectedAlternating, ";", ""), "the same, no delimiter"
