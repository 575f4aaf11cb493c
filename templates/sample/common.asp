<%@ Language="VBScript" CodePage=65001 %><% Option Explicit %>
<!--#include file="config.asp"-->
<!--#include file="lookup.asp"-->
<%
' Code every page of <!--##=CommentText(SiteTitle())##--> shares: the database, the visitor's login and
' rights, the form token, the language file, and the helpers that show, check, store and search
' values. Every value a visitor sends reaches SQL as a typed ADODB.Command parameter.
Response.Buffer = True
' Forms are read and pages written in UTF-8, whatever the server's own code page.
Response.CodePage = 65001
Response.Charset = "utf-8"
Response.AddHeader "X-Content-Type-Options", "nosniff"
Response.AddHeader "X-Frame-Options", "DENY"
Response.AddHeader "Content-Security-Policy", "default-src 'self'; img-src 'self' data:; frame-ancestors 'none'; form-action 'self'"
' Pages show records and forms: other sites are not told their addresses, and no cache keeps
' them for the next user of the browser or of a shared proxy.
Response.AddHeader "Referrer-Policy", "same-origin"
Response.CacheControl = "no-store"

Dim vsConn, vsPageTitle, vsMessage, ReportLanguage, vsUpload, vsUploadProblem
Set vsConn = Nothing
' The post of a form that sends files, once upload.asp has read it.
Set vsUpload = Nothing
vsUploadProblem = ""

Const vsSecType = <!--##=Lit(SecurityType())##-->
' Rights of a table, added up: list, view, add, edit, delete.
Const vsRightList = 1
Const vsRightView = 2
Const vsRightAdd = 4
Const vsRightEdit = 8
Const vsRightDelete = 16
Const vsRightAll = 31

' ---- Database ----

Function Db()
  If vsConn Is Nothing Then
    Set vsConn = Server.CreateObject("ADODB.Connection")
    vsConn.Open vsConnectionString
    ' SQLite checks foreign keys only when each connection asks it to: without this a row that
    ' others refer to could be deleted.
    If vsDbms = "sqlite" Then vsConn.Execute "PRAGMA foreign_keys = ON"
  End If
  Set Db = vsConn
End Function

Sub CloseDb()
  If Not vsConn Is Nothing Then
    If vsConn.State <> 0 Then vsConn.Close
    Set vsConn = Nothing
  End If
End Sub

' A table or field name between the database's quotes, a quote inside it doubled.
Function QName(ByVal sName)
  If vsQuoteE = "" Then
    QName = sName
  Else
    QName = vsQuoteS & Replace(sName, vsQuoteE, vsQuoteE & vsQuoteE) & vsQuoteE
  End If
End Function

' A date or time column read as the text the database writes it in, under its own name: a Date
' would lose what it cannot hold (a fraction of a second, a year before 1000, a time past 24
' hours, a zone), and a form must show the value stored.
Function DateColumn(ByVal sName)
  Select Case vsDbms
    Case "postgresql", "sqlite"
      DateColumn = "CAST(" & QName(sName) & " AS TEXT) AS " & QName(sName)
    Case "mysql"
      DateColumn = "CAST(" & QName(sName) & " AS CHAR) AS " & QName(sName)
    Case "mssql"
      DateColumn = "CONVERT(VARCHAR(40), " & QName(sName) & ", 121) AS " & QName(sName)
    Case Else
      DateColumn = QName(sName)
  End Select
End Function

' One statement and its parameters. Param records a value and gives the "?" that stands for it
' in the SQL text, so a statement is written left to right with its values in order.
Class cQuery
  Private m_values, m_kinds, m_count

  Private Sub Class_Initialize()
    m_count = 0
    ReDim m_values(15)
    ReDim m_kinds(15)
  End Sub

  Public Function Param(ByVal v, ByVal sKind)
    If m_count > UBound(m_values) Then
      ReDim Preserve m_values(m_count * 2)
      ReDim Preserve m_kinds(m_count * 2)
    End If
    m_values(m_count) = v
    m_kinds(m_count) = sKind
    m_count = m_count + 1
    Param = "?"
  End Function

  Public Property Get Count()
    Count = m_count
  End Property

  ' The command of the text with every recorded value as a parameter typed by its kind.
  Public Function Command(ByVal sSql)
    Dim cmd, i, v, nType, nSize
    Set cmd = Server.CreateObject("ADODB.Command")
    Set cmd.ActiveConnection = Db()
    cmd.CommandText = sSql
    cmd.CommandType = 1
    For i = 0 To m_count - 1
      v = m_values(i)
      nSize = 0
      Select Case m_kinds(i)
        Case "int"
          nType = 20
        Case "float"
          nType = 5
        Case "decimal"
          nType = 131
        Case "bool"
          nType = 11
        Case "date", "day", "time"
          ' A form's date comes as the text the visitor typed, which keeps what a Date cannot
          ' (a fraction of a second, a year before 1000, a time past 24 hours); a search's as a
          ' Date. A day or a time alone is sent as its own type, so that it compares with the
          ' column as one.
          nType = DateParamType(m_kinds(i))
          If VarType(v) = vbDate And (vsDbms = "sqlite" Or m_kinds(i) <> "date") Then v = DateText(v, m_kinds(i))
          ' SQLite keeps dates as the text they were written as: they are sent as text.
          If vsDbms = "sqlite" And Not IsNull(v) Then
            nType = 202
            nSize = Len(v)
          End If
        Case "binary"
          nType = 205
          If Not IsNull(v) Then nSize = UBound(v) + 1
        Case "memo"
          nType = 203
          If Not IsNull(v) Then nSize = Len(v)
        Case Else
          nType = 202
          If Not IsNull(v) Then nSize = Len(v)
      End Select
      If nSize < 1 Then nSize = 1
      cmd.Parameters.Append cmd.CreateParameter("p" & i, nType, 1, nSize, v)
    Next
    Set Command = cmd
  End Function

  ' The rows of a query. A failed read ends the page with the short message of a failed write;
  ' the provider's text goes to the server's log.
  Public Function Open(ByVal sSql)
    Dim rs, nError, sError
    On Error Resume Next
    Set rs = Command(sSql).Execute()
    nError = Err.Number
    sError = Err.Description
    On Error GoTo 0
    If nError <> 0 Then ReadFailed sError
    Set Open = rs
  End Function

  ' Runs a statement that changes rows; gives how many it changed.
  Public Function Run(ByVal sSql)
    Dim n
    Command(sSql).Execute n
    Run = n
  End Function
End Class

Function DateParamType(ByVal sKind)
  Select Case sKind
    Case "day"
      DateParamType = 133
    Case "time"
      DateParamType = 134
    Case Else
      DateParamType = 135
  End Select
End Function

' A date as the text of its kind: "day" yyyy-mm-dd, "time" hh:mm:ss, else both.
Function DateText(ByVal v, ByVal sKind)
  Dim sDay, sTime
  sDay = Right("000" & Year(v), 4) & "-" & Right("0" & Month(v), 2) & "-" & Right("0" & Day(v), 2)
  sTime = Right("0" & Hour(v), 2) & ":" & Right("0" & Minute(v), 2) & ":" & Right("0" & Second(v), 2)
  Select Case sKind
    Case "day"
      DateText = sDay
    Case "time"
      DateText = sTime
    Case Else
      DateText = sDay & " " & sTime
  End Select
End Function

Function NewQuery()
  Set NewQuery = New cQuery
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

