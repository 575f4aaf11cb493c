' The Err object's texts, numbers and help fields.
Option Explicit
Dim d, o
On Error Resume Next
d = undefinedName
AssertEqual Err.Description, "Variable is undefined", "the bare message, without the name"
AssertError 500, "undefined variable"
Set o = CreateObject("Scripting.Dictionary")
o.NoSuchMember
AssertEqual Err.Description, "Object doesn't support this property or method", "no member name"
AssertError 438, "missing member"

Err.Raise &H8007000E
AssertEqual Err.Number, 7, "E_OUTOFMEMORY is Out of memory"
AssertEqual Err.Description, "Out of memory", "its text"
Err.Clear
Err.Raise &H800A0009
AssertError 9, "a FACILITY_CONTROL HRESULT"
Err.Raise &H80070057
AssertError 5, "E_INVALIDARG"
Err.Raise &H10000
AssertError 5, "a number beyond 16 bits that is no HRESULT"
Err.Raise vbObjectError + 1
AssertEqual Err.Number, vbObjectError + 1, "vbObjectError numbers stay"
Err.Clear

Err.Raise 1000, "src", "desc", "help.chm", 42
AssertEqual Err.HelpFile, "help.chm", "HelpFile from Raise"
AssertEqual Err.HelpContext, 42, "HelpContext from Raise"
d = 1 / 0
AssertEqual Err.Number, 11, "a later runtime error"
AssertEqual Err.HelpFile, "", "resets HelpFile"
AssertEqual Err.HelpContext, 0, "and HelpContext"
Err.Clear
