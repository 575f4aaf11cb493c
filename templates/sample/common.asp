<!--#include file="config.asp"-->
<%
' Code every page of <!--##=SiteTitle()##--> shares: the database connection, the language
' files, and the helpers that show, check, store and search values.
Response.Buffer = True

Dim vsConn, vsPageTitle, vsMessage, ReportLanguage, vsChoiceCache
Set vsConn = Nothing

' ---- Database ----

Function Db()
  If vsConn Is Nothing Then
    Set vsConn = Server.CreateObject("ADODB.Connection")
    vsConn.Open vsConnectionString
  End If
  Set Db = vsConn
End Function

Sub CloseDb()
  If Not vsConn Is Nothing Then
    vsConn.Close
    Set vsConn = Nothing
  End If
End Sub

Function QName(ByVal sName)
  QName = vsQuoteS & sName & vsQuoteE
End Function

Function SqlText(ByVal v)
  SqlText = "'" & Replace(v & "", "'", "''") & "'"
End Function

' A value typed by a visitor as an SQL literal of its kind; NULL when it is not one.
Function SqlLiteral(ByVal v, ByVal sKind, ByVal sQuoteS, ByVal sQuoteE)
  v = Trim(v & "")
  SqlLiteral = "NULL"
  Select Case sKind
    Case "int", "float"
      If IsNumeric(v) Then SqlLiteral = Replace(CStr(CDbl(v)), ",", ".")
    Case "bool"
      If IsTrueValue(v) Then SqlLiteral = vsTrue Else SqlLiteral = vsFalse
    Case "date"
      If IsDate(v) Then SqlLiteral = sQuoteS & IsoDate(CDate(v)) & sQuoteE
    Case Else
      SqlLiteral = "'" & Replace(v, "'", "''") & "'"
  End Select
End Function

Function IsoDate(ByVal d)
  IsoDate = Year(d) & "-" & Right("0" & Month(d), 2) & "-" & Right("0" & Day(d), 2)
  If Hour(d) <> 0 Or Minute(d) <> 0 Or Second(d) <> 0 Then
    IsoDate = IsoDate & " " & Right("0" & Hour(d), 2) & ":" & Right("0" & Minute(d), 2) & ":" & _
              Right("0" & Second(d), 2)
  End If
End Function

Function AndWhere(ByVal sWhere, ByVal sTerm)
  If sTerm = "" Then
    AndWhere = sWhere
  ElseIf sWhere = "" Then
    AndWhere = sTerm
  Else
    AndWhere = sWhere & " AND " & sTerm
  End If
End Function

' One condition of a search: the field compared with what the visitor typed.
Function SearchTerm(ByVal sField, ByVal sOp, ByVal v, ByVal v2, ByVal sKind, ByVal sQuoteS, ByVal sQuoteE)
  SearchTerm = ""
  v = Trim(v & "")
  If v = "" Then Exit Function
  Select Case UCase(sOp)
    Case "LIKE"
      SearchTerm = sField & " LIKE " & SqlText("%" & v & "%")
    Case "NOT LIKE"
      SearchTerm = sField & " NOT LIKE " & SqlText("%" & v & "%")
    Case "STARTS WITH"
      SearchTerm = sField & " LIKE " & SqlText(v & "%")
    Case "BETWEEN"
      If Trim(v2 & "") = "" Then
        SearchTerm = sField & " >= " & SqlLiteral(v, sKind, sQuoteS, sQuoteE)
      Else
        SearchTerm = sField & " BETWEEN " & SqlLiteral(v, sKind, sQuoteS, sQuoteE) & " AND " & _
                     SqlLiteral(v2, sKind, sQuoteS, sQuoteE)
      End If
    Case "<>", "<", "<=", ">", ">="
      SearchTerm = sField & " " & sOp & " " & SqlLiteral(v, sKind, sQuoteS, sQuoteE)
    Case Else
      SearchTerm = sField & " = " & SqlLiteral(v, sKind, sQuoteS, sQuoteE)
  End Select
End Function

' The basic search: any of the fields contains the text.
Function LikeAny(ByVal aFields, ByVal v)
  Dim i
  LikeAny = ""
  If Trim(v & "") = "" Or UBound(aFields) < 0 Then Exit Function
  For i = 0 To UBound(aFields)
    If LikeAny <> "" Then LikeAny = LikeAny & " OR "
    LikeAny = LikeAny & aFields(i) & " LIKE " & SqlText("%" & Trim(v) & "%")
  Next
  LikeAny = "(" & LikeAny & ")"
End Function

' Choices from a lookup table: value, label, value, label, ... Read once a request.
Function LookupChoices(ByVal sSql)
  Dim rs, list, n
  If Not IsObject(vsChoiceCache) Then Set vsChoiceCache = Server.CreateObject("Scripting.Dictionary")
  If vsChoiceCache.Exists(sSql) Then
    LookupChoices = vsChoiceCache(sSql)
    Exit Function
  End If
  n = 0
  list = Array()
  Set rs = Db().Execute(sSql)
  Do While Not rs.EOF
    ReDim Preserve list(n + 1)
    list(n) = rs(0) & ""
    list(n + 1) = rs(1) & ""
    n = n + 2
    rs.MoveNext
  Loop
  rs.Close
  vsChoiceCache.Add sSql, list
  LookupChoices = list
