' Prepares the example shop project for the site tests:
'   vantorel run configure_shop.vbs PROJECT.vtp TEMPLATE.zip [secure]
' names the template set to generate with, turns on the page sizes and the CSV export, sets the
' largest upload and shows dates day first, gives shippers a logo kept beside the employees'
' photos, and with "secure", adds a table of users and turns on the login: users from that table with MD5-hashed passwords, the shippers refused to them,
' employees not viewed by them, and the categories listed to visitors who are not logged in.
Option Explicit

Dim proj, t, f, args, flag
Set args = WScript.Arguments
Set proj = CreateObject("vantorel4.AGP")
proj.Load args(0)
If proj.DB Is Nothing Then
  WScript.Echo "Could not load: " & proj.ProjErr
  WScript.Quit 1
End If
proj.SetV "Template", args(1)
' The list features a project can ask for: a choice of page sizes and the CSV export.
proj.SetV "RecPerPageList", "5,10,20,ALL"
proj.SetV "ExportCsv", True
' Files of up to 100000 bytes may be uploaded.
proj.DB.MaxUploadSize = 100000
' Dates shown day first: dd/mm/yyyy.
proj.SetV "defaultDateFormat", 7

Function AddField(ByVal t, ByVal sName, ByVal nType, ByVal nSize, ByVal bKey)
  Dim f
  t.Fields.Add t.TblName, sName
  Set f = t.Fields.Item(sName)
  f.FldType = nType
  f.FldSize = nSize
  f.FldSupport = True
  f.FldIsPrimaryKey = bKey
  f.LoadFldDefault
  Set AddField = f
End Function

' The employee's photo also records its type and size, in fields the upload fills in.
Set t = proj.DB.Tables.Item("Employees")
AddField t, "PhotoType", 202, 100, False
AddField t, "PhotoSize", 3, 4, False
t.Fields.Item("Photo").SetV "FileTypeFld", "PhotoType"
t.Fields.Item("Photo").SetV "FileSizeFld", "PhotoSize"

' A shipper's logo is a file of the same upload folder as the employees' photos.
Set f = AddField(proj.DB.Tables.Item("Shippers"), "Logo", 202, 255, False)
f.FldHtmlTag = "FILE"
f.SetV "FldGenerate", True
For Each flag In Array("FldList", "FldView", "FldEdit", "FldAdd")
  f.SetV flag, True
Next

If args.Count > 2 Then
  proj.DB.Tables.Add "Users"
  Set t = proj.DB.Tables.Item("Users")
  t.TblType = "TABLE"
  t.TblVar = "Users"
  t.TblCaption = "Users"
  t.TblGen = True
  t.TblList = True
  t.TblView = True
  t.TblAdd = True
  t.TblEdit = True
  t.TblDelete = True
  AddField t, "UserID", 3, 4, True
  AddField t, "LoginName", 202, 40, False
  AddField t, "Password", 202, 64, False
  t.TblKey = "UserID"
  proj.SetV "SecType", "Table"
  proj.SetV "SecTbl", "Users"
  proj.SetV "SecLoginIDFld", "LoginName"
  proj.SetV "SecPasswdFld", "Password"
  proj.SetV "MD5Password", True
  ' Rights as a sum: 1 list, 2 view, 4 add, 8 edit, 16 delete.
  proj.DB.Tables.Item("Shippers").TblSecurity = "0"
  proj.DB.Tables.Item("Categories").TblAnonymous = 3
  proj.DB.Tables.Item("Orders").TblSecurity = "3"
  ' Employees may be listed and changed, but neither viewed nor their photos downloaded.
  proj.DB.Tables.Item("Employees").TblSecurity = "13"
End If

proj.ProjErr = ""
proj.Save args(0)
If proj.ProjErr <> "" Then
  WScript.Echo "Save failed: " & proj.ProjErr
  WScript.Quit 1
End If
