' Builds the example "shop" project through the automation object model and saves it as a
' project file, ready for the bundled template set:
'
'   vantorel run examples/shop/shop.vbs [path of the project file]
'
' Without an argument the file is shop.vtp beside this script. The model is made by hand: eight
' tables with their keys, two views, a report, a master/detail link between orders and their
' lines, lookups, search fields and menus. The site reaches the data through the ODBC data
' source "shop". The sample extension "AboutPage" adds an about page to the site.
Option Explicit

' Field types (ADO data type codes).
Const adInteger = 3
Const adCurrency = 6
Const adBoolean = 11
Const adDate = 135
Const adVarWChar = 202
Const adLongVarWChar = 203
Const adLongVarBinary = 205

Dim gDB

' A table, view or report: kind "TABLE", "VIEW", "CUSTOMVIEW" or "REPORT".
Function AddTable(ByVal sName, ByVal sKind, ByVal sCaption)
  Dim t
  gDB.Tables.Add sName
  Set t = gDB.Tables.Item(sName)
  t.TblType = sKind
  t.TblVar = Replace(sName, " ", "_")
  t.TblCaption = sCaption
  t.TblGen = True
  t.TblList = True
  t.TblView = True
  t.TblRecPerPage = 10
  ' Its definition is in the model, as a database load would have left it.
  t.TblLoaded = True
  If sKind = "TABLE" Then
    t.TblAdd = True
    t.TblEdit = True
    t.TblDelete = True
  End If
  Set AddTable = t
End Function

' A field with its type; the engine gives it the settings that suit the type.
Function AddField(ByVal t, ByVal sName, ByVal nType, ByVal nSize, ByVal bKey, ByVal bAuto)
  Dim f
  t.Fields.Add t.TblName, sName
  Set f = t.Fields.Item(sName)
  f.FldType = nType
  f.FldSize = nSize
  f.FldSupport = True
  f.FldIsPrimaryKey = bKey
  f.FldAutoIncrement = bAuto
  f.FldReq = bKey
  If nType = adVarWChar Or nType = adLongVarWChar Or nType = adDate Then
    f.FldQuoteS = "'"
    f.FldQuoteE = "'"
  End If
  f.LoadFldDefault
  Set AddField = f
End Function

' Makes a field a drop-down list of another table's records.
Sub Lookup(ByVal f, ByVal sTable, ByVal sValueField, ByVal sDisplayField)
  f.FldHtmlTag = "SELECT"
  f.FldSelectType = "Table"
  f.SetV "FldTagLnkTbl", sTable
  f.SetV "FldTagLnkFld", sValueField
  f.SetV "FldTagLnkDisplay", sDisplayField
  f.FldBasicSearch = False
End Sub

Sub Searchable(ByVal f, ByVal sOperator)
  f.FldSearch = True
  f.FldSrchOpr = sOperator
End Sub

