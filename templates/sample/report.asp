The report page of a report: its source's records in groups, with sums.

<!--##session report##-->
<!--##
  Dim reportField, reportGroup, recordField
  Set reportGroup = ReportGroupField()
##-->
<%
' <!--##=CommentText(TableCaption(TABLE))##-->: the records of <!--##=CommentText(TABLE.GetV("TblRptSrc"))##-->, a page of groups (or of rows when
' it has no group) at a time.
Dim vsQ, vsRs, vsGroup, vsFirst, vsRow, vsRights, vsStart, vsSize, vsTotal, vsLast
vsRights = <!--##=RightsExpr(TABLE)##-->
RequireRight vsRights, vsRightList
vsSize = <!--##=RecordsPerPage()##-->
vsStart = RequestInt("start", 1)
<!--## For Each reportField In ReportSumFields() ##-->
Dim vsSum_<!--##=reportField.FldParm##-->, vsTotal_<!--##=reportField.FldParm##-->
vsSum_<!--##=reportField.FldParm##--> = 0
vsTotal_<!--##=reportField.FldParm##--> = 0
<!--## Next ##-->
vsPageTitle = ReportLanguage.TablePhrase(<!--##=Lit(LCase(TABLE.TblVar))##-->, "tblcaption", <!--##=Lit(TableCaption(TABLE))##-->)
<!--## If reportGroup Is Nothing Then ##-->
vsTotal = PageStart(NewQuery(), "*")
Set vsQ = NewQuery()
Set vsRs = vsQ.Open(PagedSql(<!--##=ReportColumnsExpr()##-->, ReportFrom(vsQ, ""), <!--##=ReportOrderExpr(Nothing)##-->, vsStart, vsSize))
SkipToPage vsRs, vsStart
<!--## Else ##-->
vsTotal = PageStart(NewQuery(), <!--##=NameExpr(reportGroup)##-->)
Set vsQ = NewQuery()
Set vsRs = vsQ.Open("SELECT " & <!--##=ReportColumnsExpr()##--> & " FROM " & ReportFrom(vsQ, PageGroupsTerm(vsQ)) & " ORDER BY " & <!--##=ReportOrderExpr(reportGroup)##-->)
<!--## End If ##-->
vsLast = (vsStart + vsSize > vsTotal)

' The FROM part of the report's queries with the condition sTerm, and a user's own rows only.
Function ReportFrom(ByVal q, ByVal sTerm)
  Dim sWhere
  sWhere = AndWhere(sTerm, <!--##=OwnerTermExpr(TABLE, "q")##-->)
  ReportFrom = <!--##=FromExpr(TABLE)##-->
  If sWhere <> "" Then ReportFrom = ReportFrom & " WHERE " & sWhere
End Function

' The number of groups (of rows for sGroup "*"), and vsStart made the first of its page.
Function PageStart(ByVal q, ByVal sGroup)
  Dim n
  If sGroup = "*" Then
    n = q.Open("SELECT COUNT(*) FROM " & ReportFrom(q, ""))(0).Value
  Else
    n = q.Open("SELECT COUNT(*) FROM (SELECT " & sGroup & " FROM " & ReportFrom(q, "") & " GROUP BY " & sGroup & ") vs_groups")(0).Value
  End If
  If IsNull(n) Then n = 0
  PageStart = CLng(n)
  If vsStart > PageStart Then vsStart = 1
  vsStart = ((vsStart - 1) \ vsSize) * vsSize + 1
End Function
<!--## If Not reportGroup Is Nothing Then ##-->

' The condition "the row is of a group of this page", with the query q: the groups from the
' page's first to its last in their order, which also holds a group whose value the database keeps
' in more than one form (SQLite's date texts: with or without a time, a "T", milliseconds).
Function PageGroupsTerm(ByVal q)
  Dim gq, rs, n, s, bNull, vFirst, vLast, sKind
  sKind = <!--##=Lit(ParamKind(reportGroup))##-->
  Set gq = NewQuery()
  Set rs = gq.Open(PagedSql(<!--##=NameExpr(reportGroup)##-->, ReportFrom(gq, "") & " GROUP BY " & <!--##=NameExpr(reportGroup)##-->, <!--##=NameExpr(reportGroup)##-->, vsStart, vsSize))
  SkipToPage rs, vsStart
  n = 0
  bNull = False
  vFirst = Null
  Do While Not rs.EOF And n < vsSize
    If IsNull(rs(0).Value) Then
      bNull = True
    Else
      If IsNull(vFirst) Then vFirst = rs(0).Value
      vLast = rs(0).Value
    End If
    n = n + 1
    rs.MoveNext
  Loop
  rs.Close
  s = ""
  If Not IsNull(vFirst) Then
    s = "(" & CompareTerm(q, <!--##=NameExpr(reportGroup)##-->, ">=", vFirst, sKind) & " AND "
    If sKind = "date" Then
      ' A date read back holds no milliseconds: the last group runs to the end of its second.
      s = s & CompareTerm(q, <!--##=NameExpr(reportGroup)##-->, "<", DateAdd("s", 1, vLast), sKind) & ")"
    Else
      s = s & CompareTerm(q, <!--##=NameExpr(reportGroup)##-->, "<=", vLast, sKind) & ")"
    End If
  End If
  If bNull Then s = OrTerm(s, <!--##=NameExpr(reportGroup)##--> & " IS NULL")
  If s = "" Then s = "1 = 0"
  PageGroupsTerm = "(" & s & ")"
End Function

Function OrTerm(ByVal a, ByVal b)
  If a = "" Then OrTerm = b Else OrTerm = a & " OR " & b
End Function
<!--## End If ##-->
<!--## If IsOn(TABLE.GetV("TblRptShowGrandTotal")) And UBound(ReportSumFields()) >= 0 Then ##-->

' The sums of every row, not only of this page's.
Sub ReadTotals()
  Dim q, rs
  Set q = NewQuery()
  Set rs = q.Open("SELECT " & <!--##=ReportSumColumnsExpr()##--> & " FROM " & ReportFrom(q, ""))
<!--## For Each reportField In ReportSumFields() ##-->
  If IsNumeric(rs("vs_sum_<!--##=reportField.FldParm##-->").Value) Then vsTotal_<!--##=reportField.FldParm##--> = CDbl(rs("vs_sum_<!--##=reportField.FldParm##-->").Value)
<!--## Next ##-->
  rs.Close
End Sub
<!--## End If ##-->
vsFirst = True
vsRow = 0
%>
<!--##include page.asp/pagestart##-->
<h2><%= Html(vsPageTitle) %></h2>
<table class="grid report">
<tr>
<!--## For Each recordField In ReportFields() ##-->
<th><!--##include record.asp/caption##--></th>
<!--## Next ##-->
</tr>
<%
Do While Not vsRs.EOF<!--## If reportGroup Is Nothing Then ##--> And vsRow < vsSize<!--## End If ##-->
  vsRow = vsRow + 1
<!--## If Not reportGroup Is Nothing Then ##-->
  If vsFirst Or vsGroup <> vsRs(<!--##=Lit(reportGroup.FldName)##-->).Value & "" Then
    If Not vsFirst Then WriteGroupSums
    vsGroup = vsRs(<!--##=Lit(reportGroup.FldName)##-->).Value & ""
    Response.Write "<tr class=""group""><td colspan=""<!--##=UBound(ReportFields()) + 1##-->"">" & <!--##=ReportShowExpr(reportGroup, "vsRs")##--> & "</td></tr>"
  End If
<!--## End If ##-->
  vsFirst = False
<!--## For Each reportField In ReportSumFields() ##-->
  If IsNumeric(vsRs(<!--##=Lit(reportField.FldName)##-->).Value) Then
    vsSum_<!--##=reportField.FldParm##--> = vsSum_<!--##=reportField.FldParm##--> + CDbl(vsRs(<!--##=Lit(reportField.FldName)##-->).Value)
  End If
<!--## Next ##-->
%>
<tr class="row<%= vsRow Mod 2 %>">
<!--## For Each recordField In ReportFields() ##-->
<td><%= <!--##=ReportShowExpr(recordField, "vsRs")##--> %></td>
<!--## Next ##-->
</tr>
<%
  vsRs.MoveNext
Loop
vsRs.Close
If Not vsFirst Then WriteGroupSums
<!--## If IsOn(TABLE.GetV("TblRptShowGrandTotal")) And UBound(ReportSumFields()) >= 0 Then ##-->
' The grand total closes the last page.
If vsLast Then
  ReadTotals
  WriteSums "total", Array(<!--##=ReportSumItems("vsTotal_")##-->)
End If
<!--## End If ##-->

' The sums of the group just ended, then a fresh start for the next.
Sub WriteGroupSums()
<!--## If Not reportGroup Is Nothing Then ##-->
  WriteSums "grouptotal", Array(<!--##=ReportSumItems("vsSum_")##-->)
<!--## End If ##-->
<!--## For Each reportField In ReportSumFields() ##-->
  vsSum_<!--##=reportField.FldParm##--> = 0
<!--## Next ##-->
End Sub

' A row of sums under the columns that are summed.
Sub WriteSums(ByVal sLabel, ByVal aSums)
  Dim i
  If UBound(aSums) < 0 Then Exit Sub
  Response.Write "<tr class=""sum"">"
  For i = 0 To UBound(aSums)
    If i = 0 Then
      Response.Write "<td>" & P(sLabel) & " " & Html(aSums(i)) & "</td>"
    Else
      Response.Write "<td>" & Html(aSums(i)) & "</td>"
    End If
  Next
  Response.Write "</tr>"
End Sub
%>
</table>
<% WritePager vsTotal, vsStart, vsSize, <!--##=Lit(PageFile(TABLE.TblVar, "", "report") & "?")##--> %>
<!--##include page.asp/pageend##-->
<!--##/session##-->
