List and search pages of a table or view.

<!--##session list##-->
<!--##
  Dim listField, listLink, listDetailField
  Set listDetailField = DetailField()
##-->
<%
' The records of <!--##=TableCaption(TABLE)##-->, a page at a time, with the basic search.
Dim vsSql, vsWhere, vsRs, vsStart, vsSize, vsTotal, vsRow, vsQuery, vsUrl
vsPageTitle = ReportLanguage.TablePhrase(<!--##=Lit(LCase(TABLE.TblVar))##-->, "tblcaption", <!--##=Lit(TableCaption(TABLE))##-->)
vsSize = <!--##=RecordsPerPage()##-->
vsStart = RequestInt("start", 1)
vsQuery = Trim(Request.QueryString("q") & "")
vsUrl = <!--##=Lit(PageFile(TABLE.TblVar, "", "list") & "?")##-->
vsWhere = ""
<!--## If ListBasicSearchFields() <> "" Then ##-->
vsWhere = AndWhere(vsWhere, LikeAny(Array(<!--##=ListBasicSearchFields()##-->), vsQuery))
vsUrl = vsUrl & "q=" & Server.URLEncode(vsQuery) & "&"
<!--## End If ##-->
<!--## For Each listField In FieldsWith("FldSearch") ##-->
<!--## If UCase(listField.FldSrchOpr & "") = "USER SELECT" Then ##-->
vsWhere = AndWhere(vsWhere, SearchTerm(QName(<!--##=Lit(listField.FldName)##-->), Request.QueryString("o_<!--##=listField.FldParm##-->"), Request.QueryString("s_<!--##=listField.FldParm##-->"), Request.QueryString("s2_<!--##=listField.FldParm##-->"), <!--##=Lit(ValueKind(listField))##-->, <!--##=Lit(listField.FldQuoteS)##-->, <!--##=Lit(listField.FldQuoteE)##-->))
<!--## Else ##-->
vsWhere = AndWhere(vsWhere, SearchTerm(QName(<!--##=Lit(listField.FldName)##-->), <!--##=Lit(listField.FldSrchOpr)##-->, Request.QueryString("s_<!--##=listField.FldParm##-->"), Request.QueryString("s2_<!--##=listField.FldParm##-->"), <!--##=Lit(ValueKind(listField))##-->, <!--##=Lit(listField.FldQuoteS)##-->, <!--##=Lit(listField.FldQuoteE)##-->))
<!--## End If ##-->
vsUrl = vsUrl & "o_<!--##=listField.FldParm##-->=" & Server.URLEncode(Request.QueryString("o_<!--##=listField.FldParm##-->")) & "&s_<!--##=listField.FldParm##-->=" & Server.URLEncode(Request.QueryString("s_<!--##=listField.FldParm##-->")) & "&s2_<!--##=listField.FldParm##-->=" & Server.URLEncode(Request.QueryString("s2_<!--##=listField.FldParm##-->")) & "&"
<!--## Next ##-->
<!--## If Not listDetailField Is Nothing Then ##-->
' Rows of one <!--##=TABLE.GetV("TblMasterTbl")##--> record when the master page sends its key.
If Request.QueryString("master") & "" <> "" Then
  vsWhere = AndWhere(vsWhere, QName(<!--##=Lit(listDetailField.FldName)##-->) & " = " & SqlLiteral(Request.QueryString("master"), <!--##=Lit(ValueKind(listDetailField))##-->, <!--##=Lit(listDetailField.FldQuoteS)##-->, <!--##=Lit(listDetailField.FldQuoteE)##-->))
  vsUrl = vsUrl & "master=" & Server.URLEncode(Request.QueryString("master")) & "&"
End If
<!--## End If ##-->
vsSql = "SELECT * FROM " & <!--##=Lit(FromSql(TABLE))##-->
If vsWhere <> "" Then vsSql = vsSql & " WHERE " & vsWhere
<!--## If DefaultOrder() <> "" Then ##-->
vsSql = vsSql & " ORDER BY " & <!--##=Lit(DefaultOrder())##-->
<!--## End If ##-->
Set vsRs = Server.CreateObject("ADODB.Recordset")
vsRs.CursorLocation = 3
vsRs.Open vsSql, Db(), 3, 1
vsTotal = vsRs.RecordCount
If vsStart > vsTotal Then vsStart = 1
If vsStart > 1 Then vsRs.Move vsStart - 1
%>
<!--##include page.asp/pagestart##-->
<h2><%= Html(vsPageTitle) %></h2>
<!--##include list.asp/searchform##-->
<!--## If IsOn(TABLE.TblAdd) And UCase(TABLE.TblType) <> "CUSTOMVIEW" Then ##-->
<!--## If listDetailField Is Nothing Then ##-->
<p class="actions"><a href="<!--##=PageFile(TABLE.TblVar, "", "add")##-->"><!--##@add##--></a></p>
<!--## Else ##-->
<p class="actions"><a href="<!--##=PageFile(TABLE.TblVar, "", "add")##-->?master=<%= Server.URLEncode(Request.QueryString("master") & "") %>"><!--##@add##--></a></p>
<!--## End If ##-->
<!--## End If ##-->
<% If vsTotal = 0 Then %>
<p class="empty"><!--##@norecords##--></p>
<% Else %>
<table class="grid">
<tr>
<!--## For Each listField In FieldsWith("FldList") ##-->
<!--## If ValueKind(listField) <> "binary" Then ##-->
<th><%= Html(ReportLanguage.FieldPhrase(<!--##=Lit(LCase(TABLE.TblVar))##-->, <!--##=Lit(LCase(listField.FldParm))##-->, "fldcaption", <!--##=Lit(FieldCaption(listField))##-->)) %></th>
<!--## End If ##-->
<!--## Next ##-->
<!--## If UBound(RecordLinks()) >= 0 Then ##-->
<th></th>
<!--## End If ##-->
</tr>
<%
vsRow = 0
Do While Not vsRs.EOF And vsRow < vsSize
  vsRow = vsRow + 1
%>
<tr class="row<%= vsRow Mod 2 %>">
<!--## For Each listField In FieldsWith("FldList") ##-->
<!--## If ValueKind(listField) <> "binary" Then ##-->
<td><%= <!--##=ShowExpr(listField, "vsRs")##--> %></td>
<!--## End If ##-->
<!--## Next ##-->
<!--## If UBound(RecordLinks()) >= 0 Then ##-->
<td class="links">
<!--## For Each listLink In RecordLinks() ##-->
<a href="<!--##=PageFile(TABLE.TblVar, "", listLink)##-->?<%= <!--##=KeyQuery("vsRs")##--> %>"><!--##$ listLink ##--></a>
<!--## Next ##-->
</td>
<!--## End If ##-->
</tr>
<%
  vsRs.MoveNext
Loop
%>
</table>
<% End If %>
<%
vsRs.Close
WritePager vsTotal, vsStart, vsSize, vsUrl
%>
<!--##include page.asp/pageend##-->
<!--##/session##-->

<!--##session searchform##-->
<!--## If ListBasicSearchFields() <> "" Or TableHasSearchFields() Then ##-->
<form class="search" method="get" action="<!--##=PageFile(TABLE.TblVar, "", "list")##-->">
<!--## If ListBasicSearchFields() <> "" Then ##-->
<input type="text" name="q" value="<%= Html(vsQuery) %>">
<input type="submit" value="<!--##@search##-->">
<a href="<!--##=PageFile(TABLE.TblVar, "", "list")##-->"><!--##@showall##--></a>
<!--## End If ##-->
<!--## If TableHasSearchFields() Then ##-->
<a href="<!--##=PageFile(TABLE.TblVar, "", "search")##-->"><!--##@advancedsearch##--></a>
<!--## End If ##-->
</form>
<!--## End If ##-->
<!--##/session##-->

<!--##session search##-->
<!--## Dim searchField, searchOp ##-->
<%
vsPageTitle = ReportLanguage.TablePhrase(<!--##=Lit(LCase(TABLE.TblVar))##-->, "tblcaption", <!--##=Lit(TableCaption(TABLE))##-->)
%>
<!--##include page.asp/pagestart##-->
<h2><%= Html(vsPageTitle) %>: <!--##@advancedsearch##--></h2>
<form class="record" method="get" action="<!--##=PageFile(TABLE.TblVar, "", "list")##-->">
<table class="record">
<!--## For Each searchField In FieldsWith("FldSearch") ##-->
<tr>
<th><%= Html(ReportLanguage.FieldPhrase(<!--##=Lit(LCase(TABLE.TblVar))##-->, <!--##=Lit(LCase(searchField.FldParm))##-->, "fldcaption", <!--##=Lit(FieldCaption(searchField))##-->)) %></th>
<td>
<!--## If UCase(searchField.FldSrchOpr & "") = "USER SELECT" Then ##-->
<select name="o_<!--##=searchField.FldParm##-->">
<!--## For Each searchOp In Split(PROJ.FldSrchOprs(searchField.FldType), vbCrLf) ##-->
<!--## If searchOp <> "USER SELECT" Then ##-->
<option value="<!--##=HtmlText(searchOp)##-->"><!--##=HtmlText(searchOp)##--></option>
<!--## End If ##-->
<!--## Next ##-->
</select>
<!--## Else ##-->
<!--##=HtmlText(searchField.FldSrchOpr)##-->
<!--## End If ##-->
<input type="text" name="s_<!--##=searchField.FldParm##-->">
<!--## If UCase(searchField.FldSrchOpr & "") = "BETWEEN" Or UCase(searchField.FldSrchOpr & "") = "USER SELECT" Then ##-->
<input type="text" name="s2_<!--##=searchField.FldParm##-->">
<!--## End If ##-->
</td>
</tr>
<!--## Next ##-->
</table>
<p class="actions"><input type="submit" value="<!--##@search##-->"></p>
</form>
<!--##include page.asp/pageend##-->
<!--##/session##-->