' A value typed by a visitor as the kind of its field: Null when it is not one, so that a key or
' a search of the wrong kind finds nothing instead of failing. Whole and exact numbers stay the
' text typed, which the database reads exactly (a Double holds only 15 digits).
Function TypedValue(ByVal v, ByVal sKind)
  Dim vGiven
  vGiven = v
  v = Trim(v & "")
  TypedValue = Null
  If v = "" Then Exit Function
  Select Case sKind
    Case "int"
      If IsWholeText(v) Then
        If WholeInRange(v, "-9223372036854775808:9223372036854775807") Or (vsDbms = "mysql" And WholeInRange(v, "0:18446744073709551615")) Then TypedValue = v
      End If
    Case "decimal"
      If IsDecimalText(v) Then TypedValue = v
    Case "float"
      If IsNumeric(v) Then TypedValue = CDbl(v)
    Case "bool"
      TypedValue = IsTrueValue(v)
    Case "date", "day", "time"
      TypedValue = TypedDate(vGiven)
    Case "binary"
    Case Else
      TypedValue = v
  End Select
End Function

' ---- Exact numbers as text ----

Function IsWholeText(ByVal s)
  Dim re
  Set re = New RegExp
  re.Pattern = "^[-+]?[0-9]+$"
  IsWholeText = re.Test(s & "")
End Function

' A number written plainly, with or without a fraction: what an exact column takes as it is.
Function IsDecimalText(ByVal s)
  Dim re
  Set re = New RegExp
  re.Pattern = "^[-+]?([0-9]+\.?[0-9]*|\.[0-9]+)$"
  IsDecimalText = re.Test(s & "")
End Function

' Whether a whole number written as text lies in the range "min:max" (both as text): compared
' digit by digit, since the ranges of 64-bit columns lie beyond what a Double counts exactly.
Function WholeInRange(ByVal s, ByVal sRange)
  Dim bounds
  bounds = Split(sRange, ":")
  WholeInRange = (CompareWhole(s, bounds(0)) >= 0 And CompareWhole(s, bounds(1)) <= 0)
End Function

' -1, 0 or 1 as the whole number a is less than, equal to or greater than b.
Function CompareWhole(ByVal a, ByVal b)
  Dim negA, negB, sign
  a = Trim(a & "")
  b = Trim(b & "")
  negA = (Left(a, 1) = "-")
  negB = (Left(b, 1) = "-")
  a = WholeDigits(a)
  b = WholeDigits(b)
  If a = "0" Then negA = False
  If b = "0" Then negB = False
  If negA <> negB Then
    If negA Then CompareWhole = -1 Else CompareWhole = 1
    Exit Function
  End If
  If negA Then sign = -1 Else sign = 1
  If Len(a) <> Len(b) Then
    If Len(a) < Len(b) Then CompareWhole = -sign Else CompareWhole = sign
  ElseIf a = b Then
    CompareWhole = 0
  ElseIf a < b Then
    CompareWhole = -sign
  Else
    CompareWhole = sign
  End If
End Function

' The digits of a whole number without its sign and leading zeros.
Function WholeDigits(ByVal s)
  If Left(s, 1) = "-" Or Left(s, 1) = "+" Then s = Mid(s, 2)
  Do While Len(s) > 1 And Left(s, 1) = "0"
    s = Mid(s, 2)
  Loop
  WholeDigits = s
End Function

' A date typed by a visitor, or Null when it is none. Day, month and year written with numbers
' are read in the order pages show them (see ShowDate), so that a date typed as a list shows it
' is that date; year-month-day is always taken. Anything else is read as VBScript reads dates.
Function TypedDate(ByVal v)
  Dim re, m, a, b, c, y, mo, d, t
  ' A date already (read from the database) is itself.
  If VarType(v) = vbDate Then
    TypedDate = v
    Exit Function
  End If
  TypedDate = Null
  v = Trim(v & "")
  Set re = New RegExp
  re.Pattern = "^(\d{1,4})([-/.])(\d{1,2})\2(\d{1,4})(?:[ T]+(.+))?$"
  If Not re.Test(v) Then
    If IsDate(v) Then TypedDate = CDate(v)
    Exit Function
  End If
  Set m = re.Execute(v)(0)
  a = CLng(m.SubMatches(0))
  b = CLng(m.SubMatches(2))
  c = CLng(m.SubMatches(3))
  If Len(m.SubMatches(0)) = 4 Then
    y = a : mo = b : d = c
  Else
    Select Case <!--##=DateFormatCode()##-->
      Case 6
        mo = a : d = b : y = c
      Case 7
        d = a : mo = b : y = c
      Case Else
        If IsDate(v) Then TypedDate = CDate(v)
        Exit Function
    End Select
    If Len(m.SubMatches(3)) <> 4 Then Exit Function
  End If
  If mo < 1 Or mo > 12 Or d < 1 Or d > 31 Or y < 100 Then Exit Function
  t = DateSerial(y, mo, d)
  If Day(t) <> d Then Exit Function
  If m.SubMatches(4) <> "" Then
    ' A time after the day; milliseconds, which VBScript's dates do not hold, are left out.
    c = m.SubMatches(4)
    re.Pattern = "\.\d+$"
    c = re.Replace(c, "")
    If Not IsDate(c) Then Exit Function
    If Int(CDbl(CDate(c))) <> 0 Then Exit Function
    t = t + TimeValue(CDate(c))
  End If
  TypedDate = t
End Function

' The condition "field = value"; a value that is no value of the field matches nothing.
Function EqualTerm(ByVal q, ByVal sField, ByVal v, ByVal sKind)
  v = TypedValue(v, sKind)
  If IsNull(v) Then
    EqualTerm = "1 = 0"
  Else
    EqualTerm = sField & " = " & q.Param(v, sKind)
  End If
End Function

' A text matched as it is typed: the LIKE wildcards in it lose their meaning.
Function LikeText(ByVal v)
  If vsDbms = "access" Then
    v = Replace(v, "[", "[[]")
    v = Replace(v, "%", "[%]")
    LikeText = Replace(v, "_", "[_]")
  Else
    v = Replace(v, "!", "!!")
    v = Replace(v, "%", "!%")
    LikeText = Replace(v, "_", "!_")
  End If
End Function

' "field contains / starts with the text", without regard to case: both sides are folded alike
' by the database, so that a text typed as it is stored is found whatever the letters. SQLite's
' LOWER folds only ASCII letters; PostgreSQL's follows the database's locale, and the C locale
' folds only ASCII letters too: the ICU root collation folds every letter where the server has it.
Function LikeTerm(ByVal q, ByVal sField, ByVal sPattern, ByVal bNot)
  Dim s, sText
  sText = q.Param(sPattern, "text")
  Select Case vsDbms
    Case "postgresql"
      ' LOWER is there only for text: an enum or any other type is compared as its text.
      s = PgFolded(sField) & " LIKE " & PgFolded(sText)
    Case "access"
      s = "LCase(" & sField & ") LIKE LCase(" & sText & ")"
    Case Else
      s = "LOWER(" & sField & ") LIKE LOWER(" & sText & ")"
  End Select
  If bNot Then s = "NOT (" & s
  If vsDbms <> "access" Then s = s & " ESCAPE '!'"
  If bNot Then s = s & ")"
  LikeTerm = s
End Function

' An expression as PostgreSQL's lower-case text, in the ICU root collation when the server has it
' (asked once, and kept by the application).
Function PgFolded(ByVal sExpr)
  Dim q, rs
  If IsEmpty(Application("vs_pg_icu")) Then
    Set q = NewQuery()
    Set rs = q.Open("SELECT COUNT(*) FROM pg_collation WHERE collname = 'und-x-icu'")
    Application.Lock
    Application("vs_pg_icu") = (CLng(rs(0).Value) > 0)
    Application.Unlock
    rs.Close
  End If
  If Application("vs_pg_icu") Then
    PgFolded = "LOWER(CAST(" & sExpr & " AS TEXT) COLLATE ""und-x-icu"")"
  Else
    PgFolded = "LOWER(CAST(" & sExpr & " AS TEXT))"
  End If