Sub BuildShop()
  Dim t, f

  Set t = AddTable("Categories", "TABLE", "Categories")
  AddField t, "CategoryID", adInteger, 4, True, True
  AddField t, "CategoryName", adVarWChar, 50, False, False
  AddField t, "Description", adLongVarWChar, 0, False, False
  t.TblKey = "CategoryID"

  Set t = AddTable("Suppliers", "TABLE", "Suppliers")
  AddField t, "SupplierID", adInteger, 4, True, True
  AddField t, "CompanyName", adVarWChar, 60, False, False
  AddField t, "ContactName", adVarWChar, 40, False, False
  AddField t, "Phone", adVarWChar, 24, False, False
  AddField t, "Email", adVarWChar, 80, False, False
  t.TblKey = "SupplierID"

  Set t = AddTable("Products", "TABLE", "Products")
  AddField t, "ProductID", adInteger, 4, True, True
  Set f = AddField(t, "ProductName", adVarWChar, 60, False, False)
  f.FldRequired = True
  f.FldOrder = "ASC"
  Lookup AddField(t, "CategoryID", adInteger, 4, False, False), "Categories", "CategoryID", "CategoryName"
  Searchable t.Fields.Item("CategoryID"), "="
  Lookup AddField(t, "SupplierID", adInteger, 4, False, False), "Suppliers", "SupplierID", "CompanyName"
  Searchable AddField(t, "UnitPrice", adCurrency, 8, False, False), "BETWEEN"
  AddField t, "UnitsInStock", adInteger, 4, False, False
  AddField t, "Discontinued", adBoolean, 1, False, False
  Set f = AddField(t, "Picture", adLongVarBinary, 0, False, False)
  f.FldView = True
  t.TblKey = "ProductID"

  Set t = AddTable("Customers", "TABLE", "Customers")
  Set f = AddField(t, "CustomerID", adVarWChar, 5, True, False)
  f.FldTagSize = 5
  AddField t, "CompanyName", adVarWChar, 60, False, False
  AddField t, "ContactName", adVarWChar, 40, False, False
  Searchable AddField(t, "City", adVarWChar, 30, False, False), "STARTS WITH"
  Searchable AddField(t, "Country", adVarWChar, 30, False, False), "USER SELECT"
  AddField t, "Phone", adVarWChar, 24, False, False
  t.TblKey = "CustomerID"

  Set t = AddTable("Employees", "TABLE", "Employees")
  AddField t, "EmployeeID", adInteger, 4, True, True
  AddField t, "FirstName", adVarWChar, 30, False, False
  Set f = AddField(t, "LastName", adVarWChar, 30, False, False)
  f.FldRequired = True
  AddField t, "HireDate", adDate, 8, False, False
  AddField t, "Notes", adLongVarWChar, 0, False, False
  ' A photo uploaded into the site's upload folder; the field holds the file's name.
  Set f = AddField(t, "Photo", adVarWChar, 255, False, False)
  f.FldHtmlTag = "FILE"
  f.FldViewTag = "IMAGE"
  f.FldList = False
  t.TblKey = "EmployeeID"

  Set t = AddTable("Shippers", "TABLE", "Shippers")
  AddField t, "ShipperID", adInteger, 4, True, True
  AddField t, "CompanyName", adVarWChar, 40, False, False
  AddField t, "Phone", adVarWChar, 24, False, False
  t.TblKey = "ShipperID"

  Set t = AddTable("Orders", "TABLE", "Orders")
  AddField t, "OrderID", adInteger, 4, True, True
  Lookup AddField(t, "CustomerID", adVarWChar, 5, False, False), "Customers", "CustomerID", "CompanyName"
  Lookup AddField(t, "EmployeeID", adInteger, 4, False, False), "Employees", "EmployeeID", "LastName"
  Set f = AddField(t, "OrderDate", adDate, 8, False, False)
  f.FldOrder = "DESC"
  Searchable f, "BETWEEN"
  AddField t, "ShippedDate", adDate, 8, False, False
  Lookup AddField(t, "ShipVia", adInteger, 4, False, False), "Shippers", "ShipperID", "CompanyName"
  AddField t, "ShipCity", adVarWChar, 30, False, False
  t.TblKey = "OrderID"

  ' The lines of an order: its detail table, linked by OrderID.
  Set t = AddTable("Order Details", "TABLE", "Order Lines")
  AddField t, "OrderID", adInteger, 4, True, False
  Lookup AddField(t, "ProductID", adInteger, 4, True, False), "Products", "ProductID", "ProductName"
  AddField t, "UnitPrice", adCurrency, 8, False, False
  AddField t, "Quantity", adInteger, 4, False, False
  t.TblKey = "OrderID" & vbCrLf & "ProductID"
  t.SetV "TblMasterTbl", "Orders"
  t.SetV "TblMasterFld", "OrderID"
  t.SetV "TblDetailFld", "OrderID"

  ' A view of the products with their categories: no key, so list pages only.
  Set t = AddTable("Product List", "VIEW", "Product List")
  t.SetV "TblSQL", "SELECT p.ProductName, c.CategoryName, p.UnitPrice FROM Products p " & _
                   "JOIN Categories c ON c.CategoryID = p.CategoryID"
  AddField t, "ProductName", adVarWChar, 60, False, False
  AddField t, "CategoryName", adVarWChar, 50, False, False
  AddField t, "UnitPrice", adCurrency, 8, False, False

  ' A custom view: the value of every order.
  Set t = AddTable("OrderTotals", "CUSTOMVIEW", "Order Totals")
  t.SetV "TblSQL", "SELECT OrderID, SUM(UnitPrice * Quantity) AS Total FROM [Order Details] " & _
                   "GROUP BY OrderID"
  AddField t, "OrderID", adInteger, 4, False, False
  AddField t, "Total", adCurrency, 8, False, False

  ' A report: the stock of the products, by category.
  Set t = AddTable("Stock", "REPORT", "Stock by Category")
  t.SetV "TblRptSrc", "Products"
  Set f = AddField(t, "CategoryID", adInteger, 4, False, False)
  f.FldGroupBy = 1
  AddField t, "ProductName", adVarWChar, 60, False, False
  Set f = AddField(t, "UnitsInStock", adInteger, 4, False, False)
  f.SetV "FldRptAggSum", True
  t.SetV "TblRptShowGrandTotal", True
