' Prepares the project of the database of column kinds for the search tests, after
' configure_kinds.vbs:
'   vantorel run configure_search.vbs PROJECT.vtp
' every field of "kinds" and of "finds" is searched by the operator the visitor chooses, and
' visitors who are not logged in may list "finds".
Option Explicit

Dim proj, t, i, sTable
Set proj = CreateObject("vantorel4.AGP")
proj.Load WScript.Arguments(0)
If proj.DB Is Nothing Then
  WScript.Echo "Could not load: " & proj.ProjErr
  WScript.Quit 1
End If

For Each sTable In Array("kinds", "finds")
  Set t = proj.DB.Tables.Item(sTable)
  If t Is Nothing Then
    WScript.Echo "No table " & sTable
    WScript.Quit 1
  End If
  t.TblAnonymous = 31
  For i = 1 To t.Fields.Count
    t.Fields.Seq(i).FldSearch = True
    t.Fields.Seq(i).SetV "FldSrchOpr", "USER SELECT"
  Next
Next

proj.ProjErr = ""
proj.Save WScript.Arguments(0)
If proj.ProjErr <> "" Then
  WScript.Echo "Save failed: " & proj.ProjErr
  WScript.Quit 1
End If
