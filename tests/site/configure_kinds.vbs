' Prepares a project made by "vantorel new" from the database of column kinds for the site tests:
'   vantorel run configure_kinds.vbs PROJECT.vtp TEMPLATE.zip
' names the template set; turns on the login (users of "users" by MD5-hashed passwords, and the
' project's own administrator), makes each row of "notes" its owner's, lets visitors who are not
' logged in list and add notes, adds a report of the notes; lets visitors who are not logged in use "kinds", searched by every one of its fields;
' gives "kinds" captions that would end a page's script if they were written as they are;
' shows the place and the user of a visit by their labels, and adds a report of the visits by
' place, five places a page, with a grand total; and sets up the searches of visit and track.
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

' Adds a report of the table, or ends the run.
Sub AddReport(ByVal sReport, ByVal sSource)
  If Not proj.LoadReport(sReport, sSource) Then
    WScript.Echo "Could not add the report: " & proj.ProjErr
    WScript.Quit 1
  End If
End Sub

Set t = proj.DB.Tables.Item("notes")
t.SetV "TblUserIDFld", "owner_id"
' Visitors not logged in may list and add notes, and own none of them.
t.TblAnonymous = 5
AddReport "notes_report", "notes"

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

Sub Lookup(ByVal f, ByVal sTable, ByVal sValueField, ByVal sDisplayField)
  f.FldHtmlTag = "SELECT"
  f.SetV "FldTagLnkTbl", sTable
  f.SetV "FldTagLnkFld", sValueField
  f.SetV "FldTagLnkDisplay", sDisplayField
End Sub

Set t = proj.DB.Tables.Item("visits")
Lookup t.Fields.Item("place_id"), "places", "id", "label"
Lookup t.Fields.Item("user_id"), "users", "user_id", "login"
AddReport "visits_report", "visits"
Set t = proj.DB.Tables.Item("visits_report")
t.TblRecPerPage = 5
t.SetV "TblRptShowGrandTotal", True
t.Fields.Item("place_id").FldGroupBy = 1
t.Fields.Item("amount").SetV "FldRptAggSum", True

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

' A report of the visits by the time they were seen, two times a page; and one of rows alike in
' every column it orders by, five rows a page, without its key.
AddReport "visit_report", "visit"
Set t = proj.DB.Tables.Item("visit_report")
t.TblRecPerPage = 2
t.Fields.Item("seen_at").FldGroupBy = 1
AddReport "tie_report", "tie"
Set t = proj.DB.Tables.Item("tie_report")
t.TblRecPerPage = 5
t.Fields.Item("id").FldList = False
t.Fields.Item("body").FldList = True

proj.ProjErr = ""
proj.Save WScript.Arguments(0)
If proj.ProjErr <> "" Then
  WScript.Echo "Save failed: " & proj.ProjErr
  WScript.Quit 1
End If