End Function

' The label of a stored value among choices; the value itself when no choice has it.
Function ChoiceLabel(ByVal aChoices, ByVal v)
  Dim i
  ChoiceLabel = v
  If IsNull(v) Then Exit Function
  For i = 0 To UBound(aChoices) - 1 Step 2
    If CStr(aChoices(i)) = CStr(v) Then
      ChoiceLabel = aChoices(i + 1)
      Exit Function
    End If
  Next
End Function

' ---- Values ----

Function Html(ByVal v)
  If IsNull(v) Or IsEmpty(v) Then
    Html = ""
  Else
    Html = Server.HTMLEncode(CStr(v))
  End If
End Function

Function IsTrueValue(ByVal v)
  If IsNull(v) Or IsEmpty(v) Then
    IsTrueValue = False
  ElseIf VarType(v) = vbBoolean Then
    IsTrueValue = v
  Else
    Select Case LCase(Trim(CStr(v)))
      Case "1", "-1", "true", "yes", "on"
        IsTrueValue = True
      Case Else
        IsTrueValue = False
    End Select
  End If
End Function

' A stored value as the page shows it.
Function ShowValue(ByVal v, ByVal sKind)
  If IsNull(v) Or IsEmpty(v) Then
    ShowValue = ""
  ElseIf sKind = "bool" Then
    If IsTrueValue(v) Then
      ShowValue = Html(ReportLanguage.Phrase("yes"))
    Else
      ShowValue = Html(ReportLanguage.Phrase("no"))
    End If
  ElseIf sKind = "date" And IsDate(v) Then
    ShowValue = Html(FormatDateTime(v, <!--##=DateFormatCode()##-->))
  ElseIf sKind = "binary" Then
    ShowValue = ""
  Else
    ShowValue = Replace(Html(v), vbCrLf, "<br>")
  End If
End Function

' A value from a form as the database takes it: Null for nothing.
Function DbValue(ByVal v, ByVal sKind)
  v = Trim(v & "")
  If sKind = "bool" Then
    DbValue = IsTrueValue(v)
  ElseIf v = "" Then
    DbValue = Null
  ElseIf sKind = "int" Or sKind = "float" Then
    DbValue = CDbl(v)
  ElseIf sKind = "date" Then
    DbValue = CDate(v)
  Else
    DbValue = v
  End If
End Function

' An empty text when the value fits its field, else the message shown in the form.
Function CheckValue(ByVal v, ByVal sKind, ByVal bRequired, ByVal sCaption)
  Dim problem
  v = Trim(v & "")
  problem = ""
  If v = "" Then
    If bRequired And sKind <> "bool" Then problem = "required"
  ElseIf (sKind = "int" Or sKind = "float") And Not IsNumeric(v) Then
    problem = "invalidnumber"
  ElseIf sKind = "int" Then
    If CDbl(v) <> Fix(CDbl(v)) Then problem = "invalidinteger"
  ElseIf sKind = "date" And Not IsDate(v) Then
    problem = "invaliddate"
  End If
  If problem = "" Then
    CheckValue = ""
  Else
    CheckValue = Html(sCaption) & ": " & Html(ReportLanguage.Phrase(problem)) & "<br>"
  End If
End Function

Function RequestInt(ByVal sName, ByVal nDefault)
  Dim v
  v = Trim(Request.QueryString(sName) & "")
  RequestInt = nDefault
  If IsNumeric(v) Then
    If CDbl(v) >= 1 And CDbl(v) < 1000000000 Then RequestInt = CLng(v)
  End If
End Function

Function IsPost()
  IsPost = (UCase(Request.ServerVariables("REQUEST_METHOD")) = "POST")
End Function

' ---- Forms ----

' The input control of a field.
Function FieldInput(ByVal sName, ByVal v, ByVal sTag, ByVal aChoices, ByVal nSize, ByVal nMax, ByVal nRows, ByVal nCols)
  Dim s, i, sel
  v = v & ""
  Select Case UCase(sTag)
    Case "TEXTAREA"
      s = "<textarea name=""" & sName & """ rows=""" & nRows & """ cols=""" & nCols & """>" & Html(v) & "</textarea>"
    Case "CHECKBOX"
      s = "<input type=""checkbox"" name=""" & sName & """ value=""1"""
      If IsTrueValue(v) Then s = s & " checked"
      s = s & ">"
    Case "SELECT"
      s = "<select name=""" & sName & """><option value=""""></option>"
      For i = 0 To UBound(aChoices) - 1 Step 2
        sel = ""
        If CStr(aChoices(i)) = v Then sel = " selected"
        s = s & "<option value=""" & Html(aChoices(i)) & """" & sel & ">" & Html(aChoices(i + 1)) & "</option>"
      Next
      s = s & "</select>"
    Case "RADIO"
      s = ""
      For i = 0 To UBound(aChoices) - 1 Step 2
        sel = ""
        If CStr(aChoices(i)) = v Then sel = " checked"
        s = s & "<label><input type=""radio"" name=""" & sName & """ value=""" & Html(aChoices(i)) & """" & sel & "> " & Html(aChoices(i + 1)) & "</label> "
      Next
    Case Else
      s = "<input type=""text"" name=""" & sName & """ value=""" & Html(v) & """"
      If nSize > 0 Then s = s & " size=""" & nSize & """"
      If nMax > 0 Then s = s & " maxlength=""" & nMax & """"
      s = s & ">"
  End Select
  FieldInput = s
End Function

' ---- Paging ----

Sub WritePager(ByVal nTotal, ByVal nStart, ByVal nSize, ByVal sUrl)
  Dim nLast, nPrev, nNext
  If nTotal <= nSize Then Exit Sub
  nLast = ((nTotal - 1) \ nSize) * nSize + 1
  nPrev = nStart - nSize
  If nPrev < 1 Then nPrev = 1
  nNext = nStart + nSize
  If nNext > nLast Then nNext = nLast
  Response.Write "<div class=""pager"">"
  If nStart > 1 Then
    Response.Write "<a href=""" & sUrl & "start=1"">" & Html(ReportLanguage.Phrase("first")) & "</a> "
    Response.Write "<a href=""" & sUrl & "start=" & nPrev & """>" & Html(ReportLanguage.Phrase("previous")) & "</a> "
  End If
  Response.Write Html(ReportLanguage.Phrase("records")) & " " & nStart & " - "
  If nStart + nSize - 1 < nTotal Then
    Response.Write nStart + nSize - 1
  Else
    Response.Write nTotal
  End If
  Response.Write " " & Html(ReportLanguage.Phrase("of")) & " " & nTotal
  If nStart < nLast Then
    Response.Write " <a href=""" & sUrl & "start=" & nNext & """>" & Html(ReportLanguage.Phrase("next")) & "</a>"
    Response.Write " <a href=""" & sUrl & "start=" & nLast & """>" & Html(ReportLanguage.Phrase("last")) & "</a>"
  End If
  Response.Write "</div>"
End Sub

' ---- Language ----

' The texts of one language file of the site's language folder.
Class cLanguage
  Private m_doc, m_loaded

  Public Sub Load(ByVal sFile)
    Set m_doc = Server.CreateObject("MSXML2.DOMDocument")
    m_doc.async = False
    m_loaded = m_doc.Load(sFile)
  End Sub

  Private Function Lookup(ByVal sPath, ByVal sDefault)
    Dim node
    Lookup = sDefault
    If Not m_loaded Then Exit Function
    Set node = m_doc.selectSingleNode(sPath)
    If Not node Is Nothing Then Lookup = node.getAttribute("value") & ""
  End Function

  Private Function Key(ByVal s)
    Key = "'" & Replace(LCase(s), "'", "") & "'"
  End Function

  Public Function Phrase(ByVal sId)
    Phrase = Lookup("/*/global/phrase[@id=" & Key(sId) & "]", sId)
  End Function

  Public Function TablePhrase(ByVal sTable, ByVal sId, ByVal sDefault)
    TablePhrase = Lookup("/*/project/table[@id=" & Key(sTable) & "]/phrase[@id=" & Key(sId) & "]", sDefault)
  End Function

  Public Function FieldPhrase(ByVal sTable, ByVal sField, ByVal sId, ByVal sDefault)
    FieldPhrase = Lookup("/*/project/table[@id=" & Key(sTable) & "]/field[@id=" & Key(sField) & "]/phrase[@id=" & Key(sId) & "]", sDefault)
  End Function

  Public Function MenuPhrase(ByVal nId, ByVal sId, ByVal sDefault)
    MenuPhrase = Lookup("/*/project/menu[@id=" & Key(CStr(nId)) & "]/phrase[@id=" & Key(sId) & "]", sDefault)
  End Function
End Class

' The language file of this visit: the one asked for, else the one chosen before, else the first.
Function LanguageFile()
  Dim files, wanted, i
  files = Array(<!--##=LanguageFileItems()##-->)
  LanguageFile = files(0)
  wanted = Request.QueryString("lang") & ""
  If wanted = "" Then wanted = Session("vs_language") & ""
  For i = 0 To UBound(files)
    If LCase(files(i)) = LCase(wanted) Then LanguageFile = files(i)
  Next
  Session("vs_language") = LanguageFile
End Function

Set ReportLanguage = New cLanguage
ReportLanguage.Load Server.MapPath(<!--##=Lit(SiteFolder("_language", "language") & "/")##--> & LanguageFile())
%>
