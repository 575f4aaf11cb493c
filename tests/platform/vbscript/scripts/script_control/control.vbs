' A script control created from script: names, property values and errors.
Dim sc
Set sc = CreateObject("MSScriptControl.ScriptControl")
sc.Language = "VBScript"
sc.Modules.Add "Extra"
On Error Resume Next
sc.Modules.Add "extra"
AssertError 457, "a module name in use"
sc.Timeout = -2
AssertError 380, "a timeout below -1"
On Error GoTo 0
AssertEqual sc.Error.Description, "Invalid property value", "what Error reports"
