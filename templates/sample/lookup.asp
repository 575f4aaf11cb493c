<%
' Values of <!--##=CommentText(SiteTitle())##--> shown by the label of another table's record. A form offers a
' small lookup table as a list; a large one (more rows than vsLookupListMax) is a box for the key
' with the label shown beside it, so that no page reads a whole large table. Pages that only show
' values read the labels of the values they show, one query a value a request.
Const vsLookupListMax = 100
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
%>