End Function

' One condition of a search: the field compared with what the visitor typed. A text is taken as
' typed, blanks and all, so that a value stored with blanks is found; only blanks are no
' condition. BETWEEN is a range of the field's kind: of texts, numbers or dates.
Function SearchTerm(ByVal q, ByVal sField, ByVal sOp, ByVal v, ByVal v2, ByVal sKind)
  Dim a, b, bText, sLast
  SearchTerm = ""
  v = v & ""
  v2 = v2 & ""
  If Trim(v) = "" Then Exit Function
  If Trim(v2) = "" Then v2 = ""
  bText = (sKind = "text" Or sKind = "memo")
  sOp = UCase(sOp & "")
  If Not bText And (sOp = "LIKE" Or sOp = "NOT LIKE" Or sOp = "STARTS WITH") Then sOp = "="
  Select Case sOp
    Case "LIKE"
      SearchTerm = LikeTerm(q, sField, "%" & LikeText(v) & "%", False)
    Case "NOT LIKE"
      SearchTerm = LikeTerm(q, sField, "%" & LikeText(v) & "%", True)
    Case "STARTS WITH"
      SearchTerm = LikeTerm(q, sField, LikeText(v) & "%", False)
    Case "BETWEEN"
      If bText Then a = v Else a = TypedValue(v, sKind)
      If IsNull(a) Then
        SearchTerm = "1 = 0"
        Exit Function
      End If
      SearchTerm = CompareTerm(q, sField, ">=", a, sKind)
      If v2 = "" Then Exit Function
      If bText Then b = v2 Else b = TypedValue(v2, sKind)
      If IsNull(b) Then
        SearchTerm = "1 = 0"
        Exit Function
      End If
      sLast = "<="
      ' A day without a time: the whole day, up to the start of the next. (VBScript's And would
      ' ask any kind's value for its time, hence the nesting.)
      If sKind = "date" Or sKind = "day" Then
        If VarType(b) = vbDate Then
          If TimeValue(b) = 0 Then
            b = DateAdd("d", 1, b)
            sLast = "<"
          End If
        End If
      End If
      SearchTerm = SearchTerm & " AND " & CompareTerm(q, sField, sLast, b, sKind)
    Case Else
      ' Only an operator of the list, whole: anything else compares for equality.
      Select Case sOp
        Case "<>", "<", "<=", ">", ">="
        Case Else
          sOp = "="
      End Select
      If bText Then a = v Else a = TypedValue(v, sKind)
      If IsNull(a) Then
        SearchTerm = "1 = 0"
      Else
        SearchTerm = CompareTerm(q, sField, sOp, a, sKind)
      End If
  End Select
End Function

' "field op value" for a value of the field's kind. SQLite keeps dates as text, and text in more
' than one form ("2024-03-01", "2024-03-01 00:00:00", "2024-03-01T00:00:00.000"), which compare
' wrongly as text: dates are compared as the day numbers of SQLite's julianday.
Function CompareTerm(ByVal q, ByVal sField, ByVal sOp, ByVal v, ByVal sKind)
  Select Case sKind
    Case "date", "day", "time"
      If vsDbms = "sqlite" Then
        CompareTerm = "julianday(" & sField & ") " & sOp & " julianday(" & q.Param(v, sKind) & ")"
        Exit Function
      End If
  End Select
  CompareTerm = sField & " " & sOp & " " & q.Param(v, sKind)
End Function

' The basic search: any of the fields contains the text.
Function LikeAny(ByVal q, ByVal aFields, ByVal v)
  Dim i, s
  LikeAny = ""
  v = Trim(v & "")
  If v = "" Or UBound(aFields) < 0 Then Exit Function
  s = ""
  For i = 0 To UBound(aFields)
    If s <> "" Then s = s & " OR "
    s = s & LikeTerm(q, aFields(i), "%" & LikeText(v) & "%", False)
  Next
  LikeAny = "(" & s & ")"
End Function

' The rows from nStart (from 1) of a query, nSize of them (0 for all), in the database's own
' way of paging; the ORDER BY must name a unique order so that pages do not overlap.
Function PagedSql(ByVal sSelect, ByVal sFromWhere, ByVal sOrder, ByVal nStart, ByVal nSize)
  Dim s
  s = "SELECT " & sSelect & " FROM " & sFromWhere
  If sOrder <> "" Then s = s & " ORDER BY " & sOrder
  If nSize > 0 Then
    Select Case vsDbms
      Case "sqlite", "postgresql", "mysql"
        s = s & " LIMIT " & CLng(nSize) & " OFFSET " & CLng(nStart - 1)
      Case "mssql"
        s = s & " OFFSET " & CLng(nStart - 1) & " ROWS FETCH NEXT " & CLng(nSize) & " ROWS ONLY"
      Case Else
        s = "SELECT TOP " & CLng(nStart - 1 + nSize) & " " & Mid(s, 8)
    End Select
  End If
  PagedSql = s
End Function

' Moves a recordset to the first row of its page where the database could not skip the rows
' before it itself.
Sub SkipToPage(ByVal rs, ByVal nStart)
  Select Case vsDbms
    Case "sqlite", "postgresql", "mysql", "mssql"
    Case Else
      If nStart > 1 And Not rs.EOF Then rs.Move nStart - 1
  End Select
End Sub

' The rows of a query, kept by the client so that a page can walk them twice (a list reads the
' labels its rows need before it shows them). A failed read ends the page as cQuery.Open does.
Function OpenKeptRows(ByVal q, ByVal sSql)
  Dim rs, nError, sError
  Set rs = Server.CreateObject("ADODB.Recordset")
  ' adUseClient: a static copy of the rows, whatever cursors the provider offers.
  rs.CursorLocation = 3
  On Error Resume Next
  rs.Open q.Command(sSql), , 3, 1
  nError = Err.Number
  sError = Err.Description
  On Error GoTo 0
  If nError <> 0 Then ReadFailed sError
  Set OpenKeptRows = rs
End Function

' What the visitor sees of a database failure: what kind of problem it was, never the
' provider's own text, which names tables, columns and the server.
Function DbFailure(ByVal sDescription)
  Dim d
  LogProblem sDescription
  d = LCase(sDescription)
  If InStr(d, "too long") > 0 Or InStr(d, "truncat") > 0 Or InStr(d, "22001") > 0 Or InStr(d, "data too long") > 0 Then
    DbFailure = P("toolong")
  ElseIf InStr(d, "duplicate") > 0 Or InStr(d, "23505") > 0 Or InStr(d, "unique constraint") > 0 Then
    ' PostgreSQL's "duplicate key value", MariaDB's "Duplicate entry", SQLite's "UNIQUE
    ' constraint failed": a key or unique value that another record has.
    DbFailure = P("duplicate")
  ElseIf InStr(d, "foreign key") > 0 Or InStr(d, "23503") > 0 Or InStr(d, "constraint") > 0 Or InStr(d, "23000") > 0 Or InStr(d, "reference") > 0 Then
    DbFailure = P("inuse")
  ElseIf InStr(d, "out of range") > 0 Or InStr(d, "overflow") > 0 Or InStr(d, "22003") > 0 Then
    DbFailure = P("outofrange")
  Else
    DbFailure = P("dberror")
  End If
End Function

' A failed read: the short message, and the page ends.
Sub ReadFailed(ByVal sDescription)
  LogProblem sDescription
  Refuse "500 Internal Server Error", "dberror"
End Sub

' The provider's text of a failure, for the server's log only (as IIS takes it: no commas, at
' most 80 characters, so what stands before the drivers' last bracketed name is left out).
Sub LogProblem(ByVal sText)
  sText = Replace(Replace(Replace(sText & "", vbCr, " "), vbLf, " "), ",", ";")
  If InStrRev(sText, "]") > 0 Then sText = Mid(sText, InStrRev(sText, "]") + 1)
  Response.AppendToLog Left(Trim(sText), 80)
