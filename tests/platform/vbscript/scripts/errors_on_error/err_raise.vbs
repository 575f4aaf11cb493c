' Err.Raise with standard and user-defined numbers.
On Error Resume Next
Err.Raise 5
AssertEqual Err.Description, "Invalid procedure call or argument", "standard description"
AssertError 5, "raised number"

Err.Raise vbObjectError + 513, "MyApp", "Custom failure"
AssertEqual Err.Number, -2147220991, "vbObjectError + 513"
AssertEqual Err.Source, "MyApp", "custom source"
AssertEqual Err.Description, "Custom failure", "custom description"
Err.Clear

Err.Raise 9, , "My own text"
AssertEqual Err.Description, "My own text", "description given for a standard number"
Err.Clear

Err.Number = 11
AssertEqual Err.Number, 11, "Number can be set"
Err.Clear

Err.Raise 0
AssertTrue Err.Number <> 0, "raising 0 is itself an error"
Err.Clear

Err.Raise 5
Err.Raise 6
AssertEqual Err.Description, "Invalid procedure call or argument", "an uncleared description carries over"
Err.Clear
Err.Raise 1025
AssertEqual Err.Description, "Expected end of statement", "a syntax error number has its text"
Err.Clear

Sub LeavesEarly()
  On Error Resume Next
  Err.Raise 6
  Exit Sub
End Sub
LeavesEarly
AssertError 0, "Exit Sub clears Err"
