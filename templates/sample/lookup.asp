<%
' Values of <!--##=CommentText(SiteTitle())##--> shown by the label of another table's record. A form offers a
' small lookup table as a list; a large one (more rows than vsLookupListMax) is a box for the key
' with the label shown beside it, so that no page reads a whole large table. A page of one record
' reads the label of each value it shows; a list reads the labels of all its rows together, one
' query a lookup field (one every vsLabelReadMax values).
Const vsLookupListMax = 100
Const vsLabelReadMax = 500
Dim vsChoiceCache, vsLabelCache

' A lookup table too large to offer as a list: what is needed to find the label of one value.
Class cLargeLookup
  Public ValueField, LabelField, Table, Kind

  Public Function Label(ByVal v)
    Label = LookupLabel(ValueField, LabelField, Table, v, Kind)
  End Function
End Class

' Choices from a lookup table: value, label, value, label, ... or, for a table of more than
' vsLookupListMax rows, a cLargeLookup. Values are of the kind sKind. Read once a request.
Function LookupChoices(ByVal sValueField, ByVal sLabelField, ByVal sTable, ByVal sKind)
  Dim rs, list, n, sKey, q, large
  sKey = sValueField & vbTab & sLabelField & vbTab & sTable
  If Not IsObject(vsChoiceCache) Then Set vsChoiceCache = Server.CreateObject("Scripting.Dictionary")
  If vsChoiceCache.Exists(sKey) Then
    If IsObject(vsChoiceCache(sKey)) Then Set LookupChoices = vsChoiceCache(sKey) Else LookupChoices = vsChoiceCache(sKey)
    Exit Function
  End If
  n = 0
  list = Array()
  Set q = NewQuery()
  ' One row more than a list holds tells that the table is too large for one.
  Set rs = q.Open(PagedSql(QName(sValueField) & ", " & QName(sLabelField), QName(sTable), QName(sLabelField) & ", " & QName(sValueField), 1, vsLookupListMax + 1))
  Do While Not rs.EOF And n \ 2 <= vsLookupListMax
    ReDim Preserve list(n + 1)
    list(n) = rs(0).Value & ""
    list(n + 1) = rs(1).Value & ""
    n = n + 2
    rs.MoveNext
  Loop
  rs.Close
  If n \ 2 > vsLookupListMax Then
    Set large = New cLargeLookup
    large.ValueField = sValueField
    large.LabelField = sLabelField
    large.Table = sTable
    large.Kind = sKind
    vsChoiceCache.Add sKey, large
    Set LookupChoices = large
  Else
    vsChoiceCache.Add sKey, list
    LookupChoices = list
  End If
End Function

' The label of a stored value among choices (a list, or a large lookup table); the value itself
' when no choice has it.
Function ChoiceLabel(ByVal aChoices, ByVal v)
  Dim i
  ChoiceLabel = v
  If IsNull(v) Then Exit Function
  If IsObject(aChoices) Then
    ChoiceLabel = aChoices.Label(v)
    Exit Function
  End If
  For i = 0 To UBound(aChoices) - 1 Step 2
    If CStr(aChoices(i)) = CStr(v) Then
      ChoiceLabel = aChoices(i + 1)
      Exit Function
    End If
  Next
End Function

' The label of one value of a lookup table, read alone unless the request has read the table's
' list; the value itself when no row has it. Values are of the kind sKind.
Function LookupLabel(ByVal sValueField, ByVal sLabelField, ByVal sTable, ByVal v, ByVal sKind)
  Dim sKey, q, rs, choices
  LookupLabel = v
  If IsNull(v) Or IsEmpty(v) Then Exit Function
  If v & "" = "" Then Exit Function
  sKey = sValueField & vbTab & sLabelField & vbTab & sTable
  If IsObject(vsChoiceCache) Then
    If vsChoiceCache.Exists(sKey) And Not IsObject(vsChoiceCache(sKey)) Then
      choices = vsChoiceCache(sKey)
      LookupLabel = ChoiceLabel(choices, v)
      Exit Function
    End If
  End If
  If Not IsObject(vsLabelCache) Then Set vsLabelCache = Server.CreateObject("Scripting.Dictionary")
  sKey = sKey & vbTab & v
  If vsLabelCache.Exists(sKey) Then
    LookupLabel = vsLabelCache(sKey)
    Exit Function
  End If
  Set q = NewQuery()
  Set rs = q.Open("SELECT " & QName(sLabelField) & " FROM " & QName(sTable) & " WHERE " & EqualTerm(q, QName(sValueField), v, sKind))
  If Not rs.EOF Then LookupLabel = rs(0).Value & ""
  rs.Close
  vsLabelCache.Add sKey, LookupLabel
