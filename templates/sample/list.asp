List and search pages of a table or view.

<!--##session list##-->
<!--##
  Dim listField, listLink, listDetailField, listMaster, listMasterField
  Set listDetailField = DetailField()
  Set listMaster = Nothing
  If Not listDetailField Is Nothing Then Set listMaster = FindTable(TABLE.GetV("TblMasterTbl") & "")
##-->
<%
' The records of <!--##=CommentText(TableCaption(TABLE))##-->, a page at a time, with the search, sorting and
' the CSV export.
Dim vsQ, vsFrom, vsWhere, vsOrder, vsRs, vsStart, vsSize, vsTotal, vsRow, vsQuery, vsUrl, vsBase
Dim vsRights, vsSort, vsDir, vsSorts, vsI, vsExport, vsSizes, vsMaster, vsLimit
vsRights = <!--##=RightsExpr(TABLE)##-->
RequireRight vsRights, vsRightList
vsPageTitle = ReportLanguage.TablePhrase(<!--##=Lit(LCase(TABLE.TblVar))##-->, "tblcaption", <!--##=Lit(TableCaption(TABLE))##-->)
vsSizes = Array(<!--##=PageSizeItems()##-->)
vsSize = <!--##=RecordsPerPage()##-->
If Request.QueryString("size") & "" <> "" Then
  For vsI = 0 To UBound(vsSizes)
    If CStr(vsSizes(vsI)) = Request.QueryString("size") & "" Then vsSize = vsSizes(vsI)
  Next
End If
vsStart = RequestInt("start", 1)
vsExport = (LCase(Request.QueryString("export") & "") = "csv")
vsQuery = Trim(Request.QueryString("q") & "")
vsMaster = Request.QueryString("master") & ""
vsBase = <!--##=Lit(PageFile(TABLE.TblVar, "", "list") & "?")##-->
vsUrl = ""
Set vsQ = NewQuery()
vsWhere = ""
<!--## If ListBasicSearchFields() <> "" Then ##-->
vsWhere = AndWhere(vsWhere, LikeAny(vsQ, Array(<!--##=ListBasicSearchFields()##-->), vsQuery))
If vsQuery <> "" Then vsUrl = vsUrl & "q=" & UrlPart(vsQuery) & "&"
<!--## End If ##-->
<!--## For Each listField In FieldsWith("FldSearch") ##-->
<!--## If UCase(listField.FldSrchOpr & "") = "USER SELECT" Then ##-->
vsWhere = AndWhere(vsWhere, SearchTerm(vsQ, <!--##=NameExpr(listField)##-->, Request.QueryString("o_<!--##=listField.FldParm##-->"), Request.QueryString("s_<!--##=listField.FldParm##-->"), Request.QueryString("s2_<!--##=listField.FldParm##-->"), <!--##=Lit(ParamKind(listField))##-->))
<!--## Else ##-->
vsWhere = AndWhere(vsWhere, SearchTerm(vsQ, <!--##=NameExpr(listField)##-->, <!--##=Lit(listField.FldSrchOpr)##-->, Request.QueryString("s_<!--##=listField.FldParm##-->"), Request.QueryString("s2_<!--##=listField.FldParm##-->"), <!--##=Lit(ParamKind(listField))##-->))
<!--## End If ##-->
If Request.QueryString("s_<!--##=listField.FldParm##-->") & "" <> "" Then vsUrl = vsUrl & "o_<!--##=listField.FldParm##-->=" & UrlPart(Request.QueryString("o_<!--##=listField.FldParm##-->")) & "&s_<!--##=listField.FldParm##-->=" & UrlPart(Request.QueryString("s_<!--##=listField.FldParm##-->")) & "&s2_<!--##=listField.FldParm##-->=" & UrlPart(Request.QueryString("s2_<!--##=listField.FldParm##-->")) & "&"
<!--## Next ##-->
<!--## If Not listDetailField Is Nothing Then ##-->
' Rows of one <!--##=CommentText(TABLE.GetV("TblMasterTbl"))##--> record when the master page sends its key.
If vsMaster <> "" Then
  vsWhere = AndWhere(vsWhere, EqualTerm(vsQ, <!--##=NameExpr(listDetailField)##-->, vsMaster, <!--##=Lit(ParamKind(listDetailField))##-->))
  vsUrl = vsUrl & "master=" & UrlPart(vsMaster) & "&"
End If
<!--## End If ##-->
<!--## If LimitsRowsByUser(TABLE) Then ##-->
' A user's own rows only (or the rows of his own master rows).
vsWhere = AndWhere(vsWhere, <!--##=OwnerTermExpr(TABLE, "vsQ")##-->)
<!--## End If ##-->
vsFrom = <!--##=FromExpr(TABLE)##-->
If vsWhere <> "" Then vsFrom = vsFrom & " WHERE " & vsWhere
' The order: the column the visitor chose, else the table's own, always ended by a unique one.
vsOrder = <!--##=OrderExpr()##-->
vsSort = ""
vsDir = "ASC"
<!--## If SortingOn() And SortItems() <> "" Then ##-->
vsSorts = Array(<!--##=SortItems()##-->)
For vsI = 0 To UBound(vsSorts) - 1 Step 2
  If LCase(vsSorts(vsI)) = LCase(Request.QueryString("order") & "") Then
    vsSort = vsSorts(vsI)
    If UCase(Request.QueryString("dir") & "") = "DESC" Then vsDir = "DESC"
    vsOrder = vsSorts(vsI + 1) & " " & vsDir
  End If
Next
<!--## End If ##-->
If vsOrder = "" Then vsOrder = <!--##=UniqueOrderExpr()##--> Else vsOrder = vsOrder & ", " & <!--##=UniqueOrderExpr()##-->
If vsExport Then
<!--## If IsOn(PROJ.GetV("ExportCsv")) Then ##-->
  WriteCsv vsQ.Open(PagedSql(<!--##=ListColumnsExpr()##-->, vsFrom, vsOrder, 1, 0))
<!--## Else ##-->
  Refuse "404 Not Found", "notfound"
<!--## End If ##-->
End If
vsTotal = vsQ.Open("SELECT COUNT(*) FROM " & vsFrom)(0).Value
If IsNull(vsTotal) Then vsTotal = 0
vsTotal = CLng(vsTotal)
If vsStart > vsTotal Then vsStart = 1
If vsSize > 0 Then vsStart = ((vsStart - 1) \ vsSize) * vsSize + 1
' All the rows, up to the most a page shows at once.
vsLimit = vsSize
If vsSize = 0 Then
  vsStart = 1
  If vsTotal > vsAllRowsMax Then vsLimit = vsAllRowsMax
End If
<!--## If ListLookupItems() <> "" Then ##-->
' The labels of the page's lookup values are read together before its rows are shown.
Set vsRs = OpenKeptRows(vsQ, PagedSql(<!--##=ListColumnsExpr()##-->, vsFrom, vsOrder, vsStart, vsLimit))
SkipToPage vsRs, vsStart
ReadLabels vsRs, vsStart, vsLimit, Array(<!--##=ListLookupItems()##-->)
<!--## Else ##-->
Set vsRs = vsQ.Open(PagedSql(<!--##=ListColumnsExpr()##-->, vsFrom, vsOrder, vsStart, vsLimit))
SkipToPage vsRs, vsStart
<!--## End If ##-->

' The list's rows as comma-separated values, the first line naming the columns.
Sub WriteCsv(ByVal rs)
  Dim line
  Response.Clear
  Response.ContentType = "text/csv"
  Response.AddHeader "Content-Disposition", "attachment; filename=""<!--##=TABLE.TblVar##-->.csv"""
  line = ""
<!--## For Each listField In FieldsWith("FldList") ##-->
<!--## If ValueKind(listField) <> "binary" Then ##-->
  line = line & "," & CsvCell(<!--##=Lit(FieldCaption(listField))##-->)
<!--## End If ##-->
<!--## Next ##-->
  Response.Write Mid(line, 2) & vbCrLf
  Do While Not rs.EOF
    line = ""
<!--## For Each listField In FieldsWith("FldList") ##-->
<!--## If ValueKind(listField) <> "binary" Then ##-->
    line = line & "," & CsvCell(FormValue(rs(<!--##=Lit(listField.FldName)##-->).Value, <!--##=Lit(ValueKind(listField))##-->))
<!--## End If ##-->
<!--## Next ##-->
    Response.Write Mid(line, 2) & vbCrLf
    rs.MoveNext
  Loop
  rs.Close
  CloseDb
  Response.End
End Sub

' A CSV cell: quoted, and a text a spreadsheet would take for a formula made plain text. A tab or
' a carriage return first is skipped by spreadsheets before they look for "=", so it counts too.
Function CsvCell(ByVal v)
  v = v & ""
  If Len(v) > 0 Then
    If Left(v, 1) = vbTab Or Left(v, 1) = vbCr Then
      v = "'" & v
    ElseIf InStr("=+-@", Left(v, 1)) > 0 And Not IsNumeric(v) Then
      v = "'" & v
    End If
  End If
  CsvCell = """" & Replace(v, """", """""") & """"
End Function

' A column heading: a link that sorts by the column, or turns the order around.
Function SortLink(ByVal sParm, ByVal sCaption)
  Dim d
  d = "ASC"
  If LCase(vsSort) = LCase(sParm) And vsDir = "ASC" Then d = "DESC"
  SortLink = "<a href=""" & Html(vsBase & vsUrl & "order=" & UrlPart(sParm) & "&dir=" & d) & """>" & Html(sCaption) & "</a>"
  If LCase(vsSort) = LCase(sParm) Then
    If vsDir = "ASC" Then SortLink = SortLink & " &#9650;" Else SortLink = SortLink & " &#9660;"
  End If
End Function
%>
<!--##include page.asp/pagestart##-->
<h2><%= Html(vsPageTitle) %></h2>
<% WriteNotice %>
<!--## If Not listMaster Is Nothing Then ##-->
<% If vsMaster <> "" Then WriteMasterHeader vsMaster %>
<!--##include list.asp/masterheader##-->
<!--## End If ##-->
<!--##include list.asp/searchform##-->
<p class="actions">
<!--## If IsOn(TABLE.TblAdd) And UCase(TABLE.TblType) <> "CUSTOMVIEW" Then ##-->
<% If (vsRights And vsRightAdd) <> 0 Then %>
<a href="<!--##=PageFile(TABLE.TblVar, "", "add")##--><% If vsMaster <> "" Then Response.Write "?master=" & Html(UrlPart(vsMaster)) %>"><%= P("add") %></a>
<% End If %>
<!--## End If ##-->
<!--## If IsOn(PROJ.GetV("ExportCsv")) Then ##-->
<a href="<%= Html(vsBase & vsUrl & "export=csv") %>"><%= P("exportcsv") %></a>
<!--## End If ##-->
</p>
<% If vsTotal = 0 Then %>
<p class="empty"><%= P("norecords") %></p>
<% Else %>
<table class="grid">
<tr>
<!--## For Each listField In FieldsWith("FldList") ##-->
<!--## If ValueKind(listField) <> "binary" Then ##-->
<!--## If SortingOn() And ValueKind(listField) <> "memo" Then ##-->
<th><%= SortLink(<!--##=Lit(listField.FldParm)##-->, ReportLanguage.FieldPhrase(<!--##=Lit(LCase(TABLE.TblVar))##-->, <!--##=Lit(LCase(listField.FldParm))##-->, "fldcaption", <!--##=Lit(FieldCaption(listField))##-->)) %></th>
<!--## Else ##-->
<th><%= Html(ReportLanguage.FieldPhrase(<!--##=Lit(LCase(TABLE.TblVar))##-->, <!--##=Lit(LCase(listField.FldParm))##-->, "fldcaption", <!--##=Lit(FieldCaption(listField))##-->)) %></th>
<!--## End If ##-->
<!--## End If ##-->
<!--## Next ##-->
<!--## If UBound(RecordLinks()) >= 0 Then ##-->
<th></th>
<!--## End If ##-->
</tr>
<%
vsRow = 0
Do While Not vsRs.EOF And (vsRow < vsLimit Or vsLimit = 0)
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
<% If (vsRights And <!--##=RightConst(listLink)##-->) <> 0 Then %><a href="<!--##=PageFile(TABLE.TblVar, "", listLink)##-->?<%= Html(<!--##=KeyQuery("vsRs")##--> & MasterQuery(vsMaster)) %>"><!--##$ listLink ##--></a><% End If %>
<!--## Next ##-->
</td>
<!--## End If ##-->
</tr>
<%
  vsRs.MoveNext
Loop
%>
</table>
<% If vsSize = 0 And vsLimit > 0 Then %>
<p class="notice"><%= Replace(Replace(P("allcapped"), "%1", vsLimit), "%2", vsTotal) %></p>
<% End If %>
<% End If %>
<%
vsRs.Close
WritePager vsTotal, vsStart, vsSize, vsBase & vsUrl & "size=" & vsSize & "&" & SortQuery()

Function SortQuery()
  SortQuery = ""
  If vsSort <> "" Then SortQuery = "order=" & UrlPart(vsSort) & "&dir=" & vsDir & "&"
End Function

Function MasterQuery(ByVal v)
  MasterQuery = ""
  If v <> "" Then MasterQuery = "&master=" & UrlPart(v)
End Function
%>
<!--## If PageSizeItems() <> "" Then ##-->
<form class="pagesize" method="get" action="<!--##=PageFile(TABLE.TblVar, "", "list")##-->">
<% If vsMaster <> "" Then %><input type="hidden" name="master" value="<%= Html(vsMaster) %>"><% End If %>
<select name="size" class="autosubmit">
<% For vsI = 0 To UBound(vsSizes) %>
<option value="<%= vsSizes(vsI) %>"<% If vsSizes(vsI) = vsSize Then Response.Write " selected" %>><% If vsSizes(vsI) = 0 Then Response.Write P("all") Else Response.Write vsSizes(vsI) %></option>
<% Next %>
</select>
<noscript><input type="submit" value="<%= P("pagesize") %>"></noscript>
</form>
<!--## End If ##-->
<!--##include page.asp/pageend##-->
<!--##/session##-->

<!--##session masterheader##-->
<%
' The record of <!--##=CommentText(listMaster.TblName)##--> whose rows this list shows.
Sub WriteMasterHeader(ByVal sKey)
  Dim q, rs
  ' A visitor who may not list the master table does not see its record here either.
  If (<!--##=RightsExpr(listMaster)##--> And vsRightList) = 0 Then Exit Sub
  Set q = NewQuery()
  Set rs = q.Open("SELECT " & <!--##=ListedColumnsOf(listMaster)##--> & " FROM " & QName(<!--##=Lit(listMaster.TblName)##-->) & " WHERE " & AndWhere(EqualTerm(q, QName(<!--##=Lit(TABLE.GetV("TblMasterFld"))##-->), sKey, <!--##=Lit(ParamKind(listDetailField))##-->), <!--##=OwnerTermExpr(listMaster, "q")##-->))
  If rs.EOF Then
    rs.Close
    Exit Sub
  End If
  Response.Write "<table class=""record master"">"
<!--## For Each listMasterField In FieldsOf(listMaster) ##-->
<!--## If IsListedOf(listMaster, listMasterField) Then ##-->
  Response.Write "<tr><th>" & Html(ReportLanguage.FieldPhrase(<!--##=Lit(LCase(listMaster.TblVar))##-->, <!--##=Lit(LCase(listMasterField.FldParm))##-->, "fldcaption", <!--##=Lit(FieldCaption(listMasterField))##-->)) & "</th><td>" & <!--##=ShowExpr(listMasterField, "rs")##--> & "</td></tr>"
<!--## End If ##-->
<!--## Next ##-->
  Response.Write "</table>"
  rs.Close
End Sub
%>
<!--##/session##-->

<!--##session searchform##-->
<!--## If ListBasicSearchFields() <> "" Or TableHasSearchFields() Then ##-->
<form class="search" method="get" action="<!--##=PageFile(TABLE.TblVar, "", "list")##-->">
<% If vsMaster <> "" Then %><input type="hidden" name="master" value="<%= Html(vsMaster) %>"><% End If %>
<!--## If ListBasicSearchFields() <> "" Then ##-->
<input type="text" name="q" value="<%= Html(vsQuery) %>">
<input type="submit" value="<%= P("search") %>">
<a href="<!--##=PageFile(TABLE.TblVar, "", "list")##-->"><%= P("showall") %></a>
<!--## End If ##-->
<!--## If TableHasSearchFields() Then ##-->
<a href="<!--##=PageFile(TABLE.TblVar, "", "search")##-->"><%= P("advancedsearch") %></a>
<!--## End If ##-->
</form>
<!--## End If ##-->
<!--##/session##-->

<!--##session search##-->
<!--## Dim searchField, searchOp ##-->
<%
' The boxes start empty (Null): an empty text would show a yes/no field's "no", and search for it.
Dim vsRights
vsRights = <!--##=RightsExpr(TABLE)##-->
RequireRight vsRights, vsRightList
vsPageTitle = ReportLanguage.TablePhrase(<!--##=Lit(LCase(TABLE.TblVar))##-->, "tblcaption", <!--##=Lit(TableCaption(TABLE))##-->)
%>
<!--##include page.asp/pagestart##-->
<h2><%= Html(vsPageTitle) %>: <%= P("advancedsearch") %></h2>
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
<!--## If UCase(searchField.FldHtmlTag & "") = "SELECT" Or UCase(searchField.FldHtmlTag & "") = "RADIO" Then ##-->
<%= FieldInput("s_<!--##=searchField.FldParm##-->", Null, "SELECT", <!--##=Lit(ParamKind(searchField))##-->, False, <!--##=ChoicesExpr(searchField)##-->, 0, <!--##=LimitExpr(searchField)##-->, 0, 0) %>
<!--## Else ##-->
<%= FieldInput("s_<!--##=searchField.FldParm##-->", Null, "TEXT", <!--##=Lit(ParamKind(searchField))##-->, False, Array(), 0, <!--##=LimitExpr(searchField)##-->, 0, 0) %>
<!--## End If ##-->
<!--## If UCase(searchField.FldSrchOpr & "") = "BETWEEN" Or UCase(searchField.FldSrchOpr & "") = "USER SELECT" Then ##-->
<%= FieldInput("s2_<!--##=searchField.FldParm##-->", Null, "TEXT", <!--##=Lit(ParamKind(searchField))##-->, False, Array(), 0, <!--##=LimitExpr(searchField)##-->, 0, 0) %>
<!--## End If ##-->
</td>
</tr>
<!--## Next ##-->
</table>
<p class="actions"><input type="submit" value="<%= P("search") %>"></p>
</form>
<!--##include page.asp/pageend##-->
<!--##/session##-->
