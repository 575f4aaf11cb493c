The report page of a report: its source's records in groups, with sums.

<!--##session report##-->
<!--##
  Dim reportField, reportGroup, recordField
  Set reportGroup = ReportGroupField()
##-->
<%
' <!--##=CommentText(TableCaption(TABLE))##-->: the records of <!--##=CommentText(TABLE.GetV("TblRptSrc"))##-->.
Dim vsQ, vsRs, vsGroup, vsFirst, vsRow, vsRights, vsFrom
vsRights = <!--##=RightsExpr(TABLE)##-->
RequireRight vsRights, vsRightList
<!--## For Each reportField In ReportSumFields() ##-->
Dim vsSum_<!--##=reportField.FldParm##-->, vsTotal_<!--##=reportField.FldParm##-->
vsSum_<!--##=reportField.FldParm##--> = 0
vsTotal_<!--##=reportField.FldParm##--> = 0
<!--## Next ##-->
vsPageTitle = ReportLanguage.TablePhrase(<!--##=Lit(LCase(TABLE.TblVar))##-->, "tblcaption", <!--##=Lit(TableCaption(TABLE))##-->)
Set vsQ = NewQuery()
vsFrom = <!--##=FromExpr(TABLE)##-->
<!--## If HasUserIdField() Then ##-->
' A user's own rows only.
vsFrom = vsFrom & " WHERE " & AndWhere("1 = 1", <!--##=OwnerTermExpr(TABLE, "vsQ")##-->)
<!--## End If ##-->
<!--## If reportGroup Is Nothing Then ##-->
Set vsRs = vsQ.Open("SELECT " & <!--##=ReportColumnsExpr()##--> & " FROM " & vsFrom)
<!--## Else ##-->
Set vsRs = vsQ.Open("SELECT " & <!--##=ReportColumnsExpr()##--> & " FROM " & vsFrom & " ORDER BY " & <!--##=ReportOrderExpr(reportGroup)##-->)
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
Do While Not vsRs.EOF
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
    vsTotal_<!--##=reportField.FldParm##--> = vsTotal_<!--##=reportField.FldParm##--> + CDbl(vsRs(<!--##=Lit(reportField.FldName)##-->).Value)
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
<!--## If IsOn(TABLE.GetV("TblRptShowGrandTotal")) Then ##-->
WriteSums "total", Array(<!--##=ReportSumItems("vsTotal_")##-->)
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
<!--##include page.asp/pageend##-->
<!--##/session##-->
