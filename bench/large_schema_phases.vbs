' The steps of `vantorel new` and `vantorel check` one by one, each with its wall time and the
' process's resident set after it (now and at its peak so far), for bench/large_schema.sh. The
' project is saved without the check of the database at loading, so that reading the file
' ("Load") and the check of the database ("CheckDB", which must find no difference) are timed
' apart; `vantorel check` does both when it opens the project.
'
'   vantorel run bench/large_schema_phases.vbs CONNECTION PROJECT.vtp SITE_FOLDER
'
' One line a step: "phase NAME SECONDS RSS_MB PEAK_MB". Any failure ends the run with code 1.
Option Explicit

Dim fso
Set fso = CreateObject("Scripting.FileSystemObject")

' A line of /proc/self/status in megabytes ("VmRSS", "VmHWM").
Function StatusMB(ByVal sKey)
  Dim stream, line
  StatusMB = 0
  Set stream = fso.OpenTextFile("/proc/self/status")
  Do While Not stream.AtEndOfStream
    line = stream.ReadLine
    If Left(line, Len(sKey) + 1) = sKey & ":" Then
      StatusMB = CLng(Trim(Replace(Mid(line, Len(sKey) + 2), "kB", ""))) / 1024
    End If
  Loop
  stream.Close
End Function

Sub Report(ByVal sName, ByVal started, ByVal proj)
  If Not proj Is Nothing Then
    If proj.ProjErr <> "" Then
      WScript.Echo sName & " failed: " & proj.ProjErr
      WScript.Quit 1
    End If
  End If
  WScript.Echo "phase " & sName & " " & FormatNumber(Timer - started, 2, True, False, False) & _
               " " & FormatNumber(StatusMB("VmRSS"), 1, True, False, False) & _
               " " & FormatNumber(StatusMB("VmHWM"), 1, True, False, False)
End Sub

If WScript.Arguments.Count <> 3 Then
  WScript.Echo "usage: vantorel run large_schema_phases.vbs CONNECTION PROJECT.vtp SITE_FOLDER"
  WScript.Quit 2
End If

Dim connection, path, site, proj, started
connection = WScript.Arguments(0)
path = WScript.Arguments(1)
site = WScript.Arguments(2)

Report "start", Timer, Nothing
Set proj = CreateObject("vantorel4.AGP")
proj.ProjErr = ""
proj.AddProj "phases"
started = Timer
proj.LoadDB "", "ADO", "", "", False, "", "", connection, ""
Report "LoadDB", started, proj
proj.SetV "AutoSync", False
started = Timer
proj.Save path
Report "Save", started, proj
started = Timer
Set proj = Nothing
Report "release", started, Nothing

Set proj = CreateObject("vantorel4.AGP")
proj.ProjErr = ""
started = Timer
proj.Load path
Report "Load", started, proj
Dim differences
started = Timer
differences = proj.CheckDB()
Report "CheckDB", started, proj
If differences <> 0 Then
  WScript.Echo "CheckDB found " & differences & " differences in an unchanged database"
  WScript.Quit 1
End If
proj.SetV "Destination", site
started = Timer
proj.GenCheck
Report "GenCheck", started, proj
