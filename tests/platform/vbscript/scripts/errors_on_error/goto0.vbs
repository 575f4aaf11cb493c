' On Error GoTo 0 turns handling off again; Execute shows the error to the caller.
On Error Resume Next
Execute "On Error GoTo 0 : Dim q : q = 1 / 0"
AssertError 11, "error inside Execute reaches the script"
Dim local
local = "set"
On Error GoTo 0
AssertEqual local, "set", "handling off, script continues normally"