End Sub

' ---- Values ----

Function Html(ByVal v)
  If IsNull(v) Or IsEmpty(v) Then
    Html = ""
  Else
    Html = Server.HTMLEncode(CStr(v))
  End If
End Function

' A phrase of the language file, ready for the page and its attributes.
Function P(ByVal sId)
  P = Html(ReportLanguage.Phrase(sId))
End Function

' A text for a query string: every character but letters, digits and "-_.~" as %XX of its UTF-8.
Function UrlPart(ByVal v)
  Dim i, c, code, s, b
  v = v & ""
  s = ""
  For i = 1 To Len(v)
    c = Mid(v, i, 1)
    code = AscW(c)
    If code < 0 Then code = code + 65536
    If (code >= 48 And code <= 57) Or (code >= 65 And code <= 90) Or (code >= 97 And code <= 122) Or c = "-" Or c = "_" Or c = "." Or c = "~" Then
      s = s & c
    Else
      If code >= &HD800& And code <= &HDBFF& And i < Len(v) Then
        ' A pair of surrogates is one character of four UTF-8 bytes.
        i = i + 1
        b = AscW(Mid(v, i, 1))
        If b < 0 Then b = b + 65536
        code = &H10000 + (code - &HD800&) * 1024 + (b - &HDC00&)
        s = s & Hex2(&HF0 + code \ 262144) & Hex2(&H80 + (code \ 4096) Mod 64) & Hex2(&H80 + (code \ 64) Mod 64) & Hex2(&H80 + code Mod 64)
      ElseIf code < 128 Then
        s = s & Hex2(code)
      ElseIf code < 2048 Then
        s = s & Hex2(&HC0 + code \ 64) & Hex2(&H80 + code Mod 64)
      Else
        s = s & Hex2(&HE0 + code \ 4096) & Hex2(&H80 + (code \ 64) Mod 64) & Hex2(&H80 + code Mod 64)
      End If
    End If
  Next
  UrlPart = s
End Function

Function Hex2(ByVal n)
  Hex2 = "%" & Right("0" & Hex(n), 2)
End Function

Function IsTrueValue(ByVal v)
  If IsNull(v) Or IsEmpty(v) Then
    IsTrueValue = False
  ElseIf VarType(v) = vbBoolean Then
    IsTrueValue = v
  Else
    Select Case LCase(Trim(CStr(v)))
      Case "1", "-1", "true", "yes", "on", "t"
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
      ShowValue = P("yes")
    Else
      ShowValue = P("no")
    End If
  ElseIf sKind = "date" Or sKind = "day" Or sKind = "time" Then
    ShowValue = Html(ShowDateValue(v))
  ElseIf sKind = "binary" Then
    ShowValue = ""
  Else
    ShowValue = Replace(Html(v), vbCrLf, "<br>")
  End If
End Function

' A value from a form as the database takes it: Null for nothing; numbers and dates as the text
' typed, which the database reads exactly; a text keeps its spaces.
Function DbValue(ByVal v, ByVal sKind)
  Dim typed
  If VarType(v) = vbDate Then
    DbValue = v
    Exit Function
  End If
  typed = v & ""
  v = Trim(typed)
  ' A set of no member is the empty set, which a NOT NULL column takes.
  If sKind = "set" Then
    DbValue = typed
    Exit Function
  End If
  If v = "" Then
    DbValue = Null
    Exit Function
  End If
  Select Case sKind
    Case "bool"
      DbValue = IsTrueValue(v)
    Case "int", "decimal"
      If Left(v, 1) = "+" Then v = Mid(v, 2)
      DbValue = v
    Case "float"
      ' "1E+20" and the like are read as VBScript reads numbers.
      If IsDecimalText(v) Then DbValue = v Else DbValue = CDbl(v)
    Case "date", "datetime", "day", "time"
      DbValue = DateInput(v, sKind)
    Case Else
      DbValue = typed
  End Select
End Function

' A stored value as a form shows it: texts and numbers as they are, a Date as year-month-day
' (four digits of year) and the time, a time column's as the time alone, so that a browser's
' inputs and the comparison with the row (SameFormValue) both read it. Search forms ("date")
' leave out a time of midnight.
Function FormValue(ByVal v, ByVal sKind)
  If IsNull(v) Or IsEmpty(v) Then
    FormValue = ""
  ElseIf VarType(v) = vbDate Then
    Select Case sKind
      Case "day", "time"
        FormValue = DateText(v, sKind)
      Case "datetime"
        FormValue = DateText(v, "date")
      Case Else
        If TimeValue(v) = 0 Then FormValue = DateText(v, "day") Else FormValue = DateText(v, "date")
    End Select
  ElseIf sKind = "bool" Then
    If IsTrueValue(v) Then FormValue = "1" Else FormValue = "0"
  Else
    FormValue = v & ""
  End If
End Function

' Whether a form's field came back as the form showed the row's value. Such a field is left as
' the row holds it, never written: a form saved unchanged changes nothing, whatever a value's
' form (a fraction of a second, an exact number, a blank text, a year before 1000).
Function SameFormValue(ByVal sPosted, ByVal sStored, ByVal sKind)
  Dim a, b
  a = sPosted & ""
  b = sStored & ""
  SameFormValue = True
  If a = b Then Exit Function
  Select Case sKind
    Case "date", "datetime", "day", "time"
      a = CanonDate(a, sKind)
      SameFormValue = (a <> "" And a = CanonDate(b, sKind))
    Case "bool"
      SameFormValue = (a <> "" And b <> "" And IsTrueValue(a) = IsTrueValue(b))
    Case "set"
      SameFormValue = SameMembers(a, b)
    Case Else
      ' A browser sends a text area's line breaks as CR LF, whatever the text held.
      SameFormValue = (LineBreaksAsLf(a) = LineBreaksAsLf(b))
  End Select
End Function

Function LineBreaksAsLf(ByVal s)
  LineBreaksAsLf = Replace(Replace(s, vbCrLf, vbLf), vbCr, vbLf)
End Function

' Whether two members lists of a set ("a,b") name the same members, in any order.
Function SameMembers(ByVal a, ByVal b)
  Dim listA, listB, i
  listA = Split(a, ",")
  listB = Split(b, ",")
  SameMembers = False
  If UBound(listA) <> UBound(listB) Then Exit Function
  For i = 0 To UBound(listA)
    If InStr("," & b & ",", "," & listA(i) & ",") = 0 Then Exit Function
  Next
  SameMembers = True
End Function

