The login page of a site whose project asks for one, and the MD5 digest of passwords.

<!--##session login##-->
<%
' The login page; a post of the menu's logout form (with the form token) to "?action=logout" ends
' the visitor's login. A visitor sent here from a page he had no right to see returns to it after
' the login.
Dim vsLogin, vsPassword, vsBack, vsQ, vsRs, vsOk, vsAdmin, vsUserId
vsPageTitle = ReportLanguage.Phrase("login")
vsBack = SafeBack(Request.QueryString("back") & "")
CheckToken
If IsPost() And LCase(Request.QueryString("action") & "") = "logout" Then
  EndLogin
  CloseDb
  Response.Redirect <!--##=Lit(PageFile("", "", "default"))##-->
End If
If IsPost() Then
  vsLogin = Trim(Request.Form("login") & "")
  vsPassword = Request.Form("password") & ""
  vsOk = False
  vsAdmin = False
  vsUserId = ""
<!--## If SecurityType() = "static" Or SecurityType() = "both" Then ##-->
  If ProjectLogin(vsLogin, vsPassword) Then
    vsOk = True
    vsAdmin = True
  End If
<!--## End If ##-->
<!--## If SecurityType() = "table" Or SecurityType() = "both" Then ##-->
  If Not vsOk And vsLogin <> "" Then
    Set vsQ = NewQuery()
    Set vsRs = vsQ.Open("SELECT " & QName(<!--##=Lit(ProjText("SecPasswdFld", ""))##-->) & ", " & QName(<!--##=Lit(UserIdColumn())##-->) & " FROM " & QName(<!--##=Lit(ProjText("SecTbl", ""))##-->) & " WHERE " & QName(<!--##=Lit(ProjText("SecLoginIDFld", ""))##-->) & " = " & vsQ.Param(vsLogin, "text"))
    If Not vsRs.EOF Then
      vsOk = PasswordMatches(vsPassword, vsRs(0).Value & "")
      ' The id the rows of the user's own are marked with.
      If vsOk Then vsUserId = vsRs(1).Value & ""
    End If
    vsRs.Close
  End If
<!--## End If ##-->
  If vsOk Then
    StartLogin vsLogin, vsAdmin, vsUserId
    CloseDb
    Response.Redirect vsBack
  End If
  vsMessage = P("loginfailed")
End If

' Only a path of this site: one "/" first, and no control character, backslash or "//", which a
' browser may read (or clean up into) the way to another host.
Function SafeBack(ByVal s)
  Dim i, code
  SafeBack = <!--##=Lit(PageFile("", "", "default"))##-->
  If Left(s, 1) <> "/" Or InStr(s, "//") > 0 Or InStr(s, "\") > 0 Then Exit Function
  For i = 1 To Len(s)
    code = AscW(Mid(s, i, 1))
    If code >= 0 And code < 32 Or code >= 127 And code < 160 Then Exit Function
  Next
  SafeBack = s
End Function

' The login cookie, or its removal for "": named and scoped by the site's folder, so that sites
' in other folders of the host neither read nor replace it, never readable by the page's script,
' and sent over HTTPS only where the site is served so.
Sub SendLoginCookie(ByVal sKey)
  Dim s
  s = LoginCookieName() & "=" & sKey & "; path=" & SiteFolderUrl()
  If sKey = "" Then s = s & "; expires=Thu, 01 Jan 1970 00:00:00 GMT; max-age=0"
  s = s & "; HttpOnly"
  If LCase(Request.ServerVariables("HTTPS") & "") = "on" Then s = s & "; Secure"
  Response.AddHeader "Set-Cookie", s
End Sub

' The session starts afresh with the login: nothing it held before (another visitor's planted
' id, an old form token) carries over, and the browser gets a new random login cookie that the
' session must match on every page (see IsLoggedIn).
Sub StartLogin(ByVal sLogin, ByVal bAdmin, ByVal sUserId)
  Dim sLanguage, sKey
  sLanguage = Session("vs_language")
  Session.Contents.RemoveAll
  Session("vs_language") = sLanguage
  Session("vs_user") = sLogin
  Session("vs_admin") = bAdmin
  If sUserId <> "" Then Session("vs_userid") = sUserId
  Session("vs_token") = NewToken()
  sKey = NewToken() & NewToken()
  Session("vs_login") = sKey
  SendLoginCookie sKey
End Sub

' Ends the login: the session's values go, the session itself with the page, and the login
' cookie with the browser.
Sub EndLogin()
  Session.Contents.RemoveAll
  Session.Abandon
  SendLoginCookie ""
End Sub

' The password typed against the stored one: as its MD5 digest when the project stores digests,
' compared in a time that does not tell how much of it matched.
Function PasswordMatches(ByVal sTyped, ByVal sStored)
<!--## If IsOn(PROJ.GetV("MD5Password")) Then ##-->
  PasswordMatches = SameText(Md5Hex(sTyped), LCase(sStored))
<!--## ElseIf IsOn(PROJ.GetV("CaseSensitivePassword")) Then ##-->
  PasswordMatches = SameText(sTyped, sStored)
<!--## Else ##-->
  PasswordMatches = SameText(LCase(sTyped), LCase(sStored))
<!--## End If ##-->
End Function

Function ProjectLogin(ByVal sLogin, ByVal sPassword)
  ProjectLogin = False
<!--## If ProjText("SecLoginID", "") <> "" Then ##-->
  If SameText(LCase(sLogin), <!--##=Lit(LCase(ProjText("SecLoginID", "")))##-->) Then ProjectLogin = PasswordMatches(sPassword, <!--##=Lit(ProjText("SecPasswd", ""))##-->)
<!--## End If ##-->
End Function
%>
<!--##include login.asp/md5##-->
<!--##include page.asp/pagestart##-->
<h2><%= P("login") %></h2>
<form class="record" method="post" action="<!--##=PageFile("", "", "login")##-->?back=<%= Html(UrlPart(vsBack)) %>">
<%= TokenField() %>
<table class="record">
<tr><th><%= P("username") %></th><td><input type="text" name="login" value="<%= Html(vsLogin) %>" required autocomplete="username"></td></tr>
<tr><th><%= P("password") %></th><td><input type="password" name="password" required autocomplete="current-password"></td></tr>
</table>
<p class="actions"><input type="submit" value="<%= P("login") %>"></p>
</form>
<!--##include page.asp/pageend##-->
<!--##/session##-->

<!--##session md5##-->
<%
' MD5 over 32-bit words. VBScript's Long is signed, so sums are made in Double and brought back
' to the signed range; And, Or, Xor and Not work on the bits as they are.
Const vsTwo32 = 4294967296

Function Md5Unsigned(ByVal n)
  Md5Unsigned = CDbl(n)
  If Md5Unsigned < 0 Then Md5Unsigned = Md5Unsigned + vsTwo32
End Function

Function Md5Signed(ByVal d)
  d = d - Int(d / vsTwo32) * vsTwo32
  If d >= 2147483648 Then d = d - vsTwo32
  Md5Signed = CLng(d)
End Function

Function Md5Add(ByVal a, ByVal b)
  Md5Add = Md5Signed(Md5Unsigned(a) + Md5Unsigned(b))
End Function

Function Md5Rotate(ByVal x, ByVal n)
  Dim u
  u = Md5Unsigned(x)
  Md5Rotate = Md5Signed((u * (2 ^ n)) - Int(u * (2 ^ n) / vsTwo32) * vsTwo32 + Int(u / (2 ^ (32 - n))))
End Function

' The text's characters as UTF-8 byte values.
Function Md5Bytes(ByVal s)
  Dim list(), n, i, code, b
  ReDim list(Len(s) * 4 + 1)
  n = 0
  For i = 1 To Len(s)
    code = AscW(Mid(s, i, 1))
    If code < 0 Then code = code + 65536
    If code >= &HD800& And code <= &HDBFF& And i < Len(s) Then
      i = i + 1
      b = AscW(Mid(s, i, 1))
      If b < 0 Then b = b + 65536
      code = &H10000 + (code - &HD800&) * 1024 + (b - &HDC00&)
    End If
    If code < 128 Then
      list(n) = code
      n = n + 1
    ElseIf code < 2048 Then
      list(n) = &HC0 + code \ 64
      list(n + 1) = &H80 + code Mod 64
      n = n + 2
    ElseIf code < 65536 Then
      list(n) = &HE0 + code \ 4096
      list(n + 1) = &H80 + (code \ 64) Mod 64
      list(n + 2) = &H80 + code Mod 64
      n = n + 3
    Else
      list(n) = &HF0 + code \ 262144
      list(n + 1) = &H80 + (code \ 4096) Mod 64
      list(n + 2) = &H80 + (code \ 64) Mod 64
      list(n + 3) = &H80 + code Mod 64
      n = n + 4
    End If
  Next
  If n = 0 Then
    Md5Bytes = Array()
  Else
    ReDim Preserve list(n - 1)
    Md5Bytes = list
  End If
End Function

Function Md5Hex(ByVal s)
  Dim k(63)
  Dim bytes, nBytes, nWords, words(), i, j, shifts, x, a, b, c, d, aa, bb, cc, dd, f, g, t, tmp, out
  bytes = Md5Bytes(s)
  nBytes = UBound(bytes) + 1
  ' The message, a 1 bit, zeros, and its length in bits, in 16-word blocks.
  nWords = ((nBytes + 8) \ 64 + 1) * 16
  ReDim words(nWords - 1)
  For i = 0 To nWords - 1
    words(i) = 0
  Next
  For i = 0 To nBytes - 1
    words(i \ 4) = Md5Signed(Md5Unsigned(words(i \ 4)) + bytes(i) * (256 ^ (i Mod 4)))
  Next
  words(nBytes \ 4) = Md5Signed(Md5Unsigned(words(nBytes \ 4)) + &H80 * (256 ^ (nBytes Mod 4)))
  words(nWords - 2) = Md5Signed(CDbl(nBytes) * 8)
  words(nWords - 1) = Md5Signed(Int(CDbl(nBytes) * 8 / vsTwo32))
  For i = 0 To 63
    k(i) = Md5Signed(Int(Abs(Sin(i + 1)) * vsTwo32))
  Next
  shifts = Array(7, 12, 17, 22, 5, 9, 14, 20, 4, 11, 16, 23, 6, 10, 15, 21)
  a = &H67452301
  b = Md5Signed(4023233417)
  c = Md5Signed(2562383102)
  d = &H10325476
  For j = 0 To nWords - 1 Step 16
    aa = a
    bb = b
    cc = c
    dd = d
    For i = 0 To 63
      Select Case i \ 16
        Case 0
          f = (b And c) Or ((Not b) And d)
          g = i
        Case 1
          f = (d And b) Or ((Not d) And c)
          g = (5 * i + 1) Mod 16
        Case 2
          f = b Xor c Xor d
          g = (3 * i + 5) Mod 16
        Case Else
          f = c Xor (b Or (Not d))
          g = (7 * i) Mod 16
      End Select
      tmp = d
      d = c
      c = b
      t = Md5Add(Md5Add(a, f), Md5Add(k(i), words(j + g)))
      b = Md5Add(b, Md5Rotate(t, shifts((i \ 16) * 4 + i Mod 4)))
      a = tmp
    Next
    a = Md5Add(a, aa)
    b = Md5Add(b, bb)
    c = Md5Add(c, cc)
    d = Md5Add(d, dd)
  Next
  out = ""
  For Each t In Array(a, b, c, d)
    tmp = Md5Unsigned(t)
    For i = 0 To 3
      x = Int(tmp / (256 ^ i))
      x = x - Int(x / 256) * 256
      out = out & Right("0" & LCase(Hex(x)), 2)
    Next
  Next
  Md5Hex = out
End Function
%>
<!--##/session##-->
