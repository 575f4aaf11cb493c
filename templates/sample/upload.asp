<%
' Files sent with a form (multipart/form-data) to the add and edit pages of <!--##=CommentText(SiteTitle())##-->.
' The post is read once from the request's bytes; Request.Form cannot be read after that, so
' these pages read every field through Posted (common.asp).

' The files this request saved, to remove again when the database refuses the record.
Dim vsSavedFiles
vsSavedFiles = ""

Class cUpload
  Private m_body    ' the request's bytes, an ADODB.Stream
  Private m_text    ' the same bytes, one character a byte, to find the parts in
  Private m_values  ' field name -> text
  Private m_files   ' field name -> Array(name sent, type sent, offset, size)

  Private Sub Class_Initialize()
    Set m_body = Nothing
    m_text = ""
    ' Names without regard to case, as Request.Form has them.
    Set m_values = Server.CreateObject("Scripting.Dictionary")
    m_values.CompareMode = 1
    Set m_files = Server.CreateObject("Scripting.Dictionary")
    m_files.CompareMode = 1
  End Sub

  ' Reads the post: "" when it was read, "toobig" when a file (or the post) is larger than
  ' nMaxFile bytes allow, "badupload" when it is no form. A post too large is not read at all.
  Public Function Load(ByVal nMaxFile)
    Dim sType, sBoundary, n, nTotal, data
    Load = "badupload"
    sType = Request.ServerVariables("CONTENT_TYPE") & ""
    n = InStr(1, sType, "boundary=", 1)
    If n = 0 Then Exit Function
    sBoundary = Mid(sType, n + 9)
    If InStr(sBoundary, ";") > 0 Then sBoundary = Left(sBoundary, InStr(sBoundary, ";") - 1)
    sBoundary = Replace(Trim(sBoundary), """", "")
    If sBoundary = "" Or Len(sBoundary) > 70 Then Exit Function
    nTotal = Request.TotalBytes
    ' Beside its files a form sends a few small fields: 64 KB is room enough for them.
    If nTotal > nMaxFile + 65536 Then
      Load = "toobig"
      Exit Function
    End If
    If nTotal <= 0 Then Exit Function
    data = Request.BinaryRead(nTotal)
    Set m_body = Server.CreateObject("ADODB.Stream")
    m_body.Type = 1
    m_body.Open
    m_body.Write data
    ' Read as ISO-8859-1, every byte is one character: positions in the text are byte offsets.
    m_body.Position = 0
    m_body.Type = 2
    m_body.Charset = "iso-8859-1"
    m_text = m_body.ReadText(-1)
    m_body.Position = 0
    m_body.Type = 1
    Load = ReadParts("--" & sBoundary, nMaxFile)
  End Function

  Private Function ReadParts(ByVal sDelimiter, ByVal nMaxFile)
    Dim nPos, nHead, nStart, nEnd, sHead, sName, sFile, nParts
    ReadParts = "badupload"
    nPos = InStr(1, m_text, sDelimiter, 0)
    If nPos = 0 Then Exit Function
    nParts = 0
    Do
      nPos = nPos + Len(sDelimiter)
      If Mid(m_text, nPos, 2) = "--" Then Exit Do
      If Mid(m_text, nPos, 2) <> vbCrLf Then Exit Function
      nHead = nPos + 2
      nStart = InStr(nHead, m_text, vbCrLf & vbCrLf, 0)
      If nStart = 0 Then Exit Function
      nEnd = InStr(nStart + 4, m_text, vbCrLf & sDelimiter, 0)
      If nEnd = 0 Then Exit Function
      nParts = nParts + 1
      If nParts > 500 Then Exit Function
      sHead = Utf8Text(nHead - 1, nStart - nHead)
      sName = HeaderParam(sHead, "name")
      sFile = HeaderParam(sHead, "filename")
      If IsNull(sName) Then Exit Function
      nStart = nStart + 4
      If IsNull(sFile) Then
        ' Repeated names are joined as Request.Form joins them.
        If m_values.Exists(sName) Then
          m_values(sName) = m_values(sName) & ", " & Utf8Text(nStart - 1, nEnd - nStart)
        Else
          m_values.Add sName, Utf8Text(nStart - 1, nEnd - nStart)
        End If
      ElseIf sFile <> "" And nEnd > nStart Then
        ' A file input left empty arrives as a part without a name and without bytes.
        If nEnd - nStart > nMaxFile Then
          ReadParts = "toobig"
          Exit Function
        End If
        If Not m_files.Exists(sName) Then m_files.Add sName, Array(sFile, HeaderValue(sHead, "content-type"), nStart - 1, nEnd - nStart)
      End If
      nPos = nEnd + 2
    Loop
    ReadParts = ""
  End Function

  ' Bytes of the post as UTF-8 text, the encoding browsers send a UTF-8 page's forms in.
  Private Function Utf8Text(ByVal nOffset, ByVal nLength)
    Dim t
    Utf8Text = ""
    If nLength <= 0 Then Exit Function
    Set t = Server.CreateObject("ADODB.Stream")
    t.Type = 1
    t.Open
    m_body.Position = nOffset
    m_body.CopyTo t, nLength
    t.Position = 0
    t.Type = 2
    t.Charset = "utf-8"
    Utf8Text = t.ReadText(-1)
    t.Close
  End Function

  ' A parameter of a part's Content-Disposition (name="..."), or Null when it has none.
  Private Function HeaderParam(ByVal sHead, ByVal sParam)
    Dim re, m
    HeaderParam = Null
    Set re = New RegExp
    re.IgnoreCase = True
    re.Pattern = ";\s*" & sParam & "=""([^""]*)"""
    Set m = re.Execute(HeaderValue(sHead, "content-disposition"))
    If m.Count > 0 Then HeaderParam = m(0).SubMatches(0)
  End Function

  Private Function HeaderValue(ByVal sHead, ByVal sName)
    Dim lines, i
    HeaderValue = ""
    lines = Split(sHead, vbCrLf)
    For i = 0 To UBound(lines)
      If LCase(Left(lines(i), Len(sName) + 1)) = sName & ":" Then
        HeaderValue = Trim(Mid(lines(i), Len(sName) + 2))
        Exit Function
      End If
    Next
  End Function

  ' A text field of the post; Empty when it did not send one.
  Public Function Value(ByVal sName)
    If m_values.Exists(sName) Then Value = m_values(sName)
  End Function

  Public Function HasFile(ByVal sName)
    HasFile = m_files.Exists(sName)
  End Function

  ' The name the visitor's file had, made safe to show and to save under.
  Public Function FileName(ByVal sName)
    FileName = SafeFileName(m_files(sName)(0))
  End Function

  ' The type the browser gave the file, when it looks like a type at all.
  Public Function FileType(ByVal sName)
    Dim re
    Set re = New RegExp
    re.Pattern = "^[a-z0-9][a-z0-9.+-]{0,49}/[a-z0-9][a-z0-9.+-]{0,49}$"
    FileType = LCase(Trim(m_files(sName)(1)))
    If Not re.Test(FileType) Then FileType = "application/octet-stream"
  End Function

  Public Function FileSize(ByVal sName)
    FileSize = m_files(sName)(3)
  End Function

  ' The file's bytes, as a binary parameter takes them.
  Public Function FileBytes(ByVal sName)
    m_body.Position = m_files(sName)(2)
    FileBytes = m_body.Read(m_files(sName)(3))
  End Function

  ' Saves the file in the site folder sFolder under its safe name, numbered when that name is
  ' taken, and gives the name it was saved under. No file already there is ever replaced.
  Public Function SaveFile(ByVal sName, ByVal sFolder)
    Dim fso, sPath, sFile, sBase, sExt, n, out
    Set fso = Server.CreateObject("Scripting.FileSystemObject")
    sPath = Server.MapPath(sFolder)
    MakeFolder fso, sPath
    sFile = FileName(sName)
    sBase = sFile
    sExt = ""
    n = InStrRev(sFile, ".")
    If n > 1 Then
      sBase = Left(sFile, n - 1)
      sExt = Mid(sFile, n)
    End If
    n = 1
    Do While fso.FileExists(fso.BuildPath(sPath, sFile))
      n = n + 1
      sFile = sBase & "_" & n & sExt
    Loop
    Set out = Server.CreateObject("ADODB.Stream")
    out.Type = 1
    out.Open
    m_body.Position = m_files(sName)(2)
    m_body.CopyTo out, m_files(sName)(3)
    out.SaveToFile fso.BuildPath(sPath, sFile), 1
    out.Close
    vsSavedFiles = vsSavedFiles & fso.BuildPath(sPath, sFile) & vbLf
    SaveFile = sFile
  End Function

  Private Sub MakeFolder(ByVal fso, ByVal sPath)
    If fso.FolderExists(sPath) Then Exit Sub
    MakeFolder fso, fso.GetParentFolderName(sPath)
    fso.CreateFolder sPath
  End Sub
End Class

' A file name that is safe to save and to serve: the last part of the name the browser sent (no
' folders), letters, digits and "-_." only, one dot, and an extension that neither the web server
' runs nor a browser shows as a page of this site; any other extension becomes part of the name,
' followed by ".bin".
Function SafeFileName(ByVal s)
  Dim i, c, code, r, n, sBase, sExt
  s = Replace(s & "", "\", "/")
  s = Mid(s, InStrRev(s, "/") + 1)
  r = ""
  For i = 1 To Len(s)
    c = Mid(s, i, 1)
    code = AscW(c)
    If code < 0 Then code = code + 65536
    If (code >= 48 And code <= 57) Or (code >= 65 And code <= 90) Or (code >= 97 And code <= 122) Or c = "-" Or c = "_" Or c = "." Then
      r = r & c
    ElseIf (code >= &HC0& And code < &H2000&) Or (code >= &H3040& And code < &HD800&) Or (code >= &HF900& And code < &HFE00&) Then
      ' Letters of other scripts; not the punctuation, symbols, direction marks and surrogates.
      r = r & c
    Else
      r = r & "_"
    End If
  Next
  n = InStrRev(r, ".")
  If n > 0 Then
    sBase = Left(r, n - 1)
    sExt = LCase(Mid(r, n + 1))
  Else
    sBase = r
    sExt = ""
  End If
  sBase = Replace(sBase, ".", "_")
  If Len(sBase) > 80 Then sBase = Left(sBase, 80)
  If sBase = "" Then sBase = "file"
  Select Case UCase(sBase)
    Case "CON", "PRN", "AUX", "NUL", "COM1", "COM2", "COM3", "COM4", "COM5", "COM6", "COM7", "COM8", "COM9", _
         "LPT1", "LPT2", "LPT3", "LPT4", "LPT5", "LPT6", "LPT7", "LPT8", "LPT9"
      sBase = "_" & sBase
  End Select
  Select Case sExt
    Case "jpg", "jpeg", "png", "gif", "webp", "bmp", "pdf", "txt", "csv", "rtf", "doc", "docx", _
         "xls", "xlsx", "ppt", "pptx", "odt", "ods", "odp", "zip", "7z", "gz", "mp3", "mp4", "wav", "ogg", "webm", "bin"
      SafeFileName = sBase & "." & sExt
    Case ""
      SafeFileName = sBase & ".bin"
    Case Else
      SafeFileName = sBase & "_" & Left(sExt, 10) & ".bin"
  End Select
End Function

' Reads a post that sends files: "" when it could be read or is no such post, else the phrase of
' what was wrong with it. After it the page reads its fields through Posted.
Function ReadUpload(ByVal nMaxFile)
  ReadUpload = ""
  If Not IsPost() Then Exit Function
  If InStr(1, Request.ServerVariables("CONTENT_TYPE") & "", "multipart/form-data", 1) <> 1 Then Exit Function
  Set vsUpload = New cUpload
  ReadUpload = vsUpload.Load(nMaxFile)
End Function

Function UploadSent(ByVal sInput)
  UploadSent = False
  If Not vsUpload Is Nothing Then UploadSent = vsUpload.HasFile(sInput)
End Function

' The columns an upload sets, and their parameters: column, "?", column, "?", ... A field whose
' form sent no file is left out, so that an edit keeps the file stored; its "remove" box stores
' Null. A text field gets the name the file was saved under in its folder; a binary one the bytes.
Function UploadColumns(ByVal q, ByVal sInput, ByVal sColumn, ByVal sKind, ByVal sFolder, ByVal sNameColumn, ByVal sTypeColumn, ByVal sSizeColumn)
  Dim list, v
  list = Array()
  If UploadSent(sInput) Then
    If sKind = "binary" Then
      v = vsUpload.FileBytes(sInput)
    Else
      ' A folder the site may not write to is the server's fault, not the visitor's: a short
      ' message, and nothing stored.
      On Error Resume Next
      v = vsUpload.SaveFile(sInput, sFolder)
      If Err.Number <> 0 Then
        On Error GoTo 0
        DropSavedFiles
        Refuse "500 Internal Server Error", "uploadfailed"
      End If
      On Error GoTo 0
    End If
    AddColumn list, q, sColumn, v, sKind
    If sNameColumn <> "" Then AddColumn list, q, sNameColumn, vsUpload.FileName(sInput), "text"
    If sTypeColumn <> "" Then AddColumn list, q, sTypeColumn, vsUpload.FileType(sInput), "text"
    If sSizeColumn <> "" Then AddColumn list, q, sSizeColumn, vsUpload.FileSize(sInput), "int"
  ElseIf IsTrueValue(Posted(sInput & "_remove")) Then
    AddColumn list, q, sColumn, Null, sKind
    If sNameColumn <> "" Then AddColumn list, q, sNameColumn, Null, "text"
    If sTypeColumn <> "" Then AddColumn list, q, sTypeColumn, Null, "text"
    If sSizeColumn <> "" Then AddColumn list, q, sSizeColumn, Null, "int"
  End If
  UploadColumns = list
End Function

Sub AddColumn(ByRef list, ByVal q, ByVal sColumn, ByVal v, ByVal sKind)
  Dim n
  n = UBound(list) + 1
  ReDim Preserve list(n + 1)
  list(n) = sColumn
  list(n + 1) = q.Param(v, sKind)
End Sub

' Removes the files this request saved: the record they belonged to was not stored.
Sub DropSavedFiles()
  Dim fso, f
  Set fso = Server.CreateObject("Scripting.FileSystemObject")
  For Each f In Split(vsSavedFiles, vbLf)
    If f <> "" Then
      If fso.FileExists(f) Then fso.DeleteFile f, True
    End If
  Next
  vsSavedFiles = ""
End Sub

' The message of a file too large.
Function TooBigMessage(ByVal nMaxFile)
  TooBigMessage = P("toobig") & " (" & P("atmost") & " " & (nMaxFile \ 1024) & " KB)."
End Function
%>