End Sub

Sub AddMenus(ByVal proj)
  Dim i, t, n
  n = 0
  For i = 1 To gDB.Tables.Count
    Set t = gDB.Tables.Seq(i)
    n = n + 1
    proj.MenuList.AddMenu -1, t.TblCaption, -1, "", "", 0, "", t.TblName, "Table", False, 0, True, n * 10
  Next
End Sub

' The project file reader creates the database from a file that names it, and there is no live
' database to load it from; so a first file with an empty database starts the project. The
' schema check at loading stays off: the model is made here, not read from the database.
Sub StartProject(ByVal proj, ByVal sPath)
  Dim fso, stream
  Set fso = CreateObject("Scripting.FileSystemObject")
  Set stream = fso.CreateTextFile(sPath, True)
  stream.WriteLine "<?xml version=""1.0"" encoding=""UTF-8""?>"
  stream.WriteLine "<Project Version=""4.0"" ProjName=""Shop"" AutoSync=""0"">"
  stream.WriteLine "<Database DBName=""shop"" DBType=""ODBC"" DBDBMSName=""SQLite""/>"
  stream.WriteLine "</Project>"
  stream.Close
  proj.Load sPath
End Sub

' The sample extension "AboutPage", installed beside the bundled template set, adds an about
' page: its introduction is a project setting of the extension, and each table says whether the
' page lists it and with which note.
Sub AddAboutPage(proj)
  Dim tables, i
  Dim intro
  intro = "The shop sells from a catalogue of products in categories, and keeps its " & _
          "customers' orders."
  ' Without its declaration file (it declares the title's default) the extension takes none of
  ' its settings, and the project would be saved without them: stop instead.
  If Not proj.AddExtension("AboutPage", "AboutPage.zip", "AboutPage.xml") Or _
     proj.GetExtDefault("AboutPage", "Project", "AboutTitle") = "" Then
    WScript.Echo "The extension AboutPage could not be added: its files are not in the " & _
                 "extensions folder (is the build's data folder complete?)"
    WScript.Quit 1
  End If
  proj.SetExtProjAtt "AboutPage", "AboutIntro", intro
  tables = Array("Products", "what the shop sells, with prices and stock", _
                 "Categories", "how the products are grouped", _
                 "Orders", "what customers ordered, and when")
  For i = 0 To UBound(tables) Step 2
    proj.SetExtTblAtt "AboutPage", tables(i), "AboutShow", True
    proj.SetExtTblAtt "AboutPage", tables(i), "AboutNote", tables(i + 1)
  Next
End Sub

Dim path, proj, fso
Set fso = CreateObject("Scripting.FileSystemObject")
If WScript.Arguments.Count > 0 Then
  path = WScript.Arguments(0)
Else
  path = fso.BuildPath(fso.GetParentFolderName(WScript.ScriptFullName), "shop.vtp")
End If

Set proj = CreateObject("vantorel4.AGP")
StartProject proj, path
If proj.DB Is Nothing Then
  WScript.Echo "Could not start the project: " & proj.ProjErr
  WScript.Quit 1
End If
Set gDB = proj.DB
proj.ProjName = "Shop"
proj.SetV "AppHeader", "Vantorel Shop"
proj.SetV "FooterText", "Vantorel Shop, generated from the sample template set"
' No machine's own path in the file: loading it gives the user's default template set.
proj.SetV "Template", ""
proj.SetV "DefaultLanguageFile", "lang.xml"
BuildShop
AddMenus proj
AddAboutPage proj

proj.ProjErr = ""
proj.Save path
If proj.ProjErr <> "" Then
  WScript.Echo "Save failed: " & proj.ProjErr
  WScript.Quit 1
End If
WScript.Echo "Saved " & path & " (" & gDB.Tables.Count & " tables)"
