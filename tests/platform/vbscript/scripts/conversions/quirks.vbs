' Conversions and constants as VBScript gives them.
AssertEqual CDate("1"), #12/31/1899#, "CDate of numeric text counts days"
AssertEqual VarType(CDate("1")), vbDate, "CDate gives a Date"
AssertEqual CDate("-1"), #12/29/1899#, "negative numeric text"
AssertEqual CBool("#TRUE#"), True, "#TRUE#"
AssertEqual CBool("#false#"), False, "#FALSE#"
AssertEqual CBool("True"), True, "plain text still converts"
Dim t
t = Time
AssertTrue t = TimeSerial(Hour(t), Minute(t), Second(t)), "Time holds whole seconds"
AssertEqual Round(True), True, "Round of True"
AssertEqual VarType(Round(True)), vbBoolean, "Round of a Boolean keeps it Boolean"
AssertEqual VarType(Round(False, 2)), vbBoolean, "also with a number of places"
AssertEqual VarType(vbRed), vbLong, "colour constants are Long"
AssertEqual VarType(vbBlack), vbLong, "even black"
Dim boxConstant
For Each boxConstant In Array(vbOKOnly, vbOKCancel, vbAbortRetryIgnore, vbYesNoCancel, vbYesNo, _
    vbRetryCancel, vbCritical, vbQuestion, vbExclamation, vbInformation, vbDefaultButton1, _
    vbDefaultButton2, vbDefaultButton3, vbDefaultButton4, vbApplicationModal, vbSystemModal, _
    vbOK, vbCancel, vbAbort, vbRetry, vbIgnore, vbYes, vbNo)
  AssertEqual VarType(boxConstant), vbInteger, "message-box styles and answers are Integers"
Next
AssertEqual vbSystemModal + vbDefaultButton4 + vbInformation, 4928, "their values"
AssertEqual VarType(vbMsgBoxSetForeground), vbLong, "the extra message-box options stay Long"
AssertEqual VarType(vbTextCompare), vbInteger, "other constants keep the literal's type"
Dim re
Set re = New RegExp
re.Pattern = "b"
AssertEqual re.Replace("abc", True), "a-1c", "True replaces as -1"
AssertEqual re.Replace("abc", 2.5), "a2.5c", "a number replaces as its text"
On Error Resume Next
Dim r
r = FormatNumber(Null)
AssertError 13, "FormatNumber of Null is a type mismatch"
r = FormatCurrency(Null)
AssertError 13, "FormatCurrency of Null"
r = FormatPercent(Null)
AssertError 13, "FormatPercent of Null"
r = FormatDateTime(Null)
AssertError 13, "FormatDateTime of Null"
r = MonthName(Null)
AssertError 13, "MonthName of Null"
r = Mid("abc", Null)
AssertError 94, "a Null start of Mid is an invalid use of Null"
r = InStrRev("abc", "a", Null)
AssertError 94, "a Null start of InStrRev"
AssertTrue IsNull(Mid(Null, 1)), "Mid of Null is Null"
AssertTrue IsNull(InStrRev(Null, "a")), "InStrRev in Null is Null"
On Error GoTo 0
