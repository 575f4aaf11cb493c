' Creates a project through the automation object model, saves it as a project file and reads
' it back into a second project object.
'
'   vantorel run examples/project_round_trip.vbs [path of the project file]
'
' The project has no database yet, so the load reads its settings and then says so in ProjErr.
Option Explicit

Dim path, proj, copy
If WScript.Arguments.Count > 0 Then
  path = WScript.Arguments(0)
Else
  path = "example.vtp"
End If

Set proj = CreateObject("vantorel4.AGP")
proj.AddProj "Example Shop"
proj.SetV "AppHeader", "Welcome to the shop"
proj.MultiLanguage = True
proj.Save path
If proj.ProjErr <> "" Then
  WScript.Echo "Save failed: " & proj.ProjErr
  WScript.Quit 1
End If
WScript.Echo "Saved " & path

Set copy = CreateObject("vantorel4.AGP")
copy.Load path
WScript.Echo "Load: " & copy.ProjErr
WScript.Echo "ProjName: " & copy.ProjName
WScript.Echo "ProjVar: " & copy.ProjVar
WScript.Echo "AppHeader: " & copy.GetV("AppHeader")
WScript.Echo "MultiLanguage: " & copy.MultiLanguage