End Function

' Reads the labels of the values that the rows of rs, from the current one, hold in lookup fields
' (nRows of them; 0 for all), for LookupLabel to find kept: a list of 1000 rows would otherwise
' send a query for every value it shows. aLookups holds five items a field: its column, then the
' lookup's value field, label field and table, and the values' kind. The recordset, whose rows
' the client keeps (OpenKeptRows), is then put back on the first row of the page nStart begins.
Sub ReadLabels(ByVal rs, ByVal nStart, ByVal nRows, ByVal aLookups)
  Dim nFields, i, n, v, values()
  If rs.EOF Then Exit Sub
  nFields = (UBound(aLookups) + 1) \ 5
  ReDim values(nFields - 1)
  For i = 0 To nFields - 1
    Set values(i) = Server.CreateObject("Scripting.Dictionary")
  Next
  n = 0
  Do While Not rs.EOF And (n < nRows Or nRows = 0)
    For i = 0 To nFields - 1
      v = rs(aLookups(i * 5)).Value
      If Not IsNull(v) Then
        If Not values(i).Exists(v & "") Then values(i).Add v & "", v
      End If
    Next
    n = n + 1
    rs.MoveNext
  Loop
  rs.MoveFirst
  SkipToPage rs, nStart
  For i = 0 To nFields - 1
    ReadLabelsOf aLookups(i * 5 + 1), aLookups(i * 5 + 2), aLookups(i * 5 + 3), values(i).Items, aLookups(i * 5 + 4)
  Next
End Sub

' Reads the labels of the values of one lookup into the request's labels, vsLabelReadMax values
' a query. A value the rows returned do not name exactly is left to LookupLabel, since the
' database may have matched it otherwise (without regard to case, or to trailing blanks); one
' that nothing matched is its own label, as LookupLabel gives it.
Sub ReadLabelsOf(ByVal sValueField, ByVal sLabelField, ByVal sTable, ByVal aValues, ByVal sKind)
  Dim sKey, q, rs, s, found, folded, i, nFrom, nTo, v, sText
  sKey = sValueField & vbTab & sLabelField & vbTab & sTable
  ' The request has read the table's list: LookupLabel takes its labels from there.
  If IsObject(vsChoiceCache) Then
    If vsChoiceCache.Exists(sKey) Then
      If Not IsObject(vsChoiceCache(sKey)) Then Exit Sub
    End If
  End If
  If Not IsObject(vsLabelCache) Then Set vsLabelCache = Server.CreateObject("Scripting.Dictionary")
  For nFrom = 0 To UBound(aValues) Step vsLabelReadMax
    nTo = nFrom + vsLabelReadMax - 1
    If nTo > UBound(aValues) Then nTo = UBound(aValues)
    Set q = NewQuery()
    s = ""
    For i = nFrom To nTo
      v = TypedValue(aValues(i), sKind)
      If Not IsNull(v) Then s = s & ", " & q.Param(v, sKind)
    Next
    Set found = Server.CreateObject("Scripting.Dictionary")
    Set folded = Server.CreateObject("Scripting.Dictionary")
    If s <> "" Then
      Set rs = q.Open("SELECT " & QName(sValueField) & ", " & QName(sLabelField) & " FROM " & QName(sTable) & " WHERE " & QName(sValueField) & " IN (" & Mid(s, 3) & ")")
      Do While Not rs.EOF
        sText = rs(0).Value & ""
        If Not found.Exists(sText) Then found.Add sText, rs(1).Value & ""
        sText = LCase(RTrim(sText))
        If Not folded.Exists(sText) Then folded.Add sText, True
        rs.MoveNext
      Loop
      rs.Close
    End If
    For i = nFrom To nTo
      sText = aValues(i) & ""
      If Not vsLabelCache.Exists(sKey & vbTab & sText) Then
        If found.Exists(sText) Then
          vsLabelCache.Add sKey & vbTab & sText, found(sText)
        ElseIf Not folded.Exists(LCase(RTrim(sText))) Then
          vsLabelCache.Add sKey & vbTab & sText, aValues(i)
        End If
      End If
    Next
  Next
End Sub
%>
