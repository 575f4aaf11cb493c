Pages of one record: view, add, edit and delete, and the download of a field's file.

<!--##session keywhere##-->
' The record the request names by its key.
vsWhere = ""
<!--## Dim keyField ##-->
<!--## For Each keyField In KeyFields() ##-->
vsWhere = AndWhere(vsWhere, QName(<!--##=Lit(keyField.FldName)##-->) & " = " & SqlLiteral(Request.QueryString("k_<!--##=keyField.FldParm##-->"), <!--##=Lit(ValueKind(keyField))##-->, <!--##=Lit(keyField.FldQuoteS)##-->, <!--##=Lit(keyField.FldQuoteE)##-->))
<!--## Next ##-->
If vsWhere = "" Then vsWhere = "1 = 0"
vsKeyQuery = <!--##=KeyQuery("")##-->
<!--##/session##-->

<!--##session title##-->
vsPageTitle = ReportLanguage.TablePhrase(<!--##=Lit(LCase(TABLE.TblVar))##-->, "tblcaption", <!--##=Lit(TableCaption(TABLE))##-->)
<!--##/session##-->

<!--##session caption##-->
<%= Html(ReportLanguage.FieldPhrase(<!--##=Lit(LCase(TABLE.TblVar))##-->, <!--##=Lit(LCase(recordField.FldParm))##-->, "fldcaption", <!--##=Lit(FieldCaption(recordField))##-->)) %>
<!--##/session##-->

<!--##session value##-->
<!--## If UCase(recordField.FldHtmlTag & "") = "FILE" Then ##-->
<!--##   If UCase(recordField.FldViewTag & "") = "IMAGE" Then ##-->
<img src="<!--##=PageFile(TABLE.TblVar, recordField.FldParm, "download")##-->?<%= vsKeyQuery %>" alt="">
<!--##   Else ##-->
<a href="<!--##=PageFile(TABLE.TblVar, recordField.FldParm, "download")##-->?<%= vsKeyQuery %>"><!--##@download##--></a>
<!--##   End If ##-->
<!--## ElseIf ValueKind(recordField) = "binary" Then ##-->
&nbsp;
<!--## ElseIf UCase(recordField.FldViewTag & "") = "IMAGE" Then ##-->
<img src="<!--##=HtmlText(UploadFolder(recordField))##-->/<%= Html(vsRs(<!--##=Lit(recordField.FldName)##-->)) %>" alt="">
<!--## Else ##-->
<%= <!--##=ShowExpr(recordField, "vsRs")##--> %>
<!--## End If ##-->
<!--##/session##-->

<!--##session view##-->
<!--## Dim recordField, viewLink, viewDetail, viewMasterField ##-->
<%
' One record of <!--##=TableCaption(TABLE)##-->.
Dim vsWhere, vsKeyQuery, vsRs
<!--##include record.asp/title##-->
<!--##include record.asp/keywhere##-->
Set vsRs = Db().Execute("SELECT * FROM " & <!--##=Lit(FromSql(TABLE))##--> & " WHERE " & vsWhere)
If vsRs.EOF Then vsMessage = Html(ReportLanguage.Phrase("notfound"))
%>
<!--##include page.asp/pagestart##-->
<h2><%= Html(vsPageTitle) %></h2>
<% If Not vsRs.EOF Then %>
<table class="record">
<!--## For Each recordField In FieldsWith("FldView") ##-->
<tr>
<th><!--##include record.asp/caption##--></th>
<td><!--##include record.asp/value##--></td>
</tr>
<!--## Next ##-->
</table>
<p class="actions">
<a href="<!--##=PageFile(TABLE.TblVar, "", "list")##-->"><!--##@list##--></a>
<!--## For Each viewLink In RecordLinks() ##-->
<!--## If viewLink <> "view" Then ##-->
<a href="<!--##=PageFile(TABLE.TblVar, "", viewLink)##-->?<%= vsKeyQuery %>"><!--##$ viewLink ##--></a>
<!--## End If ##-->
<!--## Next ##-->
</p>
<!--## If UBound(DetailTables()) >= 0 Then ##-->
<h3><!--##@details##--></h3>
<ul class="details">
<!--## For Each viewDetail In DetailTables() ##-->
<!--## Set viewMasterField = FindField(TABLE, viewDetail.GetV("TblMasterFld") & "") ##-->
<!--## If Not viewMasterField Is Nothing Then ##-->
<li><a href="<!--##=PageFile(viewDetail.TblVar, "", "list")##-->?master=<%= Server.URLEncode(vsRs(<!--##=Lit(viewMasterField.FldName)##-->) & "") %>"><%= Html(ReportLanguage.TablePhrase(<!--##=Lit(LCase(viewDetail.TblVar))##-->, "tblcaption", <!--##=Lit(TableCaption(viewDetail))##-->)) %></a></li>
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
<!--##=recordField.FldVar##--> = Request.Form("<!--##=recordField.FldVar##-->")
vsMessage = vsMessage & CheckValue(<!--##=recordField.FldVar##-->, <!--##=Lit(ValueKind(recordField))##-->, <!--##=IsOn(recordField.FldRequired)##-->, ReportLanguage.FieldPhrase(<!--##=Lit(LCase(TABLE.TblVar))##-->, <!--##=Lit(LCase(recordField.FldParm))##-->, "fldcaption", <!--##=Lit(FieldCaption(recordField))##-->))
<!--## Next ##-->
<!--##/session##-->

<!--##session formstore##-->
<!--## For Each recordField In FormFields(formMode) ##-->
vsRs(<!--##=Lit(recordField.FldName)##-->) = DbValue(<!--##=recordField.FldVar##-->, <!--##=Lit(ValueKind(recordField))##-->)
<!--## Next ##-->
<!--##/session##-->

<!--##session formfields##-->
<table class="record">
<!--## For Each recordField In FormFields(formMode) ##-->
<tr>
<th><!--##include record.asp/caption##--><!--## If IsOn(recordField.FldRequired) Then ##--> *<!--## End If ##--></th>
<td><%= FieldInput("<!--##=recordField.FldVar##-->", <!--##=recordField.FldVar##-->, <!--##=Lit(recordField.FldHtmlTag)##-->, <!--##=InputChoices(recordField)##-->, <!--##=Whole(recordField.FldTagSize)##-->, <!--##=Whole(recordField.FldTagMaxLength)##-->, <!--##=Whole(recordField.FldTagRows)##-->, <!--##=Whole(recordField.FldTagCols)##-->) %></td>
</tr>
<!--## Next ##-->
</table>
<!--##/session##-->

<!--##session add##-->
<!--## Dim recordField, formMode ##-->
<!--## formMode = "add" ##-->
<%
' A new record of <!--##=TableCaption(TABLE)##-->. A master page may send the key of the record
' the new one belongs to.
Dim vsRs, vsBack, vsMaster
<!--## If DetailField() Is Nothing Then ##-->
vsMaster = ""
<!--## Else ##-->
vsMaster = "?master=" & Server.URLEncode(Request.QueryString("master") & "")
<!--## End If ##-->
vsBack = <!--##=Lit(PageFile(TABLE.TblVar, "", "list"))##--> & vsMaster
<!--##~ FormDims(formMode) ##-->
<!--##include record.asp/title##-->
If IsPost() Then
<!--##include record.asp/formread##-->
  If vsMessage = "" Then
    Set vsRs = Server.CreateObject("ADODB.Recordset")
    vsRs.Open "SELECT * FROM " & <!--##=Lit(FromSql(TABLE))##--> & " WHERE 1 = 0", Db(), 1, 3
    vsRs.AddNew
<!--##include record.asp/formstore##-->
    vsRs.Update
    vsRs.Close
    CloseDb
    Response.Redirect vsBack
  End If
Else
<!--## For Each recordField In FormFields(formMode) ##-->
<!--## If recordField.FldDefault & "" <> "" Then ##-->
  <!--##=recordField.FldVar##--> = <!--##=Lit(recordField.FldDefault)##-->
<!--## End If ##-->
<!--## If Not DetailField() Is Nothing Then ##-->
<!--## If DetailField().FldName = recordField.FldName Then ##-->
  If Request.QueryString("master") & "" <> "" Then <!--##=recordField.FldVar##--> = Request.QueryString("master")
<!--## End If ##-->
<!--## End If ##-->
<!--## Next ##-->
End If
%>
<!--##include page.asp/pagestart##-->
<h2><%= Html(vsPageTitle) %>: <!--##@add##--></h2>
<form class="record" method="post" action="<!--##=PageFile(TABLE.TblVar, "", "add")##--><%= vsMaster %>">
<!--##include record.asp/formfields##-->
<p class="actions"><input type="submit" value="<!--##@save##-->"> <a href="<%= vsBack %>"><!--##@cancel##--></a></p>
</form>
<!--##include page.asp/pageend##-->
<!--##/session##-->

<!--##session edit##-->
<!--## Dim recordField, formMode ##-->
<!--## formMode = "edit" ##-->
<%
' Changes to one record of <!--##=TableCaption(TABLE)##-->.
Dim vsWhere, vsKeyQuery, vsRs
<!--##~ FormDims(formMode) ##-->
<!--##include record.asp/title##-->
<!--##include record.asp/keywhere##-->
If IsPost() Then
<!--##include record.asp/formread##-->
  If vsMessage = "" Then
    Set vsRs = Server.CreateObject("ADODB.Recordset")
    vsRs.Open "SELECT * FROM " & <!--##=Lit(FromSql(TABLE))##--> & " WHERE " & vsWhere, Db(), 1, 3
    If Not vsRs.EOF Then
<!--##include record.asp/formstore##-->
      vsRs.Update
    End If
    vsRs.Close
    CloseDb
    Response.Redirect <!--##=Lit(PageFile(TABLE.TblVar, "", "list"))##-->
  End If
Else
  Set vsRs = Db().Execute("SELECT * FROM " & <!--##=Lit(FromSql(TABLE))##--> & " WHERE " & vsWhere)
  If vsRs.EOF Then
    vsMessage = Html(ReportLanguage.Phrase("notfound"))
  Else
<!--## For Each recordField In FormFields(formMode) ##-->
    <!--##=recordField.FldVar##--> = vsRs(<!--##=Lit(recordField.FldName)##-->)
<!--## Next ##-->
  End If
  vsRs.Close
End If
%>
<!--##include page.asp/pagestart##-->
<h2><%= Html(vsPageTitle) %>: <!--##@edit##--></h2>
<form class="record" method="post" action="<!--##=PageFile(TABLE.TblVar, "", "edit")##-->?<%= vsKeyQuery %>">
<!--##include record.asp/formfields##-->
<p class="actions"><input type="submit" value="<!--##@save##-->"> <a href="<!--##=PageFile(TABLE.TblVar, "", "list")##-->"><!--##@cancel##--></a></p>
</form>
<!--##include page.asp/pageend##-->
<!--##/session##-->

<!--##session delete##-->
<!--## Dim recordField ##-->
<%
' Deletes one record of <!--##=TableCaption(TABLE)##--> once the visitor confirms it.
Dim vsWhere, vsKeyQuery, vsRs
<!--##include record.asp/title##-->
<!--##include record.asp/keywhere##-->
If IsPost() Then
  Db().Execute "DELETE FROM " & <!--##=Lit(SqlName(TABLE.TblName))##--> & " WHERE " & vsWhere
  CloseDb
  Response.Redirect <!--##=Lit(PageFile(TABLE.TblVar, "", "list"))##-->
End If
Set vsRs = Db().Execute("SELECT * FROM " & <!--##=Lit(FromSql(TABLE))##--> & " WHERE " & vsWhere)
If vsRs.EOF Then vsMessage = Html(ReportLanguage.Phrase("notfound"))
%>
<!--##include page.asp/pagestart##-->
<h2><%= Html(vsPageTitle) %>: <!--##@delete##--></h2>
<% If Not vsRs.EOF Then %>
<p><!--##@confirmdelete##--></p>
<table class="record">
<!--## For Each recordField In FieldsWith("FldList") ##-->
<tr>
<th><!--##include record.asp/caption##--></th>
<td><!--##include record.asp/value##--></td>
</tr>
<!--## Next ##-->
</table>
<form method="post" action="<!--##=PageFile(TABLE.TblVar, "", "delete")##-->?<%= vsKeyQuery %>">
<p class="actions"><input type="submit" value="<!--##@delete##-->" onclick="return confirmDelete(this.form)"> <a href="<!--##=PageFile(TABLE.TblVar, "", "list")##-->"><!--##@cancel##--></a></p>
</form>
<% End If %>
<% vsRs.Close %>
<!--##include page.asp/pageend##-->
<!--##/session##-->

<!--##session download##-->
<%
' The file <!--##=FieldCaption(FIELD)##--> of one record of <!--##=TableCaption(TABLE)##-->.
Dim vsWhere, vsKeyQuery, vsRs
<!--##include record.asp/keywhere##-->
Set vsRs = Db().Execute("SELECT " & QName(<!--##=Lit(FIELD.FldName)##-->)<!--## If FIELD.GetV("FileTypeFld") & "" <> "" Then ##--> & ", " & QName(<!--##=Lit(FIELD.GetV("FileTypeFld"))##-->)<!--## End If ##--> & " FROM " & <!--##=Lit(FromSql(TABLE))##--> & " WHERE " & vsWhere)
Response.Clear
If vsRs.EOF Then
  Response.Status = "404 Not Found"
ElseIf IsNull(vsRs(0)) Then
  Response.Status = "404 Not Found"
Else
<!--## If ValueKind(FIELD) = "binary" Then ##-->
<!--##   If FIELD.GetV("FileTypeFld") & "" <> "" Then ##-->
  Response.ContentType = vsRs(1) & ""
<!--##   Else ##-->
  Response.ContentType = "application/octet-stream"
<!--##   End If ##-->
  Response.BinaryWrite vsRs(0).Value
<!--## Else ##-->
  Response.Redirect <!--##=Lit(UploadFolder(FIELD) & "/")##--> & Server.URLEncode(vsRs(0) & "")
<!--## End If ##-->
End If
vsRs.Close
CloseDb
%>
<!--##/session##-->