' A date, a time or both written the ISO way, as the one text the database is sent and a form's
' value is compared by: a browser's "T" becomes a space, left-out seconds ":00", a fraction's
' trailing zeros go, a zone stays. "" for a text of no such form, or not of the kind ("day" a
' date alone, "time" a time alone: MariaDB's run from -838:59:59 to 838:59:59).
Function CanonDate(ByVal s, ByVal sKind)
  Dim re, m, sDay, sTime, sFraction
  CanonDate = ""
  s = Trim(s & "")
  Set re = New RegExp
  re.Pattern = "^(?:([0-9]{4,})-([0-9]{2})-([0-9]{2})(?:[ T]|$))?(?:(-?[0-9]{1,3}):([0-9]{2})(?::([0-9]{2}))?(?:\.([0-9]*))?)?(Z|[+-][0-9]{2}(?::?[0-9]{2})?)?$"
  If s = "" Or Not re.Test(s) Then Exit Function
  Set m = re.Execute(s)(0)
  sDay = ""
  If m.SubMatches(0) <> "" Then
    If CLng(m.SubMatches(1)) < 1 Or CLng(m.SubMatches(1)) > 12 Or CLng(m.SubMatches(2)) < 1 Or CLng(m.SubMatches(2)) > 31 Then Exit Function
    sDay = m.SubMatches(0) & "-" & m.SubMatches(1) & "-" & m.SubMatches(2)
  End If
  sTime = ""
  If m.SubMatches(3) <> "" Then
    If CLng(m.SubMatches(4)) > 59 Then Exit Function
    sTime = m.SubMatches(3)
    If Len(Replace(sTime, "-", "")) = 1 Then sTime = Replace("0" & sTime, "0-", "-0")
    If m.SubMatches(5) = "" Then
      sTime = sTime & ":" & m.SubMatches(4) & ":00"
    ElseIf CLng(m.SubMatches(5)) > 59 Then
      Exit Function
    Else
      sTime = sTime & ":" & m.SubMatches(4) & ":" & m.SubMatches(5)
    End If
    sFraction = m.SubMatches(6)
    Do While Right(sFraction, 1) = "0"
      sFraction = Left(sFraction, Len(sFraction) - 1)
    Loop
    If sFraction <> "" Then sTime = sTime & "." & sFraction
  End If
  Select Case sKind
    Case "day"
      If sDay = "" Or m.SubMatches(7) <> "" Then Exit Function
      If sTime <> "" And sTime <> "00:00:00" Then Exit Function
      CanonDate = sDay
    Case "time"
      If sDay <> "" Or sTime = "" Then Exit Function
      CanonDate = sTime & m.SubMatches(7)
    Case Else
      If sDay = "" Then Exit Function
      If sTime = "" Then sTime = "00:00:00"
      CanonDate = sDay & " " & sTime & m.SubMatches(7)
  End Select
End Function

' What a visitor typed into a date, time or date-and-time field as the text the database is
' sent (see CanonDate); a date typed as pages show it is read by TypedDate. Null when it is none.
Function DateInput(ByVal s, ByVal sKind)
  Dim t
  DateInput = Null
  s = Trim(s & "")
  If s = "" Then Exit Function
  t = CanonDate(s, sKind)
  If t <> "" Then
    DateInput = t
    Exit Function
  End If
  t = TypedDate(s)
  If IsNull(t) Then Exit Function
  Select Case sKind
    Case "time"
      If Int(CDbl(t)) = 0 Then DateInput = DateText(t, "time")
    Case "day"
      If TimeValue(t) = 0 Then DateInput = DateText(t, "day")
    Case Else
      DateInput = DateText(t, "date")
  End Select
End Function

' A date or time read from the database as pages show it: a Date by ShowDate; the ISO text of
' a column read as text with its day ordered the same way and its time (a fraction, a zone) as
' stored; any other text as it is.
Function ShowDateValue(ByVal v)
  Dim re, m, sDay, sRest
  If VarType(v) = vbDate Then
    ShowDateValue = ShowDate(v)
    Exit Function
  End If
  ShowDateValue = v & ""
  Set re = New RegExp
  re.Pattern = "^([0-9]{4,})-([0-9]{2})-([0-9]{2})(?:[ T](.*))?$"
  If Not re.Test(ShowDateValue) Then Exit Function
  Set m = re.Execute(ShowDateValue)(0)
  Select Case <!--##=DateFormatCode()##-->
    Case 5
      sDay = m.SubMatches(0) & "/" & m.SubMatches(1) & "/" & m.SubMatches(2)
    Case 6
      sDay = m.SubMatches(1) & "/" & m.SubMatches(2) & "/" & m.SubMatches(0)
    Case 7
      sDay = m.SubMatches(2) & "/" & m.SubMatches(1) & "/" & m.SubMatches(0)
    Case Else
      sDay = m.SubMatches(0) & "-" & m.SubMatches(1) & "-" & m.SubMatches(2)
  End Select
  sRest = m.SubMatches(3) & ""
  If sRest = "" Or sRest = "00:00:00" Then ShowDateValue = sDay Else ShowDateValue = sDay & " " & sRest
End Function

' A date as pages show it: day, month and year in the order of the project's date format (5
' year/month/day, 6 month/day/year, 7 day/month/year), else as forms take it (year-month-day);
' then the time when there is one. A time of day alone is shown as the time.
Function ShowDate(ByVal v)
  Dim sDay, sTime
  sTime = Right("0" & Hour(v), 2) & ":" & Right("0" & Minute(v), 2) & ":" & Right("0" & Second(v), 2)
  If Int(CDbl(v)) = 0 Then
    ShowDate = sTime
    Exit Function
  End If
  Select Case <!--##=DateFormatCode()##-->
    Case 5
      sDay = Year(v) & "/" & Right("0" & Month(v), 2) & "/" & Right("0" & Day(v), 2)
    Case 6
      sDay = Right("0" & Month(v), 2) & "/" & Right("0" & Day(v), 2) & "/" & Year(v)
    Case 7
      sDay = Right("0" & Day(v), 2) & "/" & Right("0" & Month(v), 2) & "/" & Year(v)
    Case Else
      sDay = Year(v) & "-" & Right("0" & Month(v), 2) & "-" & Right("0" & Day(v), 2)
  End Select
  If TimeValue(v) = 0 Then ShowDate = sDay Else ShowDate = sDay & " " & sTime
End Function

' An empty text when the value fits its field, else the message shown in the form. vLimit is
' the longest text of a text field, the range "min:max" of a whole number's, else 0.
Function CheckValue(ByVal v, ByVal sKind, ByVal bRequired, ByVal vLimit, ByVal sCaption)
  Dim problem, sGiven
  sGiven = v & ""
  v = Trim(sGiven)
  problem = ""
  If InStr(sGiven, Chr(0)) > 0 Then
    ' PostgreSQL refuses the character, and SQLite's text would end at it.
    problem = "badcharacter"
  ElseIf v = "" Then
    If bRequired And sKind <> "bool" And sKind <> "set" Then problem = "required"
  Else
    Select Case sKind
      Case "int"
        If Not IsNumeric(v) And Not IsWholeText(v) Then
          problem = "invalidnumber"
        ElseIf Not IsWholeText(v) Then
          problem = "invalidinteger"
        ElseIf VarType(vLimit) = vbString Then
          If Not WholeInRange(v, vLimit) Then problem = "outofrange"
        End If
      Case "decimal"
        If Not IsDecimalText(v) Then problem = "invalidnumber"
      Case "float"
        If Not IsNumeric(v) Then problem = "invalidnumber"
      Case "date", "datetime", "day", "time"
        If IsNull(DateInput(v, sKind)) Then problem = "invaliddate"
      Case "text", "memo"
        If VarType(vLimit) <> vbString Then
          If vLimit > 0 And Len(v) > vLimit Then problem = "toolong"
        End If
    End Select
  End If
  If problem = "" Then
    CheckValue = ""
  Else
    CheckValue = Html(sCaption) & ": " & P(problem) & "<br>"
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

' A field of the posted form: from the upload when the form sent files (Request.Form cannot be
' read once the request's bytes are), else from Request.Form.
Function Posted(ByVal sName)
  If vsUpload Is Nothing Then
    Posted = Request.Form(sName)
  Else
    Posted = vsUpload.Value(sName)
  End If
End Function

