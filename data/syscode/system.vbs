' System functions built into the engine: the names every compiled template relies on.
'
' A compiled template function writes its output into a StringBuilder called ztSB (a class the
' script host provides, with Append, ToString, Clear and Length), keeps its literal text in the
' array ztAr, calls zt_SetLocale and zt_LoadCurrent before its first statement and reaches the
' helpers below through SYSTEMFUNCTIONS, a cSystemFunctions object.
' Objects of the project model are visible as PROJ, DB, Controls, LANGUAGE, SCRPT, EXTS,
' MENULIST, CUSTOMSCRIPTS and FILTERS (DB is missing while no database is loaded).

' True: a template goes on after a runtime error (On Error Resume Next) instead of reporting it.
Dim bHandleTemplateError
bHandleTemplateError = False

' The indentation of the line a "~" block stands on; set by the compiled template before the
' block's value is written.
Dim zt_IndentWrk
zt_IndentWrk = ""

' The table and field the generation is working on, set by zt_LoadCurrent; Nothing outside a
' table or field.
Dim TABLE, FIELD
Set TABLE = Nothing
Set FIELD = Nothing

' Sets the locale every template runs under: generated code and numbers must read the same on
' every machine (True, not Wahr; 1.5, not 1,5).
Sub zt_SetLocale()
  SetLocale 1033
End Sub

' Makes the database's current table and that table's current field visible as TABLE and FIELD.
Sub zt_LoadCurrent()
  Dim tables, fields
  Set TABLE = Nothing
  Set FIELD = Nothing
  If Not IsObject(DB) Then Exit Sub
  If DB Is Nothing Then Exit Sub
  Set tables = DB.Tables
  If tables.curName = "" Then Exit Sub
  If Not tables.TableExist(tables.curName) Then Exit Sub
  Set TABLE = tables.Item(tables.curName)
  Set fields = TABLE.Fields
  If fields.curName = "" Then Exit Sub
  If Not fields.FieldExist(fields.curName) Then Exit Sub
  Set FIELD = fields.Item(fields.curName)
End Sub

Class cSystemFunctions
  ' The server-side include directive for a file of the generated site. sParm "virtual" (any
  ' case) makes the path relative to the site's root; anything else to the including page.
  Public Function IncludeFile(ByVal sFile, ByVal sParm)
    Dim kind
    kind = "file"
    If LCase(Trim(sParm & "")) = "virtual" Then kind = "virtual"
    IncludeFile = "<!--#include " & kind & "=""" & Replace(sFile & "", """", "") & """-->"
  End Function

  ' A VBScript string literal of the text, for generated ASP code; line breaks become vbCrLf,
  ' vbLf and vbCr.
  Public Function ScriptString(ByVal sText)
    Dim s
    s = Replace(sText & "", """", """""")
    s = Replace(s, vbCrLf, """ & vbCrLf & """)
    s = Replace(s, vbLf, """ & vbLf & """)
    s = Replace(s, vbCr, """ & vbCr & """)
    ScriptString = """" & s & """"
  End Function

  ' A JavaScript string literal of the text, in double quotes.
  Public Function JsString(ByVal sText)
    Dim s
    s = Replace(sText & "", "\", "\\")
    s = Replace(s, """", "\""")
    s = Replace(s, vbCr, "\r")
    s = Replace(s, vbLf, "\n")
    s = Replace(s, "</", "<\/")
    JsString = """" & s & """"
  End Function

  ' The text with the characters HTML gives a meaning to written as entities.
  Public Function HtmlEncode(ByVal sText)
    Dim s
    s = Replace(sText & "", "&", "&amp;")
    s = Replace(s, "<", "&lt;")
    s = Replace(s, ">", "&gt;")
    s = Replace(s, """", "&quot;")
    HtmlEncode = s
  End Function

  Public Function IIf(ByVal bCondition, ByVal vTrue, ByVal vFalse)
    If bCondition Then
      IIf = vTrue
    Else
      IIf = vFalse
    End If
  End Function

  ' Every line of the text after the first gets the indentation in front of it.
  Public Function IndentLines(ByVal sText, ByVal sIndent)
    IndentLines = Replace(sText & "", vbCrLf, vbCrLf & sIndent)
  End Function
End Class
