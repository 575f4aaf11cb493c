' On Error Resume Next and the Err object.
On Error Resume Next
Dim x
x = 1 / 0
AssertEqual Err.Number, 11, "Err.Number after division by zero"
AssertEqual Err.Description, "Division by zero", "standard description"
AssertEqual Err.Source, "Microsoft VBScript runtime error", "runtime error source"
Err.Clear
AssertEqual Err.Number, 0, "Clear resets Number"
AssertEqual Err.Description, "", "Clear resets Description"

Dim ran
ran = False
x = CInt("abc") : ran = True
AssertEqual ran, True, "execution resumes with the next statement"
AssertError 13, "type mismatch"

x = 1 / 0
On Error Resume Next
AssertEqual Err.Number, 0, "On Error Resume Next clears Err"

x = 5
AssertEqual Err.Number, 0, "a good statement leaves Err alone"
AssertTrue Err = 0, "Number is Err's default member"
