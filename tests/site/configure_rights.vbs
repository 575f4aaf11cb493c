' Prepares a project made by "vantorel new" from the database of rights for the site tests:
'   vantorel run configure_rights.vbs PROJECT.vtp TEMPLATE.zip
' turns on the login (users of "users" by MD5-hashed passwords, and the project's own
' administrator), makes each invoice its user's, makes the lines details of the invoices and the
' notes details of the lines (neither has a user id field of its own), lets visitors who are not
' logged in list lines, and adds a report of the lines.
Option Explicit

Dim proj, t
Set proj = CreateObject("vantorel4.AGP")
proj.Load WScript.Arguments(0)
If proj.DB Is Nothing Then
  WScript.Echo "Could not load: " & proj.ProjErr
  WScript.Quit 1
End If
proj.SetV "Template", WScript.Arguments(1)
proj.SetV "ExportCsv", True
proj.SetV "SecType", "Both"
proj.SetV "SecLoginID", "admin"
proj.SetV "SecPasswd", "5ebe2294ecd0e0f08eab7690d2a6ee69"
proj.SetV "SecTbl", "users"
proj.SetV "SecLoginIDFld", "login"
proj.SetV "SecPasswdFld", "pwd"
proj.SetV "MD5Password", True
proj.DB.SecuUserIDFld = "user_id"

proj.DB.Tables.Item("invoice").SetV "TblUserIDFld", "user_id"

Sub MakeDetail(ByVal sDetail, ByVal sDetailField, ByVal sMaster)
  Dim t
  Set t = proj.DB.Tables.Item(sDetail)
  t.SetV "TblMasterTbl", sMaster
  t.SetV "TblMasterFld", "id"
  t.SetV "TblDetailFld", sDetailField
End Sub
MakeDetail "invoice_line", "invoice_id", "invoice"
MakeDetail "line_note", "line_id", "invoice_line"
proj.DB.Tables.Item("invoice_line").TblAnonymous = 1

If Not proj.LoadReport("line_report", "invoice_line") Then
  WScript.Echo "Could not add the report: " & proj.ProjErr
  WScript.Quit 1
End If

proj.ProjErr = ""
proj.Save WScript.Arguments(0)
If proj.ProjErr <> "" Then
  WScript.Echo "Save failed: " & proj.ProjErr
  WScript.Quit 1
End If
