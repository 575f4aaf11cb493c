' Helpers the sample templates call while a site is generated. The "function" control of
' control.xml loads this file into the script engine, so every template and every condition
' of the form function/Name/type/operator/value can use them.
'
' Tables are walked with Seq, never Item: Item makes a table current, and the generator relies
' on the current table staying the one it is generating.

' True for a setting that is on, whichever way it is stored (Boolean, number or text).
Function IsOn(ByVal v)
  ' Most come as Booleans, from the typed settings.
  If VarType(v) = vbBoolean Then
    IsOn = v
    Exit Function
  End If
  IsOn = False
  If IsNull(v) Or IsEmpty(v) Then Exit Function
  If IsNumeric(v) Then
    IsOn = (CDbl(v) <> 0)
  Else
    Select Case LCase(Trim(CStr(v)))
      Case "true", "yes", "on"
        IsOn = True
    End Select
  End If
End Function

' A page quotes the same few names and captions hundreds of times: each text's literal is made
' once a generation.
Dim memoLits
Set memoLits = CreateObject("Scripting.Dictionary")

' A VBScript string literal of the text, for generated ASP code.
' Most texts hold no quote and no line break, and are only looked through for them.
Function Lit(ByVal s)
  s = s & ""
  ' One look-up for a text seen before: reading a missing key adds it, Empty, until set below.
  Lit = memoLits.Item(s)
  If Not IsEmpty(Lit) Then Exit Function
  Dim quoted
  quoted = s
  If InStr(quoted, """") > 0 Then quoted = Replace(quoted, """", """""")
  If InStr(quoted, vbCr) > 0 Or InStr(quoted, vbLf) > 0 Then
    quoted = Replace(quoted, vbCrLf, """ & vbCrLf & """)
    quoted = Replace(quoted, vbCr, """ & vbCr & """)
    quoted = Replace(quoted, vbLf, """ & vbLf & """)
  End If
  ' A page's script block ends at the first "%>", even inside a string: the two characters are
  ' never written side by side.
  If InStr(quoted, "%>") > 0 Then quoted = Replace(quoted, "%>", "%"" & "">")
  Lit = """" & quoted & """"
  memoLits.Item(s) = Lit
End Function

' A text for a comment line of a page's script: one line that cannot end the script block.
Function CommentText(ByVal s)
  s = Replace(Replace(s & "", vbCr, " "), vbLf, " ")
  CommentText = Replace(s, "%>", "% >")
End Function

' The text as HTML, for captions written straight into a page.
Function HtmlText(ByVal s)
  s = Replace(s & "", "&", "&amp;")
  s = Replace(s, "<", "&lt;")
  s = Replace(s, ">", "&gt;")
  HtmlText = Replace(s, """", "&quot;")
End Function

' The name a page of the site is written under: the page name placed around the table's (and
' the field's) variable name as the project's naming settings say, then the script extension.
' The generator names the outputs by the same rule, so links made here find their pages.
Function PageFile(ByVal sTableVar, ByVal sFieldParm, ByVal sPage)
  Dim s, word
  s = sTableVar
  If sFieldParm <> "" Then s = s & "_" & sFieldParm
  word = PROJ.GetV("OutputNameExt") & ""
  Select Case LCase(PROJ.GetV("OutputNameType") & "")
    Case "prefix"
      s = word & s & sPage
    Case "infix"
      If s <> "" Then s = s & word & sPage Else s = sPage
    Case "suffix"
      s = s & sPage & word
    Case Else
      s = s & sPage
  End Select
  s = s & ".asp"
  If IsOn(PROJ.GetV("OutputNameLCase")) Then s = LCase(s)
  PageFile = s
End Function

' The site folder of a "folder" control, with "/" separators and no trailing one. Item moves
' the list's current control, which the generator's conditions read, so it is put back. Every
' page asks for the same few, each a walk over all the controls: an answer is kept for the run.
Function SiteFolder(ByVal sId, ByVal sDefault)
  Dim i, c, current, key
  key = "folder " & LCase(sId) & "|" & sDefault
  If memoSite.Exists(key) Then
    SiteFolder = memoSite.Item(key)
    Exit Function
  End If
  current = Controls.curIndex
  SiteFolder = sDefault
  For i = 1 To Controls.Count
    Set c = Controls.Item(i)
    If LCase(c.CtrlType) = "folder" And LCase(c.CtrlID) = LCase(sId) Then
      SiteFolder = Replace(c.CtrlOFolder, "\", "/")
      If Right(SiteFolder, 1) = "/" Then SiteFolder = Left(SiteFolder, Len(SiteFolder) - 1)
      Exit For
    End If
  Next
  If current > 0 Then Controls.Item CInt(current)
  memoSite.Add key, SiteFolder
End Function

' A project setting as text, or the default when it is empty.
Function ProjText(ByVal sName, ByVal sDefault)
  ProjText = PROJ.GetV(sName) & ""
  If ProjText = "" Then ProjText = sDefault
End Function

Function SiteTitle()
  SiteTitle = ProjText("AppHeader", ProjText("ProjName", "Site"))
End Function

' The character set the pages declare.
Function PageCharset()
  PageCharset = ProjText("CharSet", "utf-8")
End Function

' The language files of the site, as the generator writes them into its language folder.
Function LanguageFiles()
  Dim list, parts, i, s
  If IsOn(PROJ.GetV("MultiLanguage")) Then
    list = PROJ.GetV("LanguageFiles") & ""
  Else
    list = PROJ.GetV("DefaultLanguageFile") & ""
  End If
  s = ""
  parts = Split(list, ",")
  For i = 0 To UBound(parts)
    If parts(i) <> "" Then s = s & "," & parts(i)
  Next
  If s = "" Then s = ",lang.xml"
  LanguageFiles = Split(Mid(s, 2), ",")
End Function

' The same as the items of an ASP Array(...) expression.
Function LanguageFileItems()
  Dim f, s
  s = ""
  For Each f In LanguageFiles()
    If s <> "" Then s = s & ", "
    s = s & Lit(f)
  Next
  LanguageFileItems = s
End Function

' A language's name as its file describes it.
Function LanguageDesc(ByVal sFile)
  LanguageDesc = LANGUAGE.GetFileDesc(sFile) & ""
  If LanguageDesc = "" Then LanguageDesc = sFile
End Function

' ---- Database ----

' The kind of database the site runs on, as config.asp names it.
Function DbmsKind()
  Dim s
  s = LCase(DB.GetV("DBDBMSName") & "")
  If UCase(DB.GetV("DBType") & "") = "ACCESS" Or InStr(s, "access") > 0 Then
    DbmsKind = "access"
  ElseIf InStr(s, "sqlite") > 0 Then
    DbmsKind = "sqlite"
  ElseIf InStr(s, "postgres") > 0 Then
    DbmsKind = "postgresql"
  ElseIf InStr(s, "mysql") > 0 Or InStr(s, "mariadb") > 0 Then
    DbmsKind = "mysql"
  ElseIf InStr(s, "sql server") > 0 Then
    DbmsKind = "mssql"
  Else
    DbmsKind = "other"
  End If
End Function

' The connection string config.asp writes, as an ASP expression: the stored one, else one made
' from the database kind. Access files go through the ACE provider, which reads both .mdb and
' .accdb; the site opens the copy generation puts below its root (DBPath, else the root itself),
' found through Server.MapPath wherever the site is installed, or the file in an absolute DBPath
' (the file's place on the server, where nothing is copied).
Function ConnectionExpr()
  Dim s, sFolder, sFile
  s = DB.GetV("DBConnstr") & ""
  If s = "" And DbmsKind() = "access" Then
    sFile = FileNamePart(DB.GetV("DBPhyPath") & "")
    sFolder = Trim(DB.GetV("DBPath") & "")
    If Left(sFolder, 1) = "~" Then sFolder = Mid(sFolder, 2)
    If Left(sFolder, 2) = "\\" Or InStr(sFolder, ":") > 0 Then
      If Right(sFolder, 1) <> "\" Then sFolder = sFolder & "\"
      ConnectionExpr = Lit("Provider=Microsoft.ACE.OLEDB.12.0;Data Source=" & sFolder & sFile)
      Exit Function
    End If
    sFolder = Replace(sFolder, "\", "/")
    Do While Left(sFolder, 1) = "/"
      sFolder = Mid(sFolder, 2)
    Loop
    If sFolder <> "" And Right(sFolder, 1) <> "/" Then sFolder = sFolder & "/"
    ConnectionExpr = Lit("Provider=Microsoft.ACE.OLEDB.12.0;Data Source=") & " & Server.MapPath(" & Lit(sFolder & sFile) & ")"
    Exit Function
  End If
  If s = "" Then s = "DSN=" & DB.GetV("DBName")
  ConnectionExpr = Lit(s)
End Function

' The quotes of names: the database's own unless the project names others.
Function QuoteOpen()
  QuoteOpen = DB.GetV("DBQuoteS") & ""
  If QuoteOpen <> "" Then Exit Function
  Select Case DbmsKind()
    Case "mysql"
      QuoteOpen = "`"
    Case "mssql", "access"
      QuoteOpen = "["
    Case Else
      QuoteOpen = """"
  End Select
End Function

Function QuoteClose()
  QuoteClose = DB.GetV("DBQuoteE") & ""
  If QuoteClose <> "" Then Exit Function
  Select Case QuoteOpen()
    Case "["
      QuoteClose = "]"
    Case Else
      QuoteClose = QuoteOpen()
  End Select
End Function

' A table or field name quoted for SQL.
Function SqlName(ByVal sName)
  SqlName = QuoteOpen() & sName & QuoteClose()
End Function

' The FROM part of a table's queries: a custom view's own SQL becomes a derived table.
Function FromSql(ByVal tbl)
  If UCase(tbl.TblType) = "CUSTOMVIEW" And tbl.GetV("TblSQL") & "" <> "" Then
    FromSql = "(" & tbl.GetV("TblSQL") & ") vs_custom"
  ElseIf UCase(tbl.TblType) = "REPORT" And tbl.GetV("TblRptSrc") & "" <> "" Then
    FromSql = SqlName(tbl.GetV("TblRptSrc"))
  Else
    FromSql = SqlName(tbl.TblName)
  End If
End Function

' How the site treats a field's values: "bool", "int", "float", "date", "binary" or "text".
Function ValueKind(ByVal fld)
  ' The commonest types first: every case before the one that holds is compared.
  Select Case CLng(fld.FldType)
    Case 202, 200, 203, 201, 130, 129
      ValueKind = "text"
    Case 3, 2, 16, 17, 18, 19, 20, 21
      ValueKind = "int"
    Case 11
      ValueKind = "bool"
    Case 4, 5, 6, 14, 131
      ValueKind = "float"
    Case 7, 133, 134, 135, 146
      ValueKind = "date"
    Case 128, 204, 205
      ValueKind = "binary"
    Case Else
      ValueKind = "text"
  End Select
End Function

' ---- Tables and fields ----

Function FindTable(ByVal sName)
  Dim i, t
  Set FindTable = Nothing
  For i = 1 To DB.Tables.Count
    Set t = DB.Tables.Seq(i)
    If Not t Is Nothing Then
      If t.TblName = sName Then
        Set FindTable = t
        Exit Function
      End If
    End If
  Next
End Function

' The tables, in their order, for which the function named by test says True.
Function TablesWhere(ByVal test)
  Dim list(), n, i, t, holds
  Set holds = GetRef(test)
  n = 0
  ReDim list(DB.Tables.Count)
  For i = 1 To DB.Tables.Count
    Set t = DB.Tables.Seq(i)
    If Not t Is Nothing Then
      If holds(t) Then
        Set list(n) = t
        n = n + 1
      End If
    End If
  Next
  If n = 0 Then
    TablesWhere = Array()
  Else
    ReDim Preserve list(n - 1)
    TablesWhere = list
  End If
End Function

Function IsSiteTable(ByVal t)
  IsSiteTable = IsOn(t.TblGen) And t.Fields.Count > 0
End Function

' The tables the site has pages for, in their order.
Function SiteTables()
  SiteTables = TablesWhere("IsSiteTable")
End Function

' The page a table opens with: its report for a report, else its list.
Function StartPage(ByVal tbl)
  If UCase(tbl.TblType) = "REPORT" Then
    StartPage = PageFile(tbl.TblVar, "", "report")
  Else
    StartPage = PageFile(tbl.TblVar, "", "list")
  End If
End Function

Function TableCaption(ByVal tbl)
  TableCaption = tbl.TblCaption & ""
  If TableCaption = "" Then TableCaption = tbl.TblName
End Function

Function FieldCaption(ByVal fld)
  FieldCaption = fld.FldCaption & ""
  If FieldCaption = "" Then FieldCaption = fld.FldName
End Function

' ---- Answers kept during a generation ----
' A page asks for the same lists of its table's fields many times: every form loop, every
' upload check, and each field's test of whether an upload fills it, each of which walks all
' the fields; and every table asks which tables are its details, which walks all the tables.
' An answer is found once and kept: one about the current table until the generation moves to
' another table, one about the whole site for the whole generation. This file is loaded afresh
' for each generation and templates change no setting while they run, so a kept answer stays
' true.
Dim memoTable, memoLists, memoSite, memoNames
Set memoTable = Nothing
Set memoLists = CreateObject("Scripting.Dictionary")
Set memoSite = CreateObject("Scripting.Dictionary")
Set memoNames = CreateObject("Scripting.Dictionary")

' The lists kept for the current table, under names their makers choose.
Function TableMemo()
  If Not memoTable Is TABLE Then
    memoLists.RemoveAll
    Set memoTable = TABLE
  End If
  Set TableMemo = memoLists
End Function

' The fields of the current table that have a flag on (FldList, FldView, FldAdd, ...).
Function FieldsWith(ByVal sFlag)
  Dim memo, key
  Set memo = TableMemo()
  key = "with " & LCase(sFlag)
  If Not memo.Exists(key) Then memo.Add key, FieldsWithWalk(sFlag)
  FieldsWith = memo.Item(key)
End Function

Function FieldsWithWalk(ByVal sFlag)
  Dim list(), n, f, generated
  If sFlag = "" Then
    FieldsWithWalk = FieldsOf(TABLE)
    Exit Function
  End If
  ' A flag's list is the kept list of generated fields, filtered.
  generated = FieldsWith("")
  n = 0
  ReDim list(UBound(generated) + 1)
  For Each f In generated
    If IsOn(f.GetV(sFlag)) And Not (IsShowingFlag(sFlag) And IsPasswordField(f)) Then
      Set list(n) = f
      n = n + 1
    End If
  Next
  If n = 0 Then
    FieldsWithWalk = Array()
  Else
    ReDim Preserve list(n - 1)
    FieldsWithWalk = list
  End If
End Function

' Whether a flag puts a field's values before the visitor (listed, viewed, searched), rather
' than into a form or the key.
Function IsShowingFlag(ByVal sFlag)
  Select Case LCase(sFlag)
    Case "fldadd", "fldedit", "fldisprimarykey"
      IsShowingFlag = False
    Case Else
      IsShowingFlag = True
  End Select
End Function

Function KeyFields()
  KeyFields = FieldsWith("FldIsPrimaryKey")
End Function

Function TableHasKey()
  TableHasKey = (UBound(KeyFields()) >= 0)
End Function

' Whether the current table offers an advanced search page (a condition of control.xml).
Function TableHasSearchFields()
  TableHasSearchFields = False
  If TABLE Is Nothing Then Exit Function
  If UCase(TABLE.TblType) = "REPORT" Then Exit Function
  TableHasSearchFields = (UBound(FieldsWith("FldSearch")) >= 0)
End Function

' Whether a field can be entered in a form: it has an edit control the site knows how to fill.
' The fields an upload fills in (a file's name, type and size) are not typed by the visitor.
' Forms ask this of every field several times a page: the tests stop at the first that fails.
Function IsEntered(ByVal fld)
  Dim tag
  IsEntered = False
  tag = UCase(fld.FldHtmlTag & "")
  If tag = "" Or tag = "FILE" Then Exit Function
  If IsOn(fld.FldHtmlTagReadOnly) Then Exit Function
  If ValueKind(fld) = "binary" Then Exit Function
  IsEntered = Not IsFileInfoField(fld)
End Function

' Whether a field takes an uploaded file: its bytes (a binary field) or the name the file is
' saved under in the upload folder (a text field).
Function IsUploadField(ByVal fld)
  IsUploadField = False
  If UCase(fld.FldHtmlTag & "") <> "FILE" Then Exit Function
  If IsOn(fld.FldHtmlTagReadOnly) Then Exit Function
  Select Case ValueKind(fld)
    Case "binary", "text"
      IsUploadField = True
  End Select
End Function

' The items of a list for which the function named by test says True, in their order.
Function Filtered(ByVal aItems, ByVal test)
  Dim list(), n, item, holds
  Set holds = GetRef(test)
  n = 0
  ReDim list(UBound(aItems) + 1)
  For Each item In aItems
    If holds(item) Then
      Set list(n) = item
      n = n + 1
    End If
  Next
  If n = 0 Then
    Filtered = Array()
  Else
    ReDim Preserve list(n - 1)
    Filtered = list
  End If
End Function

' The file fields a form of the current table takes: sMode "add" or "edit".
Function UploadFields(ByVal sMode)
  UploadFields = FormFieldsWhere(sMode, "IsUploadField", "IsUploadField")
End Function

Function HasUploads(ByVal sMode)
  HasUploads = (UBound(UploadFields(sMode)) >= 0)
End Function

' Whether a field of the current table receives the name, type or size of another field's upload.
Function IsFileInfoField(ByVal fld)
  IsFileInfoField = FileInfoNames().Exists(LCase(fld.FldName))
End Function

' The names, in lower case, that the current table's file fields give for their file's name,
' type and size.
Function FileInfoNames()
  Dim memo, names, f, setting, n
  Set memo = TableMemo()
  If Not memo.Exists("file info") Then
    Set names = CreateObject("Scripting.Dictionary")
    For Each f In FieldsWith("")
      If UCase(f.FldHtmlTag & "") = "FILE" Then
        For Each setting In Array("FileNameFld", "FileTypeFld", "FileSizeFld")
          n = LCase(f.GetV(setting) & "")
          If Not names.Exists(n) Then names.Add n, True
        Next
      End If
    Next
    memo.Add "file info", names
  End If
  Set FileInfoNames = memo.Item("file info")
End Function

' The field of the current table a file field's setting (FileNameFld, FileTypeFld, FileSizeFld)
' names, or Nothing.
Function FileInfoField(ByVal fld, ByVal sSetting)
  Set FileInfoField = Nothing
  If fld.GetV(sSetting) & "" <> "" Then Set FileInfoField = FindField(TABLE, fld.GetV(sSetting) & "")
End Function

Function HasFileUploadField(ByVal t)
  Dim f
  HasFileUploadField = False
  If Not IsSiteTable(t) Then Exit Function
  If Not (IsOn(t.TblAdd) Or IsOn(t.TblEdit)) Then Exit Function
  For Each f In FieldsOf(t)
    If IsUploadField(f) And (IsOn(f.FldAdd) Or IsOn(f.FldEdit)) Then HasFileUploadField = True
  Next
End Function

' Whether any page of the site takes uploads (a condition of control.xml).
Function SiteHasUploads()
  If Not memoSite.Exists("uploads") Then
    memoSite.Add "uploads", (UBound(TablesWhere("HasFileUploadField")) >= 0)
  End If
  SiteHasUploads = memoSite.Item("uploads")
End Function

' The largest file the site takes, in bytes: the database's MaxUploadSize, else 2 MB.
Function MaxUploadBytes()
  MaxUploadBytes = Whole(DB.GetV("MaxUploadSize"))
  If MaxUploadBytes <= 0 Then MaxUploadBytes = 2097152
End Function

' Tables whose master is the current table, in their order.
Function DetailTables()
  Dim byMaster
  If Not memoSite.Exists("details") Then memoSite.Add "details", DetailsByMaster()
  Set byMaster = memoSite.Item("details")
  If byMaster.Exists(TABLE.TblName) Then
    DetailTables = byMaster.Item(TABLE.TblName)
  Else
    DetailTables = Array()
  End If
End Function

' The generated tables that name a master, in their order, by the master's name: a text that
' equals the master's TblName exactly.
Function DetailsByMaster()
  Dim byMaster, i, t, master, list
  Set byMaster = CreateObject("Scripting.Dictionary")
  For i = 1 To DB.Tables.Count
    Set t = DB.Tables.Seq(i)
    If Not t Is Nothing Then
      master = t.GetV("TblMasterTbl")
      If VarType(master) = vbString Then
        If IsOn(t.TblGen) Then
          If byMaster.Exists(master) Then
            list = byMaster.Item(master)
            ReDim Preserve list(UBound(list) + 1)
            Set list(UBound(list)) = t
            byMaster.Item(master) = list
          Else
            byMaster.Add master, Array(t)
          End If
        End If
      End If
    End If
  Next
  Set DetailsByMaster = byMaster
End Function

' The field of the current table that holds its master's key, or Nothing.
Function DetailField()
  Set DetailField = Nothing
  If TABLE.GetV("TblMasterTbl") & "" <> "" Then
    Set DetailField = FindField(TABLE, TABLE.GetV("TblDetailFld") & "")
  End If
End Function

' The field of a table called sName, or Nothing.
Function FindField(ByVal tbl, ByVal sName)
  Dim i, f
  Set FindField = Nothing
  For i = 1 To tbl.Fields.Count
    Set f = tbl.Fields.Seq(i)
    If Not f Is Nothing Then
      If f.FldName = sName Then
        Set FindField = f
        Exit Function
      End If
    End If
  Next
End Function

' The ORDER BY part of a table's list: the first field with a sort direction, else the key.
Function DefaultOrder()
  Dim f, s
  For Each f In FieldsWith("")
    If f.FldOrder & "" <> "" Then
      DefaultOrder = SqlName(f.FldName) & " " & UCase(f.FldOrder)
      Exit Function
    End If
  Next
  s = ""
  For Each f In KeyFields()
    If s <> "" Then s = s & ", "
    s = s & SqlName(f.FldName)
  Next
  DefaultOrder = s
End Function

' The rows a list page shows: the table's own number, else the project's RecPerPage, else 20.
Function RecordsPerPage()
  RecordsPerPage = 20
  If Whole(PROJ.GetV("RecPerPage")) > 0 Then RecordsPerPage = Whole(PROJ.GetV("RecPerPage"))
  If Whole(TABLE.GetV("TblRecPerPage")) > 0 Then RecordsPerPage = Whole(TABLE.GetV("TblRecPerPage"))
End Function

' An ASP expression of the query string that names a record by its key, with the key values
' taken from sSource & "(""name"")" (a recordset) or from the request (sSource "").
Function KeyQuery(ByVal sSource)
  Dim f, s, v
  s = ""
  For Each f In KeyFields()
    If sSource = "" Then
      v = "Request.QueryString(" & Lit("k_" & f.FldParm) & ")"
    Else
      v = sSource & "(" & Lit(f.FldName) & ")"
    End If
    If s <> "" Then s = s & " & ""&"" & "
    s = s & Lit("k_" & f.FldParm & "=") & " & UrlPart(" & v & ")"
  Next
  If s = "" Then s = """"""
  KeyQuery = s
End Function

' The pages a record links to from a list, in the order they are shown.
Function RecordLinks()
  Dim s
  s = ""
  If IsOn(TABLE.TblView) Then s = s & ",view"
  If IsOn(TABLE.TblEdit) And UCase(TABLE.TblType) <> "CUSTOMVIEW" Then s = s & ",edit"
  If IsOn(TABLE.TblDelete) And UCase(TABLE.TblType) <> "CUSTOMVIEW" Then s = s & ",delete"
  If s = "" Then
    RecordLinks = Array()
  Else
    RecordLinks = Split(Mid(s, 2), ",")
  End If
End Function

' The choices of a SELECT or RADIO control as the items of an ASP Array(...): value, label,
' value, label, ... from the field's "value","label" lines.
Function ChoiceItems(ByVal fld)
  Dim lines, i, parts, s
  s = ""
  lines = Split(Replace(fld.FldTagValues & "", "|", vbCrLf), vbCrLf)
  For i = 0 To UBound(lines)
    If Trim(lines(i)) <> "" Then
      parts = Split(lines(i), """,""")
      If s <> "" Then s = s & ", "
      If UBound(parts) >= 1 Then
        s = s & Lit(ChoiceText(parts(0))) & ", " & Lit(ChoiceText(parts(1)))
      Else
        s = s & Lit(ChoiceText(lines(i))) & ", " & Lit(ChoiceText(lines(i)))
      End If
    End If
  Next
  ChoiceItems = s
End Function

' A value or label of a "value","label" line: its own quotes gone, a quote inside it (stored as
' "&quot;" so that it cannot end the text) a quote again.
Function ChoiceText(ByVal s)
  ChoiceText = Replace(Replace(s, """", ""), "&quot;", """")
End Function

' Whether a field is a group of check boxes, one a member of the set of values it stores
' (joined with ","): a text field whose check box has values. A yes/no field is one box.
Function IsChoiceGroup(ByVal fld)
  IsChoiceGroup = False
  If UCase(fld.FldHtmlTag & "") <> "CHECKBOX" Then Exit Function
  If ValueKind(fld) <> "text" Then Exit Function
  IsChoiceGroup = (Trim(Replace(Replace(fld.FldTagValues & "", vbCr, ""), vbLf, "")) <> "")
End Function

' An ASP expression giving the choices of a field's input control.
Function ChoicesExpr(ByVal fld)
  If HasLookup(fld) Then
    ChoicesExpr = "LookupChoices(" & LookupSource(fld) & ", " & Lit(ParamKind(fld)) & ")"
  Else
    ChoicesExpr = "Array(" & ChoiceItems(fld) & ")"
  End If
End Function

' The value field, label field and table of a field's lookup, as the first arguments of
' LookupChoices and LookupLabel.
Function LookupSource(ByVal fld)
  Dim disp
  disp = fld.GetV("FldTagLnkDisplay") & ""
  If disp = "" Then disp = fld.GetV("FldTagLnkFld")
  LookupSource = Lit(fld.GetV("FldTagLnkFld")) & ", " & Lit(disp) & ", " & Lit(fld.GetV("FldTagLnkTbl"))
End Function

' An ASP expression of the label a choice field shows for the value sValue (an ASP expression):
' a lookup reads only that value's label.
Function LabelExpr(ByVal fld, ByVal sValue)
  If HasLookup(fld) Then
    LabelExpr = "LookupLabel(" & LookupSource(fld) & ", " & sValue & ", " & Lit(ParamKind(fld)) & ")"
  Else
    LabelExpr = "ChoiceLabel(" & ChoicesExpr(fld) & ", " & sValue & ")"
  End If
End Function

' An ASP expression that shows a field's value from a recordset: the label of a choice for a
' field entered by choosing, else the value formatted by its kind.
Function ShowExpr(ByVal fld, ByVal sRecordset)
  Dim v
  v = sRecordset & "(" & Lit(fld.FldName) & ").Value"
  Select Case UCase(fld.FldHtmlTag & "")
    Case "SELECT", "RADIO"
      ShowExpr = "Html(" & LabelExpr(fld, v) & ")"
    Case Else
      ShowExpr = "ShowValue(" & v & ", " & Lit(ValueKind(fld)) & ")"
  End Select
End Function

' The listed fields of the current table whose values a list shows by a lookup's label, as the
' items of an ASP Array(...): column, value field, label field, table, kind, ... (the arguments
' of ReadLabels), so that a list reads the labels of its rows together.
Function ListLookupItems()
  Dim f, s
  s = ""
  For Each f In FieldsWith("FldList")
    If ValueKind(f) <> "binary" And HasLookup(f) Then
      Select Case UCase(f.FldHtmlTag & "")
        Case "SELECT", "RADIO"
          If s <> "" Then s = s & ", "
          s = s & Lit(f.FldName) & ", " & LookupSource(f) & ", " & Lit(ParamKind(f))
      End Select
    End If
  Next
  ListLookupItems = s
End Function

' A CSS value from a project setting, or the default.
Function CssValue(ByVal sName, ByVal sDefault)
  CssValue = Trim(PROJ.GetV(sName) & "")
  If CssValue = "" Then CssValue = sDefault
End Function

' The order of day, month and year the site shows dates in: the project's defaultDateFormat
' (5 year/month/day, 6 month/day/year, 7 day/month/year), else 0, the form's year-month-day.
Function DateFormatCode()
  DateFormatCode = Whole(PROJ.GetV("defaultDateFormat"))
  If DateFormatCode < 5 Or DateFormatCode > 7 Then DateFormatCode = 0
End Function

' The style sheet the generator makes from the project's own styles.
Function ProjectCssFile()
  ProjectCssFile = PROJ.ProjVar & ".css"
  If IsOn(PROJ.GetV("OutputNameLCase")) Then ProjectCssFile = LCase(ProjectCssFile)
End Function

Function FileNamePart(ByVal sPath)
  sPath = Replace(sPath, "/", "\")
  FileNamePart = Mid(sPath, InStrRev(sPath, "\") + 1)
End Function

' The fields of the basic search as the items of an ASP Array(...) of quoted names.
Function ListBasicSearchFields()
  Dim f, s
  s = ""
  For Each f In FieldsWith("FldBasicSearch")
    If ValueKind(f) = "text" Then
      If s <> "" Then s = s & ", "
      s = s & "QName(" & Lit(f.FldName) & ")"
    End If
  Next
  ListBasicSearchFields = s
End Function

' The site folder a field's uploaded files lie in.
Function UploadFolder(ByVal fld)
  UploadFolder = Trim(fld.FldUploadPath & "")
  If UploadFolder = "" Then UploadFolder = ProjText("UploadPath", "upload")
  UploadFolder = Replace(UploadFolder, "\", "/")
  ' "~/upload" and "/upload" are below the site's root, where its pages are.
  If Left(UploadFolder, 1) = "~" Then UploadFolder = Mid(UploadFolder, 2)
  Do While Left(UploadFolder, 1) = "/"
    UploadFolder = Mid(UploadFolder, 2)
  Loop
  If Right(UploadFolder, 1) = "/" Then UploadFolder = Left(UploadFolder, Len(UploadFolder) - 1)
  If UploadFolder = "" Then UploadFolder = "upload"
End Function

' The site folder a field's uploaded files are kept in: its upload folder below App_Data, which
' IIS never serves, so that a file reaches a visitor only through the download page, which checks
' the table's rights.
Function StoredUploadFolder(ByVal fld)
  StoredUploadFolder = "App_Data/" & UploadFolder(fld)
End Function

' Whether a field names a file kept in the upload folder (rather than holding the file's bytes).
Function IsStoredFile(ByVal fld)
  IsStoredFile = (UCase(fld.FldHtmlTag & "") = "FILE" And ValueKind(fld) = "text")
End Function

' The fields of the current table whose files lie in the upload folder: a change or a delete of
' the record removes the files it no longer names.
Function StoredFileFields()
  Dim memo
  Set memo = TableMemo()
  If Not memo.Exists("stored files") Then memo.Add "stored files", Filtered(FieldsWith(""), "IsStoredFile")
  StoredFileFields = memo.Item("stored files")
End Function

' Every column of the project's tables and views whose files lie in a folder of uploads, each as
' Array(table, column, folder): tables share a folder unless their fields name their own, so a
' file stays while any of them still names it.
Function StoredFileUses()
  Dim memo, list(), n, i, t, f
  Set memo = memoSite
  If memo.Exists("stored file uses") Then
    StoredFileUses = memo.Item("stored file uses")
    Exit Function
  End If
  n = 0
  ReDim list(0)
  For i = 1 To DB.Tables.Count
    Set t = DB.Tables.Seq(i)
    If Not t Is Nothing Then
      Select Case UCase(t.TblType & "")
        Case "TABLE", "VIEW"
          For Each f In FieldsOf(t)
            If IsStoredFile(f) Then
              ReDim Preserve list(n)
              list(n) = Array(t.TblName & "", f.FldName & "", StoredUploadFolder(f))
              n = n + 1
            End If
          Next
      End Select
    End If
  Next
  If n = 0 Then
    memo.Add "stored file uses", Array()
  Else
    memo.Add "stored file uses", list
  End If
  StoredFileUses = memo.Item("stored file uses")
End Function

Function HasStoredFiles()
  HasStoredFiles = (UBound(StoredFileFields()) >= 0)
End Function

' The ASP expression of the quoted names of fields, joined with ", "; "" for none.
Function NamesExpr(ByVal aFields)
  Dim f, s
  s = ""
  For Each f In aFields
    If s <> "" Then s = s & " & "", "" & "
    s = s & NameExpr(f)
  Next
  NamesExpr = s
End Function

' The ASP expression of the columns that name the current table's stored files, in their order.
Function StoredFilesColumnsExpr()
  StoredFilesColumnsExpr = NamesExpr(StoredFileFields())
End Function

' The items of an ASP Array(...) of those columns' texts in the recordset.
Function StoredFilesValuesExpr(ByVal sRecordset)
  Dim i, s
  s = ""
  For i = 0 To UBound(StoredFileFields())
    If s <> "" Then s = s & ", "
    s = s & sRecordset & "(" & i & ").Value & """""
  Next
  StoredFilesValuesExpr = s
End Function

' The fields a form of the current table takes: sMode "add" or "edit".
Function FormFields(ByVal sMode)
  FormFields = FormFieldsWhere(sMode, "IsAddInput", "IsEditInput")
End Function

' The fields of the add (or edit) form for which the function named by sAddTest (or sEditTest)
' says True.
Function FormFieldsWhere(ByVal sMode, ByVal sAddTest, ByVal sEditTest)
  Dim memo, key
  Set memo = TableMemo()
  If sMode = "add" Then
    key = "add " & LCase(sAddTest)
  Else
    key = "edit " & LCase(sEditTest)
  End If
  If Not memo.Exists(key) Then
    If sMode = "add" Then
      memo.Add key, Filtered(FieldsWith("FldAdd"), sAddTest)
    Else
      memo.Add key, Filtered(FieldsWith("FldEdit"), sEditTest)
    End If
  End If
  FormFieldsWhere = memo.Item(key)
End Function

' A key names its record: it is not changed by an edit, nor typed when the database makes it.
Function IsAddInput(ByVal fld)
  IsAddInput = IsEntered(fld) And Not IsOn(fld.FldAutoIncrement)
End Function

Function IsEditInput(ByVal fld)
  IsEditInput = IsEntered(fld) And Not IsOn(fld.FldIsPrimaryKey)
End Function

' The declaration of a form's field variables, or nothing when the form has no field.
Function FormDims(ByVal sMode)
  Dim f, s
  s = ""
  For Each f In FormFields(sMode)
    If s <> "" Then s = s & ", "
    s = s & f.FldVar
  Next
  If s <> "" Then s = "Dim " & s
  FormDims = s
End Function

' The declaration of an edit form's "has a file" flags, or nothing when it takes no file.
Function UploadDims(ByVal sMode)
  Dim f, s
  s = ""
  For Each f In UploadFields(sMode)
    If s <> "" Then s = s & ", "
    s = s & "vsHas_" & f.FldParm
  Next
  If s <> "" Then s = "Dim " & s
  UploadDims = s
End Function

' The choices argument of a field's input control.
Function InputChoices(ByVal fld)
  Select Case UCase(fld.FldHtmlTag & "")
    Case "SELECT", "RADIO"
      InputChoices = ChoicesExpr(fld)
    Case "CHECKBOX"
      If IsChoiceGroup(fld) Then InputChoices = ChoicesExpr(fld) Else InputChoices = "Array()"
    Case Else
      InputChoices = "Array()"
  End Select
End Function

Function Whole(ByVal v)
  Whole = 0
  If IsNumeric(v) Then Whole = CLng(v)
End Function

' ---- Reports ----

Function ReportFields()
  ReportFields = Filtered(FieldsWith("FldList"), "HoldsNoFile")
End Function

Function HoldsNoFile(ByVal fld)
  HoldsNoFile = (ValueKind(fld) <> "binary")
End Function

' The ASP expression of a report's ORDER BY: its groups, then its other columns, so that rows
' come in the same order on every run.
' A report without groups (grp Nothing) is ordered by its columns, then its source's key.
Function ReportOrderExpr(ByVal grp)
  Dim f, s, sGroup
  s = ""
  sGroup = ""
  If Not grp Is Nothing Then
    s = NameExpr(grp)
    sGroup = grp.FldName
  End If
  For Each f In ReportFields()
    If f.FldName <> sGroup And ParamKind(f) <> "memo" Then
      If s <> "" Then s = s & " & "", "" & "
      s = s & NameExpr(f)
    End If
  Next
  ' Then the source's key, so that rows alike in every column come in one order and pages of
  ' rows neither repeat nor skip any.
  For Each f In SourceKeyFields()
    If s <> "" Then s = s & " & "", "" & "
    s = s & NameExpr(f)
  Next
  If s = "" Then s = """1"""
  ReportOrderExpr = s
End Function

' The key fields of the current report's source table; none when it has no key.
Function SourceKeyFields()
  Dim src
  SourceKeyFields = Array()
  Set src = FindTable(TABLE.GetV("TblRptSrc") & "")
  If src Is Nothing Then Exit Function
  SourceKeyFields = FieldsFlagged(src, "FldIsPrimaryKey")
End Function

' The columns of a report's grand total: the sum of each summed column, as vs_sum_ and its name.
Function ReportSumColumnsExpr()
  Dim f, s
  s = ""
  For Each f In ReportSumFields()
    If s <> "" Then s = s & " & "", "" & "
    s = s & Lit("SUM(") & " & " & NameExpr(f) & " & " & Lit(") AS vs_sum_" & f.FldParm)
  Next
  ReportSumColumnsExpr = s
End Function

' Whether a field shows the label of another table's record for its value.
Function HasLookup(ByVal fld)
  HasLookup = (fld.GetV("FldTagLnkTbl") & "" <> "" And fld.GetV("FldTagLnkFld") & "" <> "")
End Function

' The field whose lookup labels a report column: the column's own, else that of the field of the
' same name in the report's source table, whose settings the report's own fields rarely repeat.
Function LookupFieldOf(ByVal fld)
  Dim src, f
  Set LookupFieldOf = Nothing
  If HasLookup(fld) Then
    Set LookupFieldOf = fld
  ElseIf UCase(TABLE.TblType) = "REPORT" Then
    Set src = FindTable(TABLE.GetV("TblRptSrc") & "")
    If Not src Is Nothing Then
      Set f = FindField(src, fld.FldName)
      If Not f Is Nothing Then
        If HasLookup(f) Then Set LookupFieldOf = f
      End If
    End If
  End If
End Function

' An ASP expression showing a report column's value: the looked-up label when there is a lookup.
Function ReportShowExpr(ByVal fld, ByVal sRecordset)
  Dim lookupField
  Set lookupField = LookupFieldOf(fld)
  If lookupField Is Nothing Then
    ReportShowExpr = ShowExpr(fld, sRecordset)
  Else
    ReportShowExpr = "Html(" & LabelExpr(lookupField, sRecordset & "(" & Lit(fld.FldName) & ").Value") & ")"
  End If
End Function

Function IsSummed(ByVal fld)
  IsSummed = IsOn(fld.GetV("FldRptAggSum")) And _
             (ValueKind(fld) = "int" Or ValueKind(fld) = "float")
End Function

Function ReportSumFields()
  ReportSumFields = Filtered(ReportFields(), "IsSummed")
End Function

' The field a report groups its rows by: the one with the lowest grouping level, or Nothing.
Function ReportGroupField()
  Dim f, best
  Set ReportGroupField = Nothing
  best = 0
  For Each f In ReportFields()
    If Whole(f.FldGroupBy) > 0 And (best = 0 Or Whole(f.FldGroupBy) < best) Then
      best = Whole(f.FldGroupBy)
      Set ReportGroupField = f
    End If
  Next
End Function

' One item per report column for an ASP Array(...): the column's sum variable, or "" for a
' column that is not summed; nothing at all when no column is summed.
Function ReportSumItems(ByVal sPrefix)
  Dim f, s
  s = ""
  If UBound(ReportSumFields()) < 0 Then
    ReportSumItems = ""
    Exit Function
  End If
  For Each f In ReportFields()
    If s <> "" Then s = s & ", "
    If IsSummed(f) Then
      s = s & sPrefix & f.FldParm
    Else
      s = s & """"""
    End If
  Next
  ReportSumItems = s
End Function

' ---- Site safety ----

' The login the site asks for: "" (none), "static" (the project's one login), "table" (the users
' of the security table) or "both".
Function SecurityType()
  Dim s
  s = LCase(Trim(PROJ.GetV("SecType") & ""))
  SecurityType = ""
  Select Case s
    Case "static", "table", "both"
      SecurityType = s
    Case "", "none"
    Case Else
      If ProjText("SecTbl", "") <> "" Then SecurityType = "table"
  End Select
  If (SecurityType = "table" Or SecurityType = "both") And _
     (ProjText("SecTbl", "") = "" Or ProjText("SecLoginIDFld", "") = "" Or ProjText("SecPasswdFld", "") = "") Then
    If SecurityType = "both" Then SecurityType = "static" Else SecurityType = ""
  End If
End Function

' A rights setting of a table as a sum of the rights (1 list, 2 view, 4 add, 8 edit,
' 16 delete); the default when it is empty or not a number.
Function RightsValue(ByVal v, ByVal nDefault)
  RightsValue = nDefault
  v = Trim(v & "")
  If v <> "" And IsNumeric(v) Then RightsValue = CLng(v) And 31
End Function

' An ASP expression of the visitor's rights on a table. Visitors who are not logged in have
' the table's TblAnonymous rights (none unless set); users have its TblSecurity rights (all
' unless set).
Function RightsExpr(ByVal tbl)
  RightsExpr = "TableRights(" & RightsValue(tbl.GetV("TblAnonymous"), 0) & ", " & _
               RightsValue(tbl.GetV("TblSecurity"), 31) & ")"
End Function

' An ASP expression of a table's FROM part: a custom view's own SQL as a derived table, a
' report's source, else the table; names are quoted when the page runs, with config.asp's quotes.
Function FromExpr(ByVal tbl)
  If UCase(tbl.TblType) = "CUSTOMVIEW" And tbl.GetV("TblSQL") & "" <> "" Then
    FromExpr = Lit("(" & tbl.GetV("TblSQL") & ") vs_custom")
  ElseIf UCase(tbl.TblType) = "REPORT" And tbl.GetV("TblRptSrc") & "" <> "" Then
    FromExpr = "QName(" & Lit(tbl.GetV("TblRptSrc")) & ")"
  Else
    FromExpr = "QName(" & Lit(tbl.TblName) & ")"
  End If
End Function

' The ASP expression of a quoted field name. A page names each field several times, and every
' table names its fields again: the text is made once a name, for the whole generation.
Function NameExpr(ByVal fld)
  Dim name
  name = fld.FldName & ""
  If Not memoNames.Exists(name) Then memoNames.Add name, "QName(" & Lit(name) & ")"
  NameExpr = memoNames.Item(name)
End Function

' The kind a parameter of the field is sent as: "memo" for long text, "day" for a date without
' a time, "time" for a time of day and "decimal" for an exact number with a fraction (sent as
' its text, which a Double would round), else the value kind.
Function ParamKind(ByVal fld)
  ParamKind = ValueKind(fld)
  Select Case CLng(fld.FldType)
    Case 201, 203
      If ParamKind = "text" Then ParamKind = "memo"
    Case 133
      ParamKind = "day"
    Case 134
      ParamKind = "time"
    Case 6, 14, 131
      ParamKind = "decimal"
  End Select
End Function

' The kind of a field's value in a form: the parameter's kind, "datetime" for a date that holds
' a time, "set" for a group of boxes.
Function FormKind(ByVal fld)
  FormKind = ParamKind(fld)
  If FormKind = "date" Then FormKind = "datetime"
  If IsChoiceGroup(fld) Then FormKind = "set"
End Function

' The limit of a field's value as an ASP expression (see CheckValue): the longest text a text
' field takes, the range "min:max" of a whole number's column, else 0.
Function LimitExpr(ByVal fld)
  LimitExpr = "0"
  Select Case ValueKind(fld)
    Case "text"
      If CLng(fld.FldType) = 72 Then
        ' A GUID's size is its 16 bytes; as text it is 36 characters, 38 with braces.
        LimitExpr = "38"
      ElseIf CLng(fld.FldType) <> 201 And CLng(fld.FldType) <> 203 Then
        LimitExpr = CStr(Whole(fld.FldSize))
      End If
    Case "int"
      Select Case CLng(fld.FldType)
        Case 16
          LimitExpr = Lit("-128:127")
        Case 17
          LimitExpr = Lit("0:255")
        Case 2
          LimitExpr = Lit("-32768:32767")
        Case 18
          LimitExpr = Lit("0:65535")
        Case 3
          LimitExpr = Lit("-2147483648:2147483647")
        Case 19
          LimitExpr = Lit("0:4294967295")
        Case 20
          LimitExpr = Lit("-9223372036854775808:9223372036854775807")
        Case 21
          LimitExpr = Lit("0:18446744073709551615")
      End Select
  End Select
End Function

' The longest text a text field takes; 0 when it does not say.
Function MaxLength(ByVal fld)
  MaxLength = 0
  If ValueKind(fld) = "text" Then MaxLength = CLng(LimitExpr(fld))
End Function

' An ASP expression of an edit form's values (FormValue) as a recordset holds them, in the order
' of EditValueFields.
Function FormValuesExpr(ByVal sRecordset)
  Dim f, s
  s = ""
  For Each f In EditValueFields()
    If s <> "" Then s = s & ", "
    s = s & "FormValue(" & sRecordset & "(" & Lit(f.FldName) & ").Value, " & Lit(FormKind(f)) & ")"
  Next
  FormValuesExpr = "Array(" & s & ")"
End Function

' The fields of the edit form whose value the form shows: all but a password, which is never
' read back, so it cannot be part of what the form saw.
Function EditValueFields()
  Dim memo
  Set memo = TableMemo()
  If Not memo.Exists("edit values") Then memo.Add "edit values", Filtered(FormFields("edit"), "IsNoPasswordField")
  EditValueFields = memo.Item("edit values")
End Function

Function IsNoPasswordField(ByVal fld)
  IsNoPasswordField = Not IsPasswordField(fld)
End Function

' The position of a field among EditValueFields, from 0.
Function EditValueIndex(ByVal fld)
  Dim i, list
  list = EditValueFields()
  EditValueIndex = -1
  For i = 0 To UBound(list)
    If list(i) Is fld Then
      EditValueIndex = i
      Exit Function
    End If
  Next
End Function

' Whether a field is one yes/no box, which cannot send "no value": its form says when it had none.
Function IsSingleBox(ByVal fld)
  IsSingleBox = (UCase(fld.FldHtmlTag & "") = "CHECKBOX" And Not IsChoiceGroup(fld))
End Function

' The columns a list reads: the listed ones and the key, never a file's bytes.
Function ListColumnsExpr()
  Dim f, s, seen
  s = ""
  seen = ","
  For Each f In FieldsWith("")
    If (IsOn(f.FldList) Or IsOn(f.FldIsPrimaryKey)) And ValueKind(f) <> "binary" And Not IsPasswordField(f) Then
      If InStr(seen, "," & LCase(f.FldName) & ",") = 0 Then
        If s <> "" Then s = s & " & "", "" & "
        s = s & NameExpr(f)
        seen = seen & LCase(f.FldName) & ","
      End If
    End If
  Next
  If s = "" Then s = """*"""
  ListColumnsExpr = s
End Function

' The fields a visitor may sort a list by, as the items of an ASP Array(...): name, quoted
' name expression, ...
Function SortItems()
  Dim f, s
  s = ""
  For Each f In FieldsWith("FldList")
    If ValueKind(f) <> "binary" And ValueKind(f) <> "memo" Then
      If s <> "" Then s = s & ", "
      s = s & Lit(f.FldParm) & ", " & NameExpr(f)
    End If
  Next
  SortItems = s
End Function

' Whether lists offer sorting by a click on a column: the project's SortType 2 turns it off.
Function SortingOn()
  SortingOn = (Whole(PROJ.GetV("SortType")) <> 2)
End Function

' The ASP expression of a list's default ORDER BY, ended by fields that make it unique (the key,
' else every listed field) so that pages neither overlap nor skip rows.
Function OrderExpr()
  Dim f, s, tail
  s = ""
  For Each f In FieldsWith("")
    If f.FldOrder & "" <> "" And s = "" Then
      s = NameExpr(f) & " & "" " & UCase(f.FldOrder) & """"
    End If
  Next
  If s = "" Then s = """"""
  OrderExpr = s
End Function

Function UniqueOrderExpr()
  Dim f, s
  s = NamesExpr(KeyFields())
  If s = "" Then
    For Each f In FieldsWith("FldList")
      If ValueKind(f) <> "binary" And ValueKind(f) <> "memo" Then
        If s <> "" Then s = s & " & "", "" & "
        s = s & NameExpr(f)
      End If
    Next
  End If
  If s = "" Then s = """1"""
  UniqueOrderExpr = s
End Function

' The page sizes a visitor may choose, from the project's RecPerPageList ("10,20,50,ALL").
Function PageSizeItems()
  Dim parts, i, s, v
  s = ""
  parts = Split(ProjText("RecPerPageList", ""), ",")
  For i = 0 To UBound(parts)
    v = UCase(Trim(parts(i)))
    If v = "ALL" Then v = "0"
    If IsNumeric(v) Then
      If s <> "" Then s = s & ", "
      s = s & CLng(v)
    End If
  Next
  PageSizeItems = s
End Function

' The right a record link needs, as the ASP constant.
Function RightConst(ByVal sPage)
  Select Case sPage
    Case "view"
      RightConst = "vsRightView"
    Case "edit"
      RightConst = "vsRightEdit"
    Case "delete"
      RightConst = "vsRightDelete"
    Case "add"
      RightConst = "vsRightAdd"
    Case Else
      RightConst = "vsRightList"
  End Select
End Function

' The fields of any table that are generated, in their order.
Function FieldsOf(ByVal tbl)
  FieldsOf = FieldsFlagged(tbl, "FldGenerate")
End Function

' The fields of a table whose setting sFlag is on, in their order.
Function FieldsFlagged(ByVal tbl, ByVal sFlag)
  Dim list(), n, i, f
  n = 0
  ReDim list(tbl.Fields.Count)
  For i = 1 To tbl.Fields.Count
    Set f = tbl.Fields.Seq(i)
    If Not f Is Nothing Then
      If IsOn(f.GetV(sFlag)) Then
        Set list(n) = f
        n = n + 1
      End If
    End If
  Next
  If n = 0 Then
    FieldsFlagged = Array()
  Else
    ReDim Preserve list(n - 1)
    FieldsFlagged = list
  End If
End Function

' The columns a record page reads: the fields shown, a file field only as whether it holds one.
Function RecordColumnsExpr(ByVal sFlag)
  Dim f, s, seen
  s = ""
  seen = ","
  For Each f In FieldsWith("")
    If (IsOn(f.GetV(sFlag)) Or IsOn(f.FldIsPrimaryKey)) And Not IsPasswordField(f) Then
      If InStr(seen, "," & LCase(f.FldName) & ",") = 0 Then
        seen = seen & LCase(f.FldName) & ","
        If s <> "" Then s = s & " & "", "" & "
        If ValueKind(f) = "binary" Then
          s = s & """CASE WHEN "" & " & NameExpr(f) & " & "" IS NULL THEN 0 ELSE 1 END AS vs_has_" & f.FldParm & """"
        ElseIf ValueKind(f) = "date" Then
          s = s & "DateColumn(" & Lit(f.FldName & "") & ")"
        Else
          s = s & NameExpr(f)
        End If
      End If
    End If
  Next
  If s = "" Then s = """*"""
  RecordColumnsExpr = s
End Function

' The columns of a table's list shown elsewhere (a master record's header): never a file's bytes.
Function ListedColumnsOf(ByVal tbl)
  Dim f, s
  s = ""
  For Each f In FieldsOf(tbl)
    If IsListedOf(tbl, f) Then
      If s <> "" Then s = s & " & "", "" & "
      s = s & NameExpr(f)
    End If
  Next
  If s = "" Then s = """*"""
  ListedColumnsOf = s
End Function

' Whether a field of a table is shown in its list (and so in a master record's header).
Function IsListedOf(ByVal tbl, ByVal fld)
  IsListedOf = IsOn(fld.FldList) And ValueKind(fld) <> "binary" And Not IsPasswordFieldOf(tbl, fld)
End Function

' Whether a field of the current table holds its master's key.
Function IsMasterField(ByVal fld)
  IsMasterField = False
  If DetailField() Is Nothing Then Exit Function
  IsMasterField = (DetailField().FldName = fld.FldName)
End Function

' An ASP expression showing a value held in a variable as the field shows it: a choice's label.
Function ShowExprOf(ByVal fld, ByVal sVariable)
  Select Case UCase(fld.FldHtmlTag & "")
    Case "SELECT", "RADIO"
      ShowExprOf = LabelExpr(fld, sVariable)
    Case Else
      ShowExprOf = sVariable
  End Select
End Function

' The columns a report reads.
Function ReportColumnsExpr()
  Dim f, s
  s = ""
  For Each f In ReportFields()
    If s <> "" Then s = s & " & "", "" & "
    s = s & NameExpr(f)
  Next
  If s = "" Then s = """*"""
  ReportColumnsExpr = s
End Function

' The field of a table that holds the id of the user a row belongs to (TblUserIDFld; a report's
' is its source's), or Nothing. Only users of the users table have ids.
Function UserIdFieldOf(ByVal tbl)
  Dim sName, src
  Set UserIdFieldOf = Nothing
  If SecurityType() <> "table" And SecurityType() <> "both" Then Exit Function
  sName = Trim(tbl.GetV("TblUserIDFld") & "")
  If sName = "" Then Exit Function
  Set src = tbl
  If UCase(tbl.TblType) = "REPORT" Then Set src = FindTable(tbl.GetV("TblRptSrc") & "")
  If src Is Nothing Then Exit Function
  Set UserIdFieldOf = FindField(src, sName)
End Function

' An ASP expression of the condition that keeps a user to his own rows of a table, with the
' query q; "" (no condition) for a table without a user id field. A table without one whose
' master's rows are users' (the lines of an invoice) keeps him to the rows of his master rows.
Function OwnerTermExpr(ByVal tbl, ByVal sQuery)
  OwnerTermExpr = OwnerTermWalk(tbl, sQuery, 0)
  If OwnerTermExpr = "" Then OwnerTermExpr = """"""
End Function

' Whether a user sees only some rows of a table: his own, or those of his master rows.
Function LimitsRowsByUser(ByVal tbl)
  LimitsRowsByUser = (OwnerTermWalk(tbl, "q", 0) <> "")
End Function

' OwnerTermExpr, or "" for none; nDepth counts the masters followed, so that masters that name
' each other in a ring end the walk.
Function OwnerTermWalk(ByVal tbl, ByVal sQuery, ByVal nDepth)
  Dim f, src, master, detailFld, sInner
  OwnerTermWalk = ""
  Set f = UserIdFieldOf(tbl)
  If Not f Is Nothing Then
    OwnerTermWalk = "OwnerTerm(" & sQuery & ", " & NameExpr(f) & ", " & Lit(ParamKind(f)) & ")"
    Exit Function
  End If
  If nDepth >= 8 Then Exit Function
  Set src = tbl
  If UCase(tbl.TblType) = "REPORT" Then Set src = FindTable(tbl.GetV("TblRptSrc") & "")
  If src Is Nothing Then Exit Function
  If src.GetV("TblMasterTbl") & "" = "" Or src.GetV("TblMasterFld") & "" = "" Then Exit Function
  Set master = FindTable(src.GetV("TblMasterTbl") & "")
  If master Is Nothing Then Exit Function
  Set detailFld = FindField(src, src.GetV("TblDetailFld") & "")
  If detailFld Is Nothing Then Exit Function
  sInner = OwnerTermWalk(master, sQuery, nDepth + 1)
  If sInner = "" Then Exit Function
  OwnerTermWalk = "MasterOwnerTerm(" & NameExpr(detailFld) & ", " & FromExpr(master) & ", " & Lit(src.GetV("TblMasterFld") & "") & ", " & sInner & ")"
End Function

' The master table of a detail table (TblMasterTbl), or Nothing.
Function MasterTableOf(ByVal tbl)
  Set MasterTableOf = Nothing
  If tbl.GetV("TblMasterTbl") & "" = "" Or tbl.GetV("TblMasterFld") & "" = "" Then Exit Function
  Set MasterTableOf = FindTable(tbl.GetV("TblMasterTbl") & "")
End Function

' The field of a detail table that holds its master's key (TblDetailFld), or Nothing.
Function DetailFieldOf(ByVal tbl)
  Set DetailFieldOf = FindField(tbl, tbl.GetV("TblDetailFld") & "")
End Function

' Whether the current table's forms must check that a master key names a row the visitor may
' see: its rows are users' only through their master's (OwnerTermWalk).
Function MasterKeyChecked()
  MasterKeyChecked = False
  If Not UserIdFieldOf(TABLE) Is Nothing Then Exit Function
  If MasterTableOf(TABLE) Is Nothing Or DetailFieldOf(TABLE) Is Nothing Then Exit Function
  MasterKeyChecked = (OwnerTermWalk(MasterTableOf(TABLE), "q", 1) <> "")
End Function

Function HasUserIdField()
  HasUserIdField = Not (UserIdFieldOf(TABLE) Is Nothing)
End Function

' Whether the current table's user id field is among a form's fields: sMode "add" or "edit".
Function UserIdFieldInForm(ByVal sMode)
  Dim f
  UserIdFieldInForm = False
  If Not HasUserIdField() Then Exit Function
  For Each f In FormFields(sMode)
    If f.FldName = UserIdFieldOf(TABLE).FldName Then UserIdFieldInForm = True
  Next
End Function

' The users table's field of a user's id: the database's SecuUserIDFld, else the login name.
Function UserIdColumn()
  UserIdColumn = Trim(DB.GetV("SecuUserIDFld") & "")
  If UserIdColumn = "" Then UserIdColumn = ProjText("SecLoginIDFld", "")
End Function

' Whether a field of a table is the users table's password column. The site never lists, shows
' or searches it; a form takes a new password in an empty box, stored as the login compares it.
' A view's field is that column when its source says so; a view whose source is not known (a
' database's view, which may be "SELECT * FROM users") hides a field of the column's name.
Function IsPasswordFieldOf(ByVal tbl, ByVal fld)
  Dim src, sPassword, sSourceTable
  IsPasswordFieldOf = False
  If SecurityType() <> "table" And SecurityType() <> "both" Then Exit Function
  sPassword = LCase(ProjText("SecPasswdFld", ""))
  If sPassword = "" Then Exit Function
  Set src = tbl
  If UCase(tbl.TblType) = "REPORT" Then Set src = FindTable(tbl.GetV("TblRptSrc") & "")
  If src Is Nothing Then Exit Function
  Set fld = FindField(src, fld.FldName)
  If fld Is Nothing Then Exit Function
  sSourceTable = LCase(fld.GetV("FldSourceTable") & "")
  If sSourceTable <> "" And fld.GetV("FldSourceField") & "" <> "" Then
    IsPasswordFieldOf = (sSourceTable = LCase(ProjText("SecTbl", "")) And LCase(fld.GetV("FldSourceField") & "") = sPassword)
    Exit Function
  End If
  If LCase(fld.FldName) <> sPassword Then Exit Function
  Select Case UCase(src.TblType & "")
    Case "VIEW", "CUSTOMVIEW"
      IsPasswordFieldOf = True
    Case Else
      IsPasswordFieldOf = (LCase(src.TblName) = LCase(ProjText("SecTbl", "")))
  End Select
End Function

Function IsPasswordField(ByVal fld)
  IsPasswordField = IsPasswordFieldOf(TABLE, fld)
End Function

' The longest password a form takes: any, while the project stores its digest.
Function PasswordMaxLength(ByVal fld)
  PasswordMaxLength = 0
  If Not IsOn(PROJ.GetV("MD5Password")) Then PasswordMaxLength = MaxLength(fld)
End Function

' Whether a form of the current table takes a password: sMode "add" or "edit".
Function FormTakesPassword(ByVal sMode)
  Dim f
  FormTakesPassword = False
  For Each f In FormFields(sMode)
    If IsPasswordField(f) Then FormTakesPassword = True
  Next
End Function

' Whether the site has a login page (a condition of control.xml).
Function SecurityOn()
  SecurityOn = (SecurityType() <> "")
End Function

' ---- Defaults the database fills ----

' Whether a field's default is an expression the database works out (now(), CURRENT_TIMESTAMP,
' gen_random_uuid()) rather than a value a form could show: a date that is no date, a number
' that is no number, a text that is a call or one of SQL's niladic words.
Function DefaultIsExpression(ByVal fld)
  Dim d
  d = Trim(fld.FldDefault & "")
  DefaultIsExpression = False
  If d = "" Then Exit Function
  Select Case ValueKind(fld)
    Case "date"
      DefaultIsExpression = Not IsDate(d)
    Case "int", "float"
      DefaultIsExpression = Not IsNumeric(d)
    Case "bool"
      Select Case LCase(d)
        Case "true", "false", "1", "0", "-1", "yes", "no", "t", "f", "on", "off"
        Case Else
          DefaultIsExpression = True
      End Select
    Case Else
      DefaultIsExpression = IsSqlCall(d)
  End Select
End Function

' A call as PostgreSQL writes one, its name right before its "(" ("now()",
' "nextval('s'::regclass)"), or one of SQL's words for the current time or user.
Function IsSqlCall(ByVal s)
  Dim re
  Set re = New RegExp
  re.IgnoreCase = True
  re.Pattern = "^([a-z_][a-z0-9_.""]*\(.*\)|current_date|current_time|current_timestamp|localtime|localtimestamp|current_user|session_user|user)$"
  IsSqlCall = re.Test(s)
End Function

' Whether a field's default is put into the add form.
Function FormShowsDefault(ByVal fld)
  FormShowsDefault = (fld.FldDefault & "" <> "") And Not DefaultIsExpression(fld)
End Function

' The ASP expression of whether a form's input is marked required for the browser. An edit form
' whose row holds no value (a blank text in a NOT NULL column) must still be sent as it is.
Function RequiredExpr(ByVal fld, ByVal sMode)
  RequiredExpr = CStr(FormRequires(fld, sMode))
  If sMode = "edit" And FormRequires(fld, sMode) Then RequiredExpr = "(Trim(" & fld.FldVar & " & """") <> """")"
End Function

' Whether a form asks for a value: not on the add form when the database fills the field.
Function FormRequires(ByVal fld, ByVal sMode)
  FormRequires = IsOn(fld.FldRequired)
  If sMode = "add" And FormRequires Then FormRequires = Not DefaultIsExpression(fld)
End Function