' Whether a stored text names a file in the upload folder itself: no folder, no drive, no stream,
' and not a name Windows or IIS treat specially. Only such a name is read or removed there.
Function IsPlainFileName(ByVal s)
  s = s & ""
  IsPlainFileName = (s <> "" And InStr(s, "/") = 0 And InStr(s, "\") = 0 And InStr(s, ":") = 0 And Left(s, 1) <> "." And Right(s, 1) <> ".")
End Function

' ---- Forms ----

' The input control of a field. vLimit is the longest text of a text field, the range "min:max"
' of a whole number's (see CheckValue). A stored value the choices do not hold is offered too,
' checked, so that a form saved unchanged sends it back.
Function FieldInput(ByVal sName, ByVal v, ByVal sTag, ByVal sKind, ByVal bRequired, ByVal aChoices, ByVal nSize, ByVal vLimit, ByVal nRows, ByVal nCols)
  Dim s, i, sel, req, bNull, sLabel, bFound, nMax
  sLabel = ""
  If IsObject(aChoices) Then
    ' A lookup table too large for a list: a box for the key, and the key's label beside it.
    sLabel = " <span class=""lookuplabel"">" & Html(aChoices.Label(v)) & "</span>"
    sTag = "TEXT"
  End If
  bNull = IsNull(v)
  v = FormValue(v, sKind)
  nMax = 0
  If VarType(vLimit) <> vbString Then nMax = vLimit
  req = ""
  If bRequired Then req = " required"
  sTag = UCase(sTag & "")
  ' A browser drops the line breaks of a one-line box's value: a text of several lines gets a
  ' text area.
  If sTag <> "TEXTAREA" And sTag <> "SELECT" And sTag <> "RADIO" And sTag <> "CHECKBOX" And (sKind = "text" Or sKind = "memo") Then
    If InStr(v, vbLf) > 0 Or InStr(v, vbCr) > 0 Then sTag = "TEXTAREA"
  End If
  Select Case sTag
    Case "TEXTAREA"
      If nRows < 1 Then nRows = 4
      If nCols < 1 Then nCols = 40
      s = "<textarea name=""" & sName & """ rows=""" & nRows & """ cols=""" & nCols & """"
      If nMax > 0 Then s = s & " maxlength=""" & nMax & """"
      s = s & req & ">"
      ' The HTML parser drops a line break right after the start tag: one is written for it.
      If Left(v, 1) = vbLf Or Left(v, 1) = vbCr Then s = s & vbLf
      s = s & Html(v) & "</textarea>"
    Case "CHECKBOX"
      If UBound(aChoices) >= 1 Then
        ' A set: a box a member, checked when the stored value names it.
        s = ""
        For i = 0 To UBound(aChoices) - 1 Step 2
          sel = ""
          If InStr("," & v & ",", "," & CStr(aChoices(i)) & ",") > 0 Then sel = " checked"
          s = s & "<label><input type=""checkbox"" name=""" & sName & """ value=""" & Html(aChoices(i)) & """" & sel & "> " & Html(aChoices(i + 1)) & "</label> "
        Next
        If v <> "" Then
          For Each sel In Split(v, ",")
            If Not ChoicesHold(aChoices, sel, sKind) Then s = s & "<label><input type=""checkbox"" name=""" & sName & """ value=""" & Html(sel) & """ checked> " & Html(sel) & "</label> "
          Next
        End If
      Else
        s = "<input type=""checkbox"" name=""" & sName & """ value=""1"""
        If IsTrueValue(v) Then s = s & " checked"
        s = s & ">"
        ' A stored Null stays Null when the box is left as it is.
        If bNull Then s = s & "<input type=""hidden"" name=""" & sName & "_null"" value=""1"">"
      End If
    Case "SELECT"
      s = "<select name=""" & sName & """" & req & "><option value=""""></option>"
      bFound = False
      For i = 0 To UBound(aChoices) - 1 Step 2
        sel = ""
        If Not bFound And IsChosen(aChoices(i), v, sKind) Then
          sel = " selected"
          bFound = True
        End If
        s = s & "<option value=""" & Html(aChoices(i)) & """" & sel & ">" & Html(aChoices(i + 1)) & "</option>"
      Next
      If Not bFound And v <> "" Then s = s & "<option value=""" & Html(v) & """ selected>" & Html(v) & "</option>"
      s = s & "</select>"
    Case "RADIO"
      s = ""
      bFound = False
      For i = 0 To UBound(aChoices) - 1 Step 2
        sel = ""
        If Not bFound And IsChosen(aChoices(i), v, sKind) Then
          sel = " checked"
          bFound = True
        End If
        s = s & "<label><input type=""radio"" name=""" & sName & """ value=""" & Html(aChoices(i)) & """" & sel & "> " & Html(aChoices(i + 1)) & "</label> "
      Next
      If Not bFound And v <> "" Then s = s & "<label><input type=""radio"" name=""" & sName & """ value=""" & Html(v) & """ checked> " & Html(v) & "</label> "
    Case Else
      s = ValueInput(sName, v, sKind, vLimit)
      If nSize > 0 Then s = s & " size=""" & nSize & """"
      If nMax > 0 And (sKind = "text" Or sKind = "memo") Then s = s & " maxlength=""" & nMax & """"
      s = s & req & ">" & sLabel
  End Select
  FieldInput = s
End Function

' Whether the choices (value, label, value, label, ...) hold a value.
Function ChoicesHold(ByVal aChoices, ByVal v, ByVal sKind)
  Dim i
  ChoicesHold = True
  For i = 0 To UBound(aChoices) - 1 Step 2
    If IsChosen(aChoices(i), v, sKind) Then Exit Function
  Next
  ChoicesHold = False
End Function

' The start of a one-line input of a value (a form's value text), without its closing ">": the
' browser's own input where it holds the value as it is and takes the column's precision (a
' time with seconds, a fraction of a second to the millisecond, a whole number that a Double
' counts exactly), else a box of text that sends back what it shows.
Function ValueInput(ByVal sName, ByVal v, ByVal sKind, ByVal vLimit)
  Dim s, re, bounds, sStep
  Set re = New RegExp
  s = "<input type=""text"""
  Select Case sKind
    Case "int"
      bounds = Split(vLimit & ":", ":")
      If VarType(vLimit) = vbString And Len(bounds(0)) <= 16 And Len(bounds(1)) <= 15 Then
        s = "<input type=""number"" step=""1"" min=""" & bounds(0) & """ max=""" & bounds(1) & """"
      ElseIf VarType(vLimit) = vbString Then
        ' Beyond 2^53 a browser's number input rounds: the digits are checked as text.
        s = "<input type=""text"" inputmode=""numeric"" pattern=""[\-+]?[0-9]+"""
      Else
        s = "<input type=""number"" step=""1"""
      End If
    Case "float"
      s = "<input type=""number"" step=""any"""
    Case "decimal"
      s = "<input type=""text"" inputmode=""decimal"" pattern=""[\-+]?([0-9]+\.?[0-9]*|\.[0-9]+)"""
    Case "date"
      ' A search's day: a date input unless the value holds a time.
      If Len(v) <= 10 Then s = "<input type=""date"""
    Case "day"
      re.Pattern = "^[0-9]{4}-[0-9]{2}-[0-9]{2}$"
      If v = "" Or re.Test(v) Then s = "<input type=""date"""
    Case "time"
      re.Pattern = "^([01][0-9]|2[0-3]):[0-5][0-9](:[0-5][0-9](\.[0-9]{1,3})?)?$"
      If v = "" Or re.Test(v) Then s = "<input type=""time"" step=""" & SecondsStep(v) & """"
    Case "datetime"
      re.Pattern = "^([0-9]{4}-[0-9]{2}-[0-9]{2})(?:[ T](([01][0-9]|2[0-3]):[0-5][0-9](:[0-5][0-9](\.[0-9]{1,3})?)?))?$"
      If v = "" Then
        s = "<input type=""datetime-local"" step=""1"""
      ElseIf re.Test(v) Then
        sStep = re.Execute(v)(0).SubMatches(1)
        If sStep = "" Then sStep = "00:00:00"
        v = re.Execute(v)(0).SubMatches(0) & "T" & sStep
        s = "<input type=""datetime-local"" step=""" & SecondsStep(v) & """"
      End If
  End Select
  ValueInput = s & " name=""" & sName & """ value=""" & Html(v) & """"
End Function

' The step of a time input: a second, or a millisecond for a value with a fraction of one.
Function SecondsStep(ByVal v)
  If InStr(v, ".") > 0 Then SecondsStep = "0.001" Else SecondsStep = "1"
End Function

' Whether a choice is the form's value: a yes/no value by its meaning ("True" is "1").
Function IsChosen(ByVal vChoice, ByVal v, ByVal sKind)
  If sKind = "bool" And v <> "" Then
    IsChosen = (IsTrueValue(vChoice) = IsTrueValue(v))
  Else
    IsChosen = (CStr(vChoice) = v)
  End If
End Function

' A yes/no box of the posted form: "0" when it was not checked, "" when it stood for a Null and
' was left so.
Function PostedBox(ByVal sName)
  PostedBox = Posted(sName) & ""
  If PostedBox = "" And Posted(sName & "_null") & "" <> "1" Then PostedBox = "0"
End Function

' The members of a set checked in the posted form, joined with "," as the database stores them
' (the form joins repeated names with ", ").
Function PostedSet(ByVal sName)
  PostedSet = Replace(Posted(sName) & "", ", ", ",")
End Function

' ---- Notices ----

' Leaves a one-line notice of the language file for the next page the visitor sees.
Sub LeaveNotice(ByVal sPhrase)
  Session("vs_notice") = sPhrase
End Sub

' The notice a change left ("Record added.", ...), shown once.
Sub WriteNotice()
  Dim s
  s = Session("vs_notice") & ""
  If s = "" Then Exit Sub
  Session.Contents.Remove "vs_notice"
  Response.Write "<p class=""notice"">" & P(s) & "</p>"
End Sub

' A fingerprint of a row's values (texts), to tell whether the row changed between two reads:
' two sums of the texts' characters, each modulo a prime below 2^31.
Function RowStamp(ByVal aValues)
  Dim h1, h2, i, j, s, c
  h1 = 7
  h2 = 11
  For i = 0 To UBound(aValues)
    s = Len(aValues(i)) & ":" & aValues(i)
    For j = 1 To Len(s)
      c = AscW(Mid(s, j, 1))
      If c < 0 Then c = c + 65536
      h1 = h1 * 131 + c
      h1 = h1 - Int(h1 / 2147483629) * 2147483629
      h2 = h2 * 257 + c
      h2 = h2 - Int(h2 / 2147483587) * 2147483587
    Next
  Next
  RowStamp = CStr(h1) & "-" & CStr(h2)
End Function

' ---- Form tokens ----

' The visitor's token: a form that changes data carries it, and a post without it is refused,
' so that another site cannot make the visitor's browser post here.
Function FormToken()
  Dim t
  t = Session("vs_token") & ""
  If t = "" Then
    t = NewToken()
    Session("vs_token") = t
  End If
  FormToken = t
End Function

' A random key from the system's GUIDs. Form tokens and the login cookie rest on it: without the
' component the page ends with a message rather than run on a key that could be guessed.
Function NewToken()
  Dim g, sError
  On Error Resume Next
  g = Server.CreateObject("Scriptlet.TypeLib").Guid
  If Err.Number <> 0 Then sError = Err.Description
  On Error GoTo 0
  g = Replace(Replace(Replace(Mid(g & "", 1, 38), "{", ""), "}", ""), "-", "")
  If Len(g) <> 32 Then
    LogProblem "Scriptlet.TypeLib gave no GUID: " & sError
    Refuse "500 Internal Server Error", "nosecurekey"
  End If
  NewToken = g
End Function

Function TokenField()
  TokenField = "<input type=""hidden"" name=""vs_token"" value=""" & Html(FormToken()) & """>"
End Function

' Two texts compared in a time that does not depend on where they first differ.
Function SameText(ByVal a, ByVal b)
  Dim i, diff, n
  a = a & ""
  b = b & ""
  diff = 0
  If Len(a) <> Len(b) Then diff = 1
  n = Len(a)
  If Len(b) > n Then n = Len(b)
  a = a & String(n - Len(a), " ")
  b = b & String(n - Len(b), " ")
  For i = 1 To n
    diff = diff Or (AscW(Mid(a, i, 1)) Xor AscW(Mid(b, i, 1)))
  Next
  SameText = (diff = 0 And Len(a) > 0)
End Function

' Ends a post that does not carry the visitor's token.
Sub CheckToken()
  If Not IsPost() Then Exit Sub
  If Session("vs_token") & "" = "" Or Not SameText(Posted("vs_token") & "", Session("vs_token") & "") Then
    Refuse "403 Forbidden", "badtoken"
  End If
End Sub

' An answer of the status with a short page in the site's language, and the end of the page.
Sub Refuse(ByVal sStatus, ByVal sPhrase)
  CloseDb
  Response.Clear
  Response.Status = sStatus
  ' The generator puts its meta element before every end of a head it sees, so this one is
  ' written in two pieces.
  Response.Write "<!DOCTYPE html><html><head><meta charset=""utf-8""><title>" & P(sPhrase) & "</title></he" & "ad><body><p>" & P(sPhrase) & "</p></body></html>"
  Response.End
End Sub

' ---- Login and rights ----

' A login holds only for the browser it was made in: besides the session, that browser must send
' the random cookie the login gave it, so a session id planted before the login is worth nothing.
Function IsLoggedIn()
  IsLoggedIn = False
  If Session("vs_user") & "" = "" Then Exit Function
  IsLoggedIn = SameText(Request.Cookies(LoginCookieName()) & "", Session("vs_login") & "")
End Function

' The folder of the site in the host's URLs: "/" or e.g. "/shop/"; "/" when it holds what a
' cookie's path cannot.
Function SiteFolderUrl()
  Dim s, i, c
  s = Request.ServerVariables("SCRIPT_NAME") & ""
  s = Left(s, InStrRev(s, "/"))
  If Left(s, 1) <> "/" Then s = "/"
  For i = 1 To Len(s)
    c = AscW(Mid(s, i, 1))
    If c <= 32 Or c >= 127 Or c = 59 Or c = 44 Then
      s = "/"
      Exit For
    End If
  Next
  SiteFolderUrl = s
End Function

' The login cookie's name: "vs_login" for a site at the host's root, "vs_login_shop" for one in
' /shop/, so that the sites of one host each keep their own login.
Function LoginCookieName()
  Dim s, i, c, sName
  s = SiteFolderUrl()
  sName = ""
  For i = 2 To Len(s) - 1
    c = AscW(Mid(s, i, 1))
    If c >= 48 And c <= 57 Or c >= 65 And c <= 90 Or c >= 97 And c <= 122 Then sName = sName & ChrW(c) Else sName = sName & "_"
  Next
  If sName = "" Then LoginCookieName = "vs_login" Else LoginCookieName = "vs_login_" & sName
End Function

' The rights of the visitor on a table: those of anonymous visitors before the login, those of
' users after it; the administrator of the project's own login has them all.
Function TableRights(ByVal nAnonymous, ByVal nUser)
  If vsSecType = "" Then
    TableRights = vsRightAll
  ElseIf Not IsLoggedIn() Then
    TableRights = nAnonymous
  ElseIf Session("vs_admin") = True Then
    TableRights = vsRightAll
  Else
    TableRights = nUser
  End If
End Function

' Whether the visitor sees only his own rows of tables that name a user id field: every visitor
' but the administrator of the project's own login, on a site with a login.
Function RowsLimited()
  RowsLimited = False
  If vsSecType = "" Then Exit Function
  If IsLoggedIn() Then RowsLimited = (Session("vs_admin") <> True) Else RowsLimited = True
End Function

' The condition "the row is the visitor's own" on the user id field; a visitor without an id
' (not logged in) owns no row.
Function OwnerTerm(ByVal q, ByVal sField, ByVal sKind)
  OwnerTerm = ""
  If Not RowsLimited() Then Exit Function
  OwnerTerm = EqualTerm(q, sField, VisitorUserId(), sKind)
End Function

' The condition "the row's master row is one the visitor may see", for a table whose rows are
' users' only through their master's (the lines of an invoice): its master key among the keys of
' the master rows that sMasterTerm keeps; none when that condition is none.
Function MasterOwnerTerm(ByVal sField, ByVal sMasterFrom, ByVal sMasterField, ByVal sMasterTerm)
  MasterOwnerTerm = ""
  If sMasterTerm = "" Then Exit Function
  MasterOwnerTerm = sField & " IN (SELECT " & QName(sMasterField) & " FROM " & sMasterFrom & " WHERE " & sMasterTerm & ")"
End Function

' The user id of the login; none before it. The session keeps the id of the last login made in
' it, which a planted session id would otherwise lend to whoever sends it without the login cookie.
Function VisitorUserId()
  VisitorUserId = ""
  If IsLoggedIn() Then VisitorUserId = Session("vs_userid") & ""
End Function

' Ends the page unless the visitor has the right: a visitor not logged in is sent to the login
' page, and comes back here after it.
Sub RequireRight(ByVal nRights, ByVal nRight)
  If (nRights And nRight) <> 0 Then Exit Sub
  If vsSecType <> "" And Not IsLoggedIn() Then
    CloseDb
    Response.Redirect <!--##=Lit(PageFile("", "", "login"))##--> & "?back=" & UrlPart(Request.ServerVariables("SCRIPT_NAME") & "?" & Request.ServerVariables("QUERY_STRING"))
  End If
  Refuse "403 Forbidden", "norights"
End Sub

' ---- Paging ----

' The most rows a list of all rows shows: config.asp's, else (a config.asp older than the
' setting) 1000.
Dim vsAllRowsMax
If IsEmpty(vsAllRowsMax) Or Not IsNumeric(vsAllRowsMax) Then vsAllRowsMax = 1000
vsAllRowsMax = CLng(vsAllRowsMax)
If vsAllRowsMax < 1 Then vsAllRowsMax = 1000

Sub WritePager(ByVal nTotal, ByVal nStart, ByVal nSize, ByVal sUrl)
  Dim nLast, nPages, nPage, i, nFrom, nTo
  If nSize <= 0 Or nTotal <= nSize Then Exit Sub
  nPages = (nTotal - 1) \ nSize + 1
  nPage = (nStart - 1) \ nSize + 1
  nLast = (nPages - 1) * nSize + 1
  Response.Write "<div class=""pager"">"
  If nPage > 1 Then
    Response.Write "<a href=""" & Html(sUrl & "start=1") & """>" & P("first") & "</a> "
    Response.Write "<a href=""" & Html(sUrl & "start=" & (nStart - nSize)) & """>" & P("previous") & "</a> "
  End If
  nFrom = nPage - 4
  If nFrom < 1 Then nFrom = 1
  nTo = nFrom + 9
  If nTo > nPages Then nTo = nPages
  For i = nFrom To nTo
    If i = nPage Then
      Response.Write "<b>" & i & "</b> "
    Else
      Response.Write "<a href=""" & Html(sUrl & "start=" & ((i - 1) * nSize + 1)) & """>" & i & "</a> "
    End If
  Next
  If nPage < nPages Then
    Response.Write "<a href=""" & Html(sUrl & "start=" & (nStart + nSize)) & """>" & P("next") & "</a> "
    Response.Write "<a href=""" & Html(sUrl & "start=" & nLast) & """>" & P("last") & "</a>"
  End If
  Response.Write " " & P("records") & " " & nStart & " - "
  If nStart + nSize - 1 < nTotal Then
    Response.Write nStart + nSize - 1
  Else
    Response.Write nTotal
  End If
  Response.Write " " & P("of") & " " & nTotal
  Response.Write "</div>"
End Sub

' ---- Language ----

' The phrases of one language file, read once and kept by the application as name, text pairs.
Class cLanguage
  Private m_phrases

  Public Sub Load(ByVal sFile)
    Dim pairs, i, key
    key = "vs_lang_" & LCase(sFile)
    pairs = Application(key)
    If Not IsArray(pairs) Then
      pairs = ReadFile(Server.MapPath(<!--##=Lit(SiteFolder("_language", "language") & "/")##--> & sFile))
      Application.Lock
      Application(key) = pairs
      Application.Unlock
    End If
    Set m_phrases = Server.CreateObject("Scripting.Dictionary")
    For i = 0 To UBound(pairs) - 1 Step 2
      If Not m_phrases.Exists(pairs(i)) Then m_phrases.Add pairs(i), pairs(i + 1)
    Next
  End Sub

  Private Function ReadFile(ByVal sPath)
    Dim doc, list, n, node, tbl, fld, menu
    list = Array()
    n = 0
    Set doc = Server.CreateObject("MSXML2.DOMDocument")
    doc.async = False
    doc.setProperty "SelectionLanguage", "XPath"
    If doc.Load(sPath) Then
      For Each node In doc.selectNodes("/*/global/phrase")
        AddPair list, n, "g:" & LCase(node.getAttribute("id") & ""), node.getAttribute("value") & ""
      Next
      For Each tbl In doc.selectNodes("/*/project/table")
        For Each node In tbl.selectNodes("phrase")
          AddPair list, n, "t:" & LCase(tbl.getAttribute("id") & "") & ":" & LCase(node.getAttribute("id") & ""), node.getAttribute("value") & ""
        Next
        For Each fld In tbl.selectNodes("field")
          For Each node In fld.selectNodes("phrase")
            AddPair list, n, "f:" & LCase(tbl.getAttribute("id") & "") & ":" & LCase(fld.getAttribute("id") & "") & ":" & LCase(node.getAttribute("id") & ""), node.getAttribute("value") & ""
          Next
        Next
      Next
      For Each menu In doc.selectNodes("/*/project/menu")
        For Each node In menu.selectNodes("phrase")
          AddPair list, n, "m:" & LCase(menu.getAttribute("id") & "") & ":" & LCase(node.getAttribute("id") & ""), node.getAttribute("value") & ""
        Next
      Next
    End If
    ReadFile = list
  End Function

  Private Sub AddPair(ByRef list, ByRef n, ByVal sKey, ByVal sValue)
    ReDim Preserve list(n + 1)
    list(n) = sKey
    list(n + 1) = sValue
    n = n + 2
  End Sub

  Private Function Lookup(ByVal sKey, ByVal sDefault)
    If m_phrases.Exists(sKey) Then Lookup = m_phrases(sKey) Else Lookup = sDefault
  End Function

  Public Function Phrase(ByVal sId)
    Phrase = Lookup("g:" & LCase(sId), sId)
  End Function

  Public Function TablePhrase(ByVal sTable, ByVal sId, ByVal sDefault)
    TablePhrase = Lookup("t:" & LCase(sTable) & ":" & LCase(sId), sDefault)
  End Function

  Public Function FieldPhrase(ByVal sTable, ByVal sField, ByVal sId, ByVal sDefault)
    FieldPhrase = Lookup("f:" & LCase(sTable) & ":" & LCase(sField) & ":" & LCase(sId), sDefault)
  End Function

  Public Function MenuPhrase(ByVal nId, ByVal sId, ByVal sDefault)
    MenuPhrase = Lookup("m:" & LCase(CStr(nId)) & ":" & LCase(sId), sDefault)
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
ReportLanguage.Load LanguageFile()
%>
