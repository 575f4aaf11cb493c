' Validation functions built into the engine: checks of the project settings generation relies on.
'
' The script host runs every procedure of this code, in order and without arguments, before a
' generation; the first that does not return True stops it. So each procedure here is such a
' check, and there is nothing else. A failing check puts its own message in PROJ.ProjErr.

' The site is written below the destination folder; without one, output would go to the
' folder the engine happens to run in.
Function zt_ValidateDestination()
  zt_ValidateDestination = True
  If Trim(PROJ.GetV("Destination") & "") = "" Then
    PROJ.ProjErr = "Project setting 'Destination' is empty: no output folder for the site." & _
      " Generation aborted."
    zt_ValidateDestination = False
  End If
End Function

' Folders written "~\..." and the upload folder lie below the application root; without one
' they would be made at the root of the file system.
Function zt_ValidateAppRootFolder()
  Dim ctrl, folder, needed, i
  zt_ValidateAppRootFolder = True
  If Trim(PROJ.GetV("AppRootFolder") & "") <> "" Then Exit Function
  needed = ""
  If Trim(PROJ.GetV("UploadPath") & "") <> "" Then needed = "the upload folder"
  If needed = "" And IsObject(Controls) Then
    For i = 1 To Controls.Count
      Set ctrl = Controls.Item(i)
      folder = ctrl.CtrlOFolder
      If Left(folder, 2) = "~\" Or Left(folder, 2) = "~/" Then
        needed = "the folder '" & folder & "' of control '" & ctrl.CtrlID & "'"
        Exit For
      End If
    Next
  End If
  If needed <> "" Then
    PROJ.ProjErr = "Project setting 'AppRootFolder' is empty, but " & needed & _
      " lies below the application root. Generation aborted."
    zt_ValidateAppRootFolder = False
  End If
End Function

' The word of the output name pattern becomes part of every file name.
Function zt_ValidateOutputName()
  Dim nameType, word, i, c
  zt_ValidateOutputName = True
  nameType = LCase(Trim(PROJ.GetV("OutputNameType") & ""))
  If nameType <> "prefix" And nameType <> "infix" And nameType <> "suffix" Then Exit Function
  word = PROJ.GetV("OutputNameExt") & ""
  For i = 1 To Len(word)
    c = Mid(word, i, 1)
    If InStr("\/:*?""<>|", c) > 0 Or AscW(c) < 32 Then
      PROJ.ProjErr = "Project setting 'OutputNameExt' (" & word & ") holds the character '" & _
        c & "', which a file name cannot hold. Generation aborted."
      zt_ValidateOutputName = False
      Exit Function
    End If
  Next
End Function

' Page names and script variables are made from each generated table's TblVar: an empty one or
' two that differ only in case would make pages overwrite each other.
Function zt_ValidateTableVars()
  Dim tbl, seen, names, key, at
  zt_ValidateTableVars = True
  If Not IsObject(DB) Then Exit Function
  If DB Is Nothing Then Exit Function
  ' Variable names are identifiers, so "|" can separate them.
  seen = "|"
  names = Array()
  For Each tbl In DB.Tables
    If tbl.TblGen Then
      key = Trim(tbl.TblVar & "")
      If key = "" Then
        PROJ.ProjErr = "Table '" & tbl.TblName & "' has no script variable name (TblVar)." & _
          " Generation aborted."
        zt_ValidateTableVars = False
        Exit Function
      End If
      at = InStr(1, seen, "|" & key & "|", vbTextCompare)
      If at > 0 Then
        PROJ.ProjErr = "Tables '" & names(UBound(Split(Left(seen, at), "|")) - 1) & "' and '" & _
          tbl.TblName & "' have the same script variable name (" & key & ")." & _
          " Generation aborted."
        zt_ValidateTableVars = False
        Exit Function
      End If
      seen = seen & key & "|"
      ReDim Preserve names(UBound(names) + 1)
      names(UBound(names)) = tbl.TblName
    End If
  Next
End Function
