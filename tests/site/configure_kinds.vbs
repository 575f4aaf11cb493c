' Prepares a project made by "vantorel new" from the database of column kinds for the site tests:
'   vantorel run configure_kinds.vbs PROJECT.vtp TEMPLATE.zip
' names the template set; turns on the login (users of "users" by MD5-hashed passwords, and the
' project's own administrator), makes each row of "notes" its owner's, adds a report of the
' notes; lets visitors who are not logged in use "kinds", searched by every one of its fields;
' gives "kinds" captions that would end a page's script if they were written as they are; and
' sets up the searches of visits and tracks.
Option Explicit

Dim proj, t, f, i
Set proj = CreateObject("vantorel4.AGP")
proj.Load WScript.Arguments(0)
If proj.DB Is Nothing Then
  WScript.Echo "Could not load: " & proj.ProjErr
  WScript.Quit 1
End If
proj.SetV "Template", WScript.Arguments(1)
proj.SetV "RecPerPageList", "5,10,ALL"
proj.SetV "ExportCsv", True
proj.SetV "SecType", "Both"
proj.SetV "SecLoginID", "admin"
proj.SetV "SecPasswd", "5ebe2294ecd0e0f08eab7690d2a6ee69"
proj.SetV "SecTbl", "users"
proj.SetV "SecLoginIDFld", "login"
proj.SetV "SecPasswdFld", "pwd"
proj.SetV "MD5Password", True
proj.DB.SecuUserIDFld = "user_id"

Set t = proj.DB.Tables.Item("notes")
t.SetV "TblUserIDFld", "owner_id"
If Not proj.LoadReport("notes_report", "notes") Then
  WScript.Echo "Could not add the report: " & proj.ProjErr
  WScript.Quit 1
End If

Set t = proj.DB.Tables.Item("kinds")
t.TblAnonymous = 31
t.TblCaption = "Kinds %><% Response.Write ""HACKED"" %>"
For i = 1 To t.Fields.Count
  Set f = t.Fields.Seq(i)
  f.FldSearch = True
  f.FldBasicSearch = True
Next
t.Fields.Item("note").FldDefault = "Say ""hi"" %>" & vbCrLf & "<% Response.Write 2 %>"
t.Fields.Item("name").FldCaption = "Name ""%>"" <% Response.Write ""HACKED"" %>"
proj.DB.Tables.Item("gone").TblAnonymous = 31

' Visits are searched by a range of days and of times; the database fills "made", whose default
' PostgreSQL's loader reads and the others' do not: it is given as a user would give it.
Set t = proj.DB.Tables.Item("visit")
For Each i In Array("day_on", "seen_at")
  Set f = t.Fields.Item(i)
  f.FldSearch = True
  f.SetV "FldSrchOpr", "BETWEEN"
Next
Set f = t.Fields.Item("made")
If f.FldDefault & "" = "" Then f.FldDefault = "CURRENT_TIMESTAMP"
proj.DB.Tables.Item("track").Fields.Item("title").FldBasicSearch = True

proj.ProjErr = ""
proj.Save WScript.Arguments(0)
If proj.ProjErr <> "" Then
  WScript.Echo "Save failed: " & proj.ProjErr
  WScript.Quit 1
End If
