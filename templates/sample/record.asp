Pages of one record: view, add, edit and delete, and the download of a field's file.

<!--##session keywhere##-->
' The condition that names the record the request's key asks for; nothing matches a key that is
' missing or of the wrong kind.
Function KeyWhere(ByVal q)
  Dim s
  s = ""
<!--## Dim keyField ##-->
<!--## For Each keyField In KeyFields() ##-->
  s = AndWhere(s, EqualTerm(q, <!--##=NameExpr(keyField)##-->, Request.QueryString("k_<!--##=keyField.FldParm##-->"), <!--##=Lit(ParamKind(keyField))##-->))
<!--## Next ##-->
  If s = "" Then s = "1 = 0"
  ' A user's key names only his own rows; another's answers as a key that is not there.
  KeyWhere = AndWhere(s, <!--##=OwnerTermExpr(TABLE, "q")##-->)
End Function

' Whether the record the request's key names is there (and the visitor's to see).
Function RecordFound()
  Dim q
  Set q = NewQuery()
  RecordFound = (q.Open("SELECT COUNT(*) FROM " & QName(<!--##=Lit(TABLE.TblName)##-->) & " WHERE " & KeyWhere(q))(0).Value > 0)
End Function
<!--##/session##-->

<!--##session masterkey##-->
<!--## If MasterKeyChecked() Then ##-->
' Whether a master key names a master row the visitor may see: a user's lines go only into his
' own invoices.
Function MasterRowSeen(ByVal v)
  Dim q
  Set q = NewQuery()
  MasterRowSeen = (q.Open("SELECT COUNT(*) FROM " & <!--##=FromExpr(MasterTableOf(TABLE))##--> & " WHERE " & AndWhere(EqualTerm(q, QName(<!--##=Lit(TABLE.GetV("TblMasterFld") & "")##-->), v, <!--##=Lit(ParamKind(DetailFieldOf(TABLE)))##-->), <!--##=OwnerTermExpr(MasterTableOf(TABLE), "q")##-->))(0).Value > 0)
End Function
<!--## End If ##-->
<!--##/session##-->

<!--##session storedfiles##-->
<!--## Dim storedField, storedIndex ##-->
' The files of the upload folder the record names, read before it is changed or deleted, and
' removed after that once no row names them.
Dim vsOldFiles
vsOldFiles = Array()

Function StoredFiles()
  Dim q, rs
  Set q = NewQuery()
  Set rs = q.Open("SELECT " & <!--##=StoredFilesColumnsExpr()##--> & " FROM " & QName(<!--##=Lit(TABLE.TblName)##-->) & " WHERE " & KeyWhere(q))
  StoredFiles = Array()
  If Not rs.EOF Then StoredFiles = Array(<!--##=StoredFilesValuesExpr("rs")##-->)
  rs.Close
End Function

Sub DropUnusedFiles(ByVal aNames)
  If UBound(aNames) < 0 Then Exit Sub
<!--## storedIndex = 0 ##-->
<!--## For Each storedField In StoredFileFields() ##-->
  DropUnusedFile <!--##=Lit(StoredUploadFolder(storedField))##-->, aNames(<!--##=storedIndex##-->)
<!--## storedIndex = storedIndex + 1 ##-->
<!--## Next ##-->
End Sub

' A file that cannot be removed stays, noted in the server's log: the change itself is made.
Sub DropUnusedFile(ByVal sFolder, ByVal sName)
  Dim fso, sPath
  If Not IsPlainFileName(sName) Then Exit Sub
  If FileStillNamed(sFolder, sName) Then Exit Sub
  Set fso = Server.CreateObject("Scripting.FileSystemObject")
  sPath = fso.BuildPath(Server.MapPath(sFolder), sName)
  On Error Resume Next
  If fso.FileExists(sPath) Then fso.DeleteFile sPath, True
  If Err.Number <> 0 Then LogProblem Err.Description
  On Error GoTo 0
End Sub

' Whether a row of any table whose files lie in the folder still names the file.
Function FileStillNamed(ByVal sFolder, ByVal sName)
  Dim q
  FileStillNamed = True
<!--## For Each storedField In StoredFileUses() ##-->
  If sFolder = <!--##=Lit(storedField(2))##--> Then
    Set q = NewQuery()
    If q.Open("SELECT COUNT(*) FROM " & QName(<!--##=Lit(storedField(0))##-->) & " WHERE " & QName(<!--##=Lit(storedField(1))##-->) & " = " & q.Param(sName, "text"))(0).Value > 0 Then Exit Function
  End If
<!--## Next ##-->
  FileStillNamed = False
End Function
<!--##/session##-->

<!--##session password##-->
' A new password as the login compares it: its MD5 digest while the project stores digests.
Function StoredPassword(ByVal s)
  StoredPassword = Null
  If Trim(s & "") = "" Then Exit Function
<!--## If IsOn(PROJ.GetV("MD5Password")) Then ##-->
  StoredPassword = Md5Hex(s & "")
<!--## Else ##-->
  StoredPassword = s & ""
<!--## End If ##-->
End Function
<!--##/session##-->

<!--##session common##-->
' The master record a detail page came from, kept in its links and its way back.
Dim vsMaster, vsMasterQuery, vsRights
vsMaster = Request.QueryString("master") & ""
vsMasterQuery = ""
If vsMaster <> "" Then vsMasterQuery = "master=" & UrlPart(vsMaster)
vsRights = <!--##=RightsExpr(TABLE)##-->
vsPageTitle = ReportLanguage.TablePhrase(<!--##=Lit(LCase(TABLE.TblVar))##-->, "tblcaption", <!--##=Lit(TableCaption(TABLE))##-->)

Function ListUrl()
  ListUrl = <!--##=Lit(PageFile(TABLE.TblVar, "", "list"))##-->
  If vsMasterQuery <> "" Then ListUrl = ListUrl & "?" & vsMasterQuery
End Function

' The query string of this record, and the master when there is one.
Function RecordQuery()
  RecordQuery = <!--##=KeyQuery("")##-->
  If vsMasterQuery <> "" Then RecordQuery = RecordQuery & "&" & vsMasterQuery
End Function
<!--##/session##-->

<!--##session caption##-->
<%= Html(ReportLanguage.FieldPhrase(<!--##=Lit(LCase(TABLE.TblVar))##-->, <!--##=Lit(LCase(recordField.FldParm))##-->, "fldcaption", <!--##=Lit(FieldCaption(recordField))##-->)) %>
<!--##/session##-->

<!--##session value##-->
<!--## If UCase(recordField.FldHtmlTag & "") = "FILE" And ValueKind(recordField) = "binary" Then ##-->
<% If vsRs("vs_has_<!--##=recordField.FldParm##-->").Value = 1 Then %>
<!--##   If UCase(recordField.FldViewTag & "") = "IMAGE" Then ##-->
<img src="<!--##=PageFile(TABLE.TblVar, recordField.FldParm, "download")##-->?<%= Html(RecordQuery()) %>" alt="">
<!--##   Else ##-->
<a href="<!--##=PageFile(TABLE.TblVar, recordField.FldParm, "download")##-->?<%= Html(RecordQuery()) %>"><%= P("download") %></a>
<!--##   End If ##-->
<% End If %>
<!--## ElseIf UCase(recordField.FldHtmlTag & "") = "FILE" Then ##-->
<% If vsRs(<!--##=Lit(recordField.FldName)##-->).Value & "" <> "" Then %>
<!--##   If UCase(recordField.FldViewTag & "") = "IMAGE" Then ##-->
<img src="<!--##=PageFile(TABLE.TblVar, recordField.FldParm, "download")##-->?<%= Html(RecordQuery()) %>" alt="">
<!--##   Else ##-->
<a href="<!--##=PageFile(TABLE.TblVar, recordField.FldParm, "download")##-->?<%= Html(RecordQuery()) %>"><%= Html(vsRs(<!--##=Lit(recordField.FldName)##-->).Value) %></a>
<!--##   End If ##-->
<% End If %>
<!--## ElseIf ValueKind(recordField) = "binary" Then ##-->
&nbsp;
<!--## ElseIf UCase(recordField.FldViewTag & "") = "IMAGE" Then ##-->
<% If vsRs(<!--##=Lit(recordField.FldName)##-->).Value & "" <> "" Then %>
<img src="<!--##=HtmlText(UploadFolder(recordField))##-->/<%= Html(UrlPart(vsRs(<!--##=Lit(recordField.FldName)##-->).Value)) %>" alt="">
<% End If %>
<!--## Else ##-->
<%= <!--##=ShowExpr(recordField, "vsRs")##--> %>
<!--## End If ##-->
<!--##/session##-->

<!--##session view##-->
<!--## Dim recordField, viewLink, viewDetail, viewMasterField ##-->
<%
' One record of <!--##=CommentText(TableCaption(TABLE))##-->.
Dim vsQ, vsRs, vsFound
<!--##include record.asp/common##-->
<!--##include record.asp/keywhere##-->
RequireRight vsRights, vsRightView
Set vsQ = NewQuery()
Set vsRs = vsQ.Open("SELECT " & <!--##=RecordColumnsExpr("FldView")##--> & " FROM " & <!--##=FromExpr(TABLE)##--> & " WHERE " & KeyWhere(vsQ))
vsFound = Not vsRs.EOF
If Not vsFound Then
  Response.Status = "404 Not Found"
  vsMessage = P("notfound")
End If
%>
<!--##include page.asp/pagestart##-->
<h2><%= Html(vsPageTitle) %></h2>
<% If vsFound Then %>
<table class="record">
<!--## For Each recordField In FieldsWith("FldView") ##-->
<tr>
<th><!--##include record.asp/caption##--></th>
<td><!--##include record.asp/value##--></td>
</tr>
<!--## Next ##-->
</table>
<p class="actions">
<a href="<%= Html(ListUrl()) %>"><%= P("list") %></a>
<!--## For Each viewLink In RecordLinks() ##-->
<!--## If viewLink <> "view" Then ##-->
<% If (vsRights And <!--##=RightConst(viewLink)##-->) <> 0 Then %><a href="<!--##=PageFile(TABLE.TblVar, "", viewLink)##-->?<%= Html(RecordQuery()) %>"><%= P(<!--##=Lit(viewLink)##-->) %></a><% End If %>
<!--## End If ##-->
<!--## Next ##-->
</p>
<!--## If UBound(DetailTables()) >= 0 Then ##-->
<h3><!--##@details##--></h3>
<ul class="details">
<!--## For Each viewDetail In DetailTables() ##-->
<!--## Set viewMasterField = FindField(TABLE, viewDetail.GetV("TblMasterFld") & "") ##-->
<!--## If Not viewMasterField Is Nothing Then ##-->
<li><a href="<!--##=PageFile(viewDetail.TblVar, "", "list")##-->?master=<%= Html(UrlPart(vsRs(<!--##=Lit(viewMasterField.FldName)##-->).Value)) %>"><%= Html(ReportLanguage.TablePhrase(<!--##=Lit(LCase(viewDetail.TblVar))##-->, "tblcaption", <!--##=Lit(TableCaption(viewDetail))##-->)) %></a></li>
<!--## End If ##-->
<!--## Next ##-->
</ul>
<!--## End If ##-->
<% End If %>
<% vsRs.Close %>
<!--##include page.asp/pageend##-->
<!--##/session##-->

<!--##session formread##-->
<!--## For Each recordField In FormFields(formMode) ##-->
<!--##   If IsChoiceGroup(recordField) Then ##-->
<!--##=recordField.FldVar##--> = PostedSet("<!--##=recordField.FldVar##-->")
<!--##   ElseIf IsSingleBox(recordField) Then ##-->
<!--##=recordField.FldVar##--> = PostedBox("<!--##=recordField.FldVar##-->")
<!--##   Else ##-->
<!--##=recordField.FldVar##--> = Posted("<!--##=recordField.FldVar##-->")
<!--##   End If ##-->
<!--##   If IsPasswordField(recordField) Then ##-->
vsMessage = vsMessage & CheckValue(<!--##=recordField.FldVar##-->, "text", <!--##=IsOn(recordField.FldRequired) And formMode = "add"##-->, <!--##=PasswordMaxLength(recordField)##-->, ReportLanguage.FieldPhrase(<!--##=Lit(LCase(TABLE.TblVar))##-->, <!--##=Lit(LCase(recordField.FldParm))##-->, "fldcaption", <!--##=Lit(FieldCaption(recordField))##-->))
<!--##   ElseIf formMode = "edit" Then ##-->
' A value sent back as the form showed it is the row's own: neither checked nor written.
vsSame(<!--##=EditValueIndex(recordField)##-->) = SameFormValue(<!--##=recordField.FldVar##-->, vsStored(<!--##=EditValueIndex(recordField)##-->), <!--##=Lit(FormKind(recordField))##-->)
If Not vsSame(<!--##=EditValueIndex(recordField)##-->) Then vsMessage = vsMessage & CheckValue(<!--##=recordField.FldVar##-->, <!--##=Lit(FormKind(recordField))##-->, <!--##=FormRequires(recordField, formMode)##-->, <!--##=LimitExpr(recordField)##-->, ReportLanguage.FieldPhrase(<!--##=Lit(LCase(TABLE.TblVar))##-->, <!--##=Lit(LCase(recordField.FldParm))##-->, "fldcaption", <!--##=Lit(FieldCaption(recordField))##-->))
<!--##   Else ##-->
vsMessage = vsMessage & CheckValue(<!--##=recordField.FldVar##-->, <!--##=Lit(FormKind(recordField))##-->, <!--##=FormRequires(recordField, formMode)##-->, <!--##=LimitExpr(recordField)##-->, ReportLanguage.FieldPhrase(<!--##=Lit(LCase(TABLE.TblVar))##-->, <!--##=Lit(LCase(recordField.FldParm))##-->, "fldcaption", <!--##=Lit(FieldCaption(recordField))##-->))
<!--##   End If ##-->
<!--##   If MasterKeyChecked() And recordField.FldName = TABLE.GetV("TblDetailFld") & "" Then ##-->
<!--##     If formMode = "edit" Then ##-->
If Not vsSame(<!--##=EditValueIndex(recordField)##-->) And RowsLimited() Then
<!--##     Else ##-->
If RowsLimited() Then
<!--##     End If ##-->
  If Not MasterRowSeen(<!--##=recordField.FldVar##-->) Then vsMessage = vsMessage & P("inuse") & "<br>"
End If
<!--##   End If ##-->
<!--## Next ##-->
<!--## If UserIdFieldInForm(formMode) Then ##-->
' A user's rows are his own whatever the form says.
If RowsLimited() Then <!--##=UserIdFieldOf(TABLE).FldVar##--> = VisitorUserId()
<!--## End If ##-->
<!--## For Each recordField In UploadFields(formMode) ##-->
<!--##   If IsOn(recordField.FldRequired) And formMode = "add" Then ##-->
If Not UploadSent("<!--##=recordField.FldVar##-->") Then vsMessage = vsMessage & CheckValue("", "text", True, 0, ReportLanguage.FieldPhrase(<!--##=Lit(LCase(TABLE.TblVar))##-->, <!--##=Lit(LCase(recordField.FldParm))##-->, "fldcaption", <!--##=Lit(FieldCaption(recordField))##-->))
<!--##   End If ##-->
<!--## Next ##-->
<!--##/session##-->

<!--##session uploadread##-->
<!--## If HasUploads(formMode) Then ##-->
' A post too large, or one that is no form, stores nothing: the form comes again with a message.
vsUploadProblem = ReadUpload(<!--##=MaxUploadBytes()##-->)
If vsUploadProblem = "badupload" Then Refuse "400 Bad Request", "badupload"
If vsUploadProblem = "toobig" Then
  Response.Status = "413 Request Entity Too Large"
  vsMessage = TooBigMessage(<!--##=MaxUploadBytes()##-->)
Else
  CheckToken
End If
<!--## Else ##-->
CheckToken
<!--## End If ##-->
<!--##/session##-->

<!--##session uploadcolumns##-->
<!--## Dim infoField, infoNames, infoSetting ##-->
<!--## For Each recordField In UploadFields(formMode) ##-->
<!--##
  infoNames = ""
  For Each infoSetting In Array("FileNameFld", "FileTypeFld", "FileSizeFld")
    Set infoField = FileInfoField(recordField, infoSetting)
    If infoField Is Nothing Then
      infoNames = infoNames & ", """""
    Else
      infoNames = infoNames & ", " & NameExpr(infoField)
    End If
  Next
##-->
    vsParts = UploadColumns(vsQ, "<!--##=recordField.FldVar##-->", <!--##=NameExpr(recordField)##-->, <!--##=Lit(ValueKind(recordField))##-->, <!--##=Lit(StoredUploadFolder(recordField))##--><!--##=infoNames##-->)
    For vsI = 0 To UBound(vsParts) Step 2
<!--##   If formMode = "add" Then ##-->
      vsColumns = vsColumns & ", " & vsParts(vsI)
      vsValues = vsValues & ", " & vsParts(vsI + 1)
<!--##   Else ##-->
      vsSet = vsSet & ", " & vsParts(vsI) & " = " & vsParts(vsI + 1)
<!--##   End If ##-->
    Next
<!--## Next ##-->
<!--##/session##-->

<!--##session uploadinputs##-->
<!--## For Each recordField In UploadFields(formMode) ##-->
<tr>
<th><!--##include record.asp/caption##--><!--## If IsOn(recordField.FldRequired) And formMode = "add" Then ##--> *<!--## End If ##--></th>
<td><input type="file" name="<!--##=recordField.FldVar##-->"<!--## If UCase(recordField.FldViewTag & "") = "IMAGE" Then ##--> accept="image/*"<!--## End If ##-->>
<!--##   If formMode = "edit" Then ##-->
<% If vsHas_<!--##=recordField.FldParm##--> Then %><a href="<!--##=PageFile(TABLE.TblVar, recordField.FldParm, "download")##-->?<%= Html(RecordQuery()) %>"><%= P("download") %></a><!--##     If Not IsOn(recordField.FldRequired) Then ##--> <label><input type="checkbox" name="<!--##=recordField.FldVar##-->_remove" value="1"> <%= P("removefile") %></label><!--##     End If ##--><% End If %>
<!--##   End If ##-->
</td>
</tr>
<!--## Next ##-->
<!--##/session##-->

<!--##session formfields##-->
<%= TokenField() %>
<table class="record">
<!--## For Each recordField In FormFields(formMode) ##-->
<tr>
<th><!--##include record.asp/caption##--><!--## If FormRequires(recordField, formMode) Then ##--> *<!--## End If ##--></th>
<!--## If IsPasswordField(recordField) Then ##-->
<td><input type="password" name="<!--##=recordField.FldVar##-->" value="" autocomplete="new-password"<!--## If IsOn(recordField.FldRequired) And formMode = "add" Then ##--> required<!--## End If ##-->><!--## If formMode = "edit" Then ##--> <%= P("keeppassword") %><!--## End If ##--></td>
<!--## ElseIf formMode = "add" And IsMasterField(recordField) Then ##-->
<td><% If vsMaster <> "" Then %><input type="hidden" name="<!--##=recordField.FldVar##-->" value="<%= Html(vsMaster) %>"><%= Html(<!--##=ShowExprOf(recordField, "vsMaster")##-->) %><% Else %><%= FieldInput("<!--##=recordField.FldVar##-->", <!--##=recordField.FldVar##-->, <!--##=Lit(recordField.FldHtmlTag)##-->, <!--##=Lit(FormKind(recordField))##-->, <!--##=RequiredExpr(recordField, formMode)##-->, <!--##=InputChoices(recordField)##-->, <!--##=Whole(recordField.FldTagSize)##-->, <!--##=LimitExpr(recordField)##-->, <!--##=Whole(recordField.FldTagRows)##-->, <!--##=Whole(recordField.FldTagCols)##-->) %><% End If %></td>
<!--## Else ##-->
<td><%= FieldInput("<!--##=recordField.FldVar##-->", <!--##=recordField.FldVar##-->, <!--##=Lit(recordField.FldHtmlTag)##-->, <!--##=Lit(FormKind(recordField))##-->, <!--##=RequiredExpr(recordField, formMode)##-->, <!--##=InputChoices(recordField)##-->, <!--##=Whole(recordField.FldTagSize)##-->, <!--##=LimitExpr(recordField)##-->, <!--##=Whole(recordField.FldTagRows)##-->, <!--##=Whole(recordField.FldTagCols)##-->) %></td>
<!--## End If ##-->
</tr>
<!--## Next ##-->
<!--##include record.asp/uploadinputs##-->
</table>
<!--##/session##-->

<!--##session add##-->
<!--## Dim recordField, formMode ##-->
<!--## formMode = "add" ##-->
<!--## If HasUploads(formMode) Then ##-->
<!--#include file="upload.asp"-->
<!--## End If ##-->
<%
' A new record of <!--##=CommentText(TableCaption(TABLE))##-->. A master page may send the key of the record
' the new one belongs to.
Dim vsQ, vsColumns, vsValues, vsParts, vsI
<!--##~ FormDims(formMode) ##-->
<!--##include record.asp/common##-->
<!--##include record.asp/masterkey##-->
<!--## If FormTakesPassword(formMode) Then ##-->
<!--##include record.asp/password##-->
<!--## End If ##-->
RequireRight vsRights, vsRightAdd
<!--##include record.asp/uploadread##-->
If IsPost() And vsUploadProblem = "" Then
<!--##include record.asp/formread##-->
  If vsMessage = "" Then
    Set vsQ = NewQuery()
    vsColumns = ""
    vsValues = ""
<!--## For Each recordField In FormFields(formMode) ##-->
<!--##   If DefaultIsExpression(recordField) Then ##-->
    ' Left empty, the field is the database's to fill.
    If Trim(<!--##=recordField.FldVar##--> & "") <> "" Then
      vsColumns = vsColumns & ", " & <!--##=NameExpr(recordField)##-->
      vsValues = vsValues & ", " & vsQ.Param(DbValue(<!--##=recordField.FldVar##-->, <!--##=Lit(FormKind(recordField))##-->), <!--##=Lit(ParamKind(recordField))##-->)
    End If
<!--##   Else ##-->
    vsColumns = vsColumns & ", " & <!--##=NameExpr(recordField)##-->
<!--##   If IsPasswordField(recordField) Then ##-->
    vsValues = vsValues & ", " & vsQ.Param(StoredPassword(<!--##=recordField.FldVar##-->), "text")
<!--##   Else ##-->
    vsValues = vsValues & ", " & vsQ.Param(DbValue(<!--##=recordField.FldVar##-->, <!--##=Lit(FormKind(recordField))##-->), <!--##=Lit(ParamKind(recordField))##-->)
<!--##   End If ##-->
<!--##   End If ##-->
<!--## Next ##-->
<!--##include record.asp/uploadcolumns##-->
<!--## If HasUserIdField() And Not UserIdFieldInForm(formMode) Then ##-->
    If RowsLimited() Then
      vsColumns = vsColumns & ", " & <!--##=NameExpr(UserIdFieldOf(TABLE))##-->
      vsValues = vsValues & ", " & vsQ.Param(DbValue(VisitorUserId(), <!--##=Lit(ValueKind(UserIdFieldOf(TABLE)))##-->), <!--##=Lit(ParamKind(UserIdFieldOf(TABLE)))##-->)
    End If
<!--## End If ##-->
    On Error Resume Next
    vsQ.Run "INSERT INTO " & QName(<!--##=Lit(TABLE.TblName)##-->) & " (" & Mid(vsColumns, 3) & ") VALUES (" & Mid(vsValues, 3) & ")"
    If Err.Number <> 0 Then vsMessage = DbFailure(Err.Description)
    On Error GoTo 0
<!--## If HasUploads(formMode) Then ##-->
    If vsMessage <> "" Then DropSavedFiles
<!--## End If ##-->
    If vsMessage = "" Then
      LeaveNotice "added"
      CloseDb
      Response.Redirect ListUrl()
    End If
  End If
Else
<!--## For Each recordField In FormFields(formMode) ##-->
<!--## If FormShowsDefault(recordField) Then ##-->
  <!--##=recordField.FldVar##--> = <!--##=Lit(recordField.FldDefault)##-->
<!--## End If ##-->
<!--## Next ##-->
End If
%>
<!--## If FormTakesPassword(formMode) And IsOn(PROJ.GetV("MD5Password")) Then ##-->
<!--##include login.asp/md5##-->
<!--## End If ##-->
<!--##include page.asp/pagestart##-->
<h2><%= Html(vsPageTitle) %>: <%= P("add") %></h2>
<form class="record" method="post"<!--## If HasUploads(formMode) Then ##--> enctype="multipart/form-data"<!--## End If ##--> action="<!--##=PageFile(TABLE.TblVar, "", "add")##--><% If vsMasterQuery <> "" Then Response.Write "?" & Html(vsMasterQuery) %>">
<!--##include record.asp/formfields##-->
<p class="actions"><input type="submit" value="<%= P("save") %>"> <a href="<%= Html(ListUrl()) %>"><%= P("cancel") %></a></p>
</form>
<!--##include page.asp/pageend##-->
<!--##/session##-->

<!--##session edit##-->
<!--## Dim recordField, formMode ##-->
<!--## formMode = "edit" ##-->
<!--## If HasUploads(formMode) Then ##-->
<!--#include file="upload.asp"-->
<!--## End If ##-->
<%
' Changes to one record of <!--##=CommentText(TableCaption(TABLE))##-->. Its key is not among them.
Dim vsQ, vsRs, vsSet, vsFound, vsChanged, vsParts, vsI, vsStamp, vsStale, vsStored, vsSame
<!--##~ FormDims(formMode) ##-->
<!--##~ UploadDims(formMode) ##-->
<!--##include record.asp/common##-->
<!--##include record.asp/keywhere##-->
<!--##include record.asp/masterkey##-->
<!--## If HasStoredFiles() Then ##-->
<!--##include record.asp/storedfiles##-->
<!--## End If ##-->
<!--## If FormTakesPassword(formMode) Then ##-->
<!--##include record.asp/password##-->
<!--## End If ##-->
RequireRight vsRights, vsRightEdit
If IsPost() Then
  vsStored = StoredValues()
  If IsEmpty(vsStored) Then Refuse "404 Not Found", "notfound"
  ReDim vsSame(<!--##=UBound(EditValueFields()) + 1##-->)
End If
<!--##include record.asp/uploadread##-->
vsFound = True
vsStale = False
vsStamp = ""
If IsPost() And vsUploadProblem = "" Then
<!--##include record.asp/formread##-->
  ' A row another visitor changed since the form was drawn is not overwritten: the form shows
  ' the row as it is now. A post without the form's stamp is not checked.
  vsStamp = Posted("vs_stamp") & ""
  If vsMessage = "" And vsStamp <> "" Then
    If RowStamp(vsStored) <> vsStamp Then
      vsStale = True
      Response.Status = "409 Conflict"
      vsMessage = P("changedmeanwhile")
    End If
  End If
  If vsMessage = "" Then
    Set vsQ = NewQuery()
    vsSet = ""
<!--## For Each recordField In FormFields(formMode) ##-->
<!--##   If IsPasswordField(recordField) Then ##-->
    ' A password box left empty keeps the password.
    If Trim(<!--##=recordField.FldVar##--> & "") <> "" Then vsSet = vsSet & ", " & <!--##=NameExpr(recordField)##--> & " = " & vsQ.Param(StoredPassword(<!--##=recordField.FldVar##-->), "text")
<!--##   Else ##-->
    If Not vsSame(<!--##=EditValueIndex(recordField)##-->) Then vsSet = vsSet & ", " & <!--##=NameExpr(recordField)##--> & " = " & vsQ.Param(DbValue(<!--##=recordField.FldVar##-->, <!--##=Lit(FormKind(recordField))##-->), <!--##=Lit(ParamKind(recordField))##-->)
<!--##   End If ##-->
<!--## Next ##-->
<!--##include record.asp/uploadcolumns##-->
    vsChanged = 0
    If vsSet <> "" Then
<!--## If HasStoredFiles() Then ##-->
      vsOldFiles = StoredFiles()
<!--## End If ##-->
      On Error Resume Next
      vsChanged = vsQ.Run("UPDATE " & QName(<!--##=Lit(TABLE.TblName)##-->) & " SET " & Mid(vsSet, 3) & " WHERE " & KeyWhere(vsQ))
      If Err.Number <> 0 Then vsMessage = DbFailure(Err.Description)
      On Error GoTo 0
<!--## If HasUploads(formMode) Then ##-->
      If vsMessage <> "" Then DropSavedFiles
<!--## End If ##-->
    End If
    If vsMessage = "" Then
<!--## If HasStoredFiles() Then ##-->
      ' A file the change replaced or removed goes once no row names it.
      DropUnusedFiles vsOldFiles
<!--## End If ##-->
      LeaveNotice "saved"
      CloseDb
      Response.Redirect ListUrl()
    End If
  End If
End If
If vsStale Or Not (IsPost() And vsUploadProblem = "") Then
  Set vsQ = NewQuery()
  ' The columns of the form; of a file only whether there is one.
  Set vsRs = vsQ.Open("SELECT " & <!--##=RecordColumnsExpr("FldEdit")##--> & " FROM " & QName(<!--##=Lit(TABLE.TblName)##-->) & " WHERE " & KeyWhere(vsQ))
  If vsRs.EOF Then
    vsFound = False
    Response.Status = "404 Not Found"
    vsMessage = P("notfound")
  Else
<!--## For Each recordField In FormFields(formMode) ##-->
<!--##   If Not IsPasswordField(recordField) Then ##-->
    <!--##=recordField.FldVar##--> = vsRs(<!--##=Lit(recordField.FldName)##-->).Value
<!--##   End If ##-->
<!--## Next ##-->
    vsStamp = RowStamp(<!--##=FormValuesExpr("vsRs")##-->)
<!--## For Each recordField In UploadFields(formMode) ##-->
<!--##   If ValueKind(recordField) = "binary" Then ##-->
    vsHas_<!--##=recordField.FldParm##--> = (vsRs("vs_has_<!--##=recordField.FldParm##-->").Value = 1)
<!--##   Else ##-->
    vsHas_<!--##=recordField.FldParm##--> = (vsRs(<!--##=Lit(recordField.FldName)##-->).Value & "" <> "")
<!--##   End If ##-->
<!--## Next ##-->
  End If
  vsRs.Close
End If

' The form's values (FormValue) as the row holds them now; Empty when the row is gone, or is
' not the visitor's to change.
Function StoredValues()
  Dim q, rs
  Set q = NewQuery()
  Set rs = q.Open("SELECT " & <!--##=RecordColumnsExpr("FldEdit")##--> & " FROM " & QName(<!--##=Lit(TABLE.TblName)##-->) & " WHERE " & KeyWhere(q))
  StoredValues = Empty
  If Not rs.EOF Then StoredValues = <!--##=FormValuesExpr("rs")##-->
  rs.Close
End Function
%>
<!--## If FormTakesPassword(formMode) And IsOn(PROJ.GetV("MD5Password")) Then ##-->
<!--##include login.asp/md5##-->
<!--## End If ##-->
<!--##include page.asp/pagestart##-->
<h2><%= Html(vsPageTitle) %>: <%= P("edit") %></h2>
<% If vsFound Then %>
<form class="record" method="post"<!--## If HasUploads(formMode) Then ##--> enctype="multipart/form-data"<!--## End If ##--> action="<!--##=PageFile(TABLE.TblVar, "", "edit")##-->?<%= Html(RecordQuery()) %>">
<input type="hidden" name="vs_stamp" value="<%= Html(vsStamp) %>">
<!--##include record.asp/formfields##-->
<p class="actions"><input type="submit" value="<%= P("save") %>"> <a href="<%= Html(ListUrl()) %>"><%= P("cancel") %></a></p>
</form>
<% End If %>
<!--##include page.asp/pageend##-->
<!--##/session##-->

<!--##session delete##-->
<!--## Dim recordField ##-->
<%
' Deletes one record of <!--##=CommentText(TableCaption(TABLE))##--> once the visitor confirms it.
Dim vsQ, vsRs, vsFound
<!--##include record.asp/common##-->
<!--##include record.asp/keywhere##-->
<!--## If HasStoredFiles() Then ##-->
<!--##include record.asp/storedfiles##-->
<!--## End If ##-->
RequireRight vsRights, vsRightDelete
CheckToken
If IsPost() Then
  If Not RecordFound() Then Refuse "404 Not Found", "notfound"
<!--## If HasStoredFiles() Then ##-->
  vsOldFiles = StoredFiles()
<!--## End If ##-->
  Set vsQ = NewQuery()
  On Error Resume Next
  vsQ.Run "DELETE FROM " & QName(<!--##=Lit(TABLE.TblName)##-->) & " WHERE " & KeyWhere(vsQ)
  If Err.Number <> 0 Then vsMessage = DbFailure(Err.Description)
  On Error GoTo 0
  If vsMessage = "" Then
<!--## If HasStoredFiles() Then ##-->
    ' The record's files go with it, unless another row names them too.
    DropUnusedFiles vsOldFiles
<!--## End If ##-->
    LeaveNotice "deleted"
    CloseDb
    Response.Redirect ListUrl()
  End If
End If
Set vsQ = NewQuery()
Set vsRs = vsQ.Open("SELECT " & <!--##=RecordColumnsExpr("FldList")##--> & " FROM " & QName(<!--##=Lit(TABLE.TblName)##-->) & " WHERE " & KeyWhere(vsQ))
vsFound = Not vsRs.EOF
If Not vsFound Then
  Response.Status = "404 Not Found"
  vsMessage = P("notfound")
End If
%>
<!--##include page.asp/pagestart##-->
<h2><%= Html(vsPageTitle) %>: <%= P("delete") %></h2>
<% If vsFound Then %>
<p><%= P("confirmdelete") %></p>
<table class="record">
<!--## For Each recordField In FieldsWith("FldList") ##-->
<tr>
<th><!--##include record.asp/caption##--></th>
<td><!--##include record.asp/value##--></td>
</tr>
<!--## Next ##-->
</table>
<form class="confirm" method="post" action="<!--##=PageFile(TABLE.TblVar, "", "delete")##-->?<%= Html(RecordQuery()) %>" data-confirm="<%= P("confirmdelete") %>">
<%= TokenField() %>
<p class="actions"><input type="submit" value="<%= P("delete") %>"> <a href="<%= Html(ListUrl()) %>"><%= P("cancel") %></a></p>
</form>
<% End If %>
<% vsRs.Close %>
<!--##include page.asp/pageend##-->
<!--##/session##-->

<!--##session download##-->
<%
' The file <!--##=CommentText(FieldCaption(FIELD))##--> of one record of <!--##=CommentText(TableCaption(TABLE))##-->.
Dim vsQ, vsRs, vsType, vsStream, vsName
<!--##include record.asp/common##-->
<!--##include record.asp/keywhere##-->
RequireRight vsRights, vsRightView
Set vsQ = NewQuery()
Set vsRs = vsQ.Open("SELECT " & QName(<!--##=Lit(FIELD.FldName)##-->)<!--## If FIELD.GetV("FileTypeFld") & "" <> "" Then ##--> & ", " & QName(<!--##=Lit(FIELD.GetV("FileTypeFld"))##-->)<!--## End If ##--> & " FROM " & QName(<!--##=Lit(TABLE.TblName)##-->) & " WHERE " & KeyWhere(vsQ))
If vsRs.EOF Then Refuse "404 Not Found", "notfound"
If IsNull(vsRs(0).Value) Then Refuse "404 Not Found", "notfound"
Set vsStream = Server.CreateObject("ADODB.Stream")
vsStream.Type = 1
vsStream.Open
<!--## If ValueKind(FIELD) = "binary" Then ##-->
vsStream.Write vsRs(0).Value
vsName = ""
<!--##   If FIELD.GetV("FileTypeFld") & "" <> "" Then ##-->
vsType = SafeContentType(vsRs(1).Value & "")
<!--##   Else ##-->
vsType = SafeContentType(SniffType(vsRs(0).Value))
<!--##   End If ##-->
<!--## Else ##-->
' The file lies in a folder the site does not serve: this page is its only way out. A name that
' is no plain file name of that folder, or a file no longer there, is a file that is not there.
vsName = vsRs(0).Value & ""
If Not StoredFileExists(vsName) Then Refuse "404 Not Found", "notfound"
vsStream.LoadFromFile StoredFilePath(vsName)
<!--##   If FIELD.GetV("FileTypeFld") & "" <> "" Then ##-->
vsType = SafeContentType(vsRs(1).Value & "")
<!--##   Else ##-->
vsType = SafeContentType(TypeOfName(vsName))
<!--##   End If ##-->
<!--## End If ##-->
vsRs.Close
CloseDb
Response.Clear
Response.ContentType = vsType
If Left(vsType, 6) = "image/" Then
  Response.AddHeader "Content-Disposition", "inline; " & FileNameParams(vsName)
Else
  Response.AddHeader "Content-Disposition", "attachment; " & FileNameParams(vsName)
End If
' In pieces, each sent at once, so that a large file never fills the server's response buffer
' (buffering cannot be turned off once a page has turned it on).
vsStream.Position = 0
Do While Not vsStream.EOS
  Response.BinaryWrite vsStream.Read(65536)
  Response.Flush
Loop
vsStream.Close
' Nothing of the page's own text may follow the file's bytes.
Response.End

' The file's name for the browser: the table's and field's names with the extension of its type,
' and the name it was saved under where it has one (UTF-8, as RFC 6266 allows).
Function FileNameParams(ByVal sName)
  FileNameParams = "filename=""<!--##=TABLE.TblVar##-->_<!--##=FIELD.FldParm##-->" & ExtensionOf(vsType) & """"
  If sName <> "" Then FileNameParams = FileNameParams & "; filename*=UTF-8''" & UrlPart(sName)
End Function
<!--## If ValueKind(FIELD) <> "binary" Then ##-->

Function StoredFilePath(ByVal sName)
  StoredFilePath = Server.MapPath(<!--##=Lit(StoredUploadFolder(FIELD) & "/")##--> & sName)
End Function

Function StoredFileExists(ByVal sName)
  StoredFileExists = False
  If Not IsPlainFileName(sName) Then Exit Function
  StoredFileExists = Server.CreateObject("Scripting.FileSystemObject").FileExists(StoredFilePath(sName))
End Function

' The type of a file by the extension of its name; nothing when the extension says none.
Function TypeOfName(ByVal sName)
  Select Case LCase(Mid(sName, InStrRev(sName, ".") + 1))
    Case "png"
      TypeOfName = "image/png"
    Case "jpg", "jpeg"
      TypeOfName = "image/jpeg"
    Case "gif"
      TypeOfName = "image/gif"
    Case "webp"
      TypeOfName = "image/webp"
    Case "pdf"
      TypeOfName = "application/pdf"
    Case "txt"
      TypeOfName = "text/plain"
    Case Else
      TypeOfName = ""
  End Select
End Function
<!--## End If ##-->

' Only types a browser shows harmlessly are sent as themselves; anything else is a download.
Function SafeContentType(ByVal s)
  s = LCase(Trim(s))
  Select Case s
    Case "image/png", "image/jpeg", "image/gif", "image/webp", "application/pdf", "text/plain"
      SafeContentType = s
    Case Else
      SafeContentType = "application/octet-stream"
  End Select
End Function

Function ExtensionOf(ByVal sType)
  Select Case sType
    Case "image/png"
      ExtensionOf = ".png"
    Case "image/jpeg"
      ExtensionOf = ".jpg"
    Case "image/gif"
      ExtensionOf = ".gif"
    Case "image/webp"
      ExtensionOf = ".webp"
    Case "application/pdf"
      ExtensionOf = ".pdf"
    Case "text/plain"
      ExtensionOf = ".txt"
    Case Else
      ExtensionOf = ".bin"
  End Select
End Function

' The type of an image by its first bytes: PNG, JPEG or GIF; else nothing.
Function SniffType(ByVal data)
  Dim head
  SniffType = ""
  If LenB(data) < 4 Then Exit Function
  head = AscB(MidB(data, 1, 1)) & "," & AscB(MidB(data, 2, 1)) & "," & AscB(MidB(data, 3, 1))
  Select Case head
    Case "137,80,78"
      SniffType = "image/png"
    Case "255,216,255"
      SniffType = "image/jpeg"
    Case "71,73,70"
      SniffType = "image/gif"
  End Select
End Function
%>
<!--##/session##-->
