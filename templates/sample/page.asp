Sections every page of the sample site is made of. Text outside the sections is not used.

<!--##session pagestart##-->
<!DOCTYPE html>
<html>
<head>
<meta charset="utf-8">
<title><%= Html(vsPageTitle) %> - <!--##=HtmlText(SiteTitle())##--></title>
<link rel="stylesheet" href="<!--##=SiteFolder("_css", "css")##-->/site.css">
<!--## If ProjText("CssStyles", "") <> "" Then ##-->
<link rel="stylesheet" href="<!--##=SiteFolder("_css", "css")##-->/project.css">
<!--## End If ##-->
<!--## If ProjText("CSS", "") <> "" Then ##-->
<link rel="stylesheet" href="<!--##=HtmlText(FileNamePart(ProjText("CSS", "")))##-->">
<!--## End If ##-->
<script src="<!--##=SiteFolder("_js", "js")##-->/site.js"></script>
</head>
<body>
<div class="header">
<img src="<!--##=SiteFolder("_images", "images")##-->/logo.svg" alt="" class="logo">
<a class="title" href="<!--##=PageFile("", "", "default")##-->"><!--##=HtmlText(SiteTitle())##--></a>
<!--## If SecurityType() <> "" Then ##-->
<span class="login"><% If IsLoggedIn() Then %><%= Html(Session("vs_user")) %> <form class="logout" method="post" action="<!--##=PageFile("", "", "login")##-->?action=logout"><%= TokenField() %><input type="submit" value="<%= P("logout") %>"></form><% Else %><a href="<!--##=PageFile("", "", "login")##-->"><%= P("login") %></a><% End If %></span>
<!--## End If ##-->
</div>
<!--#include file="<!--##=PageFile("", "", "menu")##-->"-->
<% WriteMenu %>
<div class="content">
<% If vsMessage <> "" Then Response.Write "<div class=""message"">" & vsMessage & "</div>" %>
<!--##/session##-->

<!--##session pageend##-->
</div>
<div class="footer">
<!--##=HtmlText(ProjText("FooterText", SiteTitle()))##-->
<!--## If SCRPT.UserModuleExist("USER_PageFooter") Then ##-->
<!--##=USER_PageFooter()##-->
<!--## End If ##-->
</div>
</body>
</html>
<% CloseDb %>
<!--##/session##-->

<!--##session menu##-->
<%
' The menu, written by the page that includes this file; requested alone it writes nothing.
Sub WriteMenu()
%>
<div class="menu">
<ul>
<li><a href="<!--##=PageFile("", "", "default")##-->"><%= P("home") %></a></li>
<!--##
  Dim menuItem, menuTable, menuUrl, menuIndex
  If MENULIST.Count > 0 Then
    For menuIndex = 1 To MENULIST.Count
      Set menuItem = MENULIST.Item(menuIndex)
      menuUrl = ""
      Set menuTable = Nothing
      If IsOn(menuItem.MenuShow) Then
        If IsOn(menuItem.MenuCustomUrl) Then
          menuUrl = menuItem.MenuUrl
        ElseIf LCase(menuItem.MenuType) = "table" Then
          Set menuTable = FindTable(menuItem.MenuUrl)
          If Not menuTable Is Nothing Then
            If IsOn(menuTable.TblGen) Then menuUrl = StartPage(menuTable)
          End If
        End If
      End If
      If menuUrl <> "" Then
##-->
<!--## If Not menuTable Is Nothing Then ##-->
<% If (<!--##=RightsExpr(menuTable)##--> And vsRightList) <> 0 Then %>
<!--## Else ##-->
<% If True Then %>
<!--## End If ##-->
<li class="level<!--##=menuItem.MenuLevel##-->"><a href="<!--##=HtmlText(menuUrl)##-->"><%= Html(ReportLanguage.MenuPhrase(<!--##=menuItem.MenuId##-->, "menutext", <!--##=Lit(menuItem.MenuText)##-->)) %></a></li>
<% End If %>
<!--##
      End If
    Next
  Else
    For Each menuTable In SiteTables()
##-->
<% If (<!--##=RightsExpr(menuTable)##--> And vsRightList) <> 0 Then %>
<li><a href="<!--##=StartPage(menuTable)##-->"><%= Html(ReportLanguage.TablePhrase(<!--##=Lit(LCase(menuTable.TblVar))##-->, "tblcaption", <!--##=Lit(TableCaption(menuTable))##-->)) %></a></li>
<% End If %>
<!--##
    Next
  End If
##-->
</ul>
</div>
<!--## If IsOn(PROJ.GetV("MultiLanguage")) Then ##-->
<!--##include page.asp/langchooser##-->
<!--## End If ##-->
<%
End Sub
%>
<!--##/session##-->

<!--##session langchooser##-->
<form class="language" method="get" action="<%= Html(Request.ServerVariables("SCRIPT_NAME")) %>">
<%= P("language") %>
<select name="lang" class="autosubmit">
<!--## Dim langFile ##-->
<!--## For Each langFile In LanguageFiles() ##-->
<option value="<!--##=HtmlText(langFile)##-->"<% If LCase(Session("vs_language") & "") = <!--##=Lit(LCase(langFile))##--> Then Response.Write " selected" %>><!--##=HtmlText(LanguageDesc(langFile))##--></option>
<!--## Next ##-->
</select>
<noscript><input type="submit" value="<%= P("language") %>"></noscript>
</form>
<!--##/session##-->

<!--##session home##-->
<%
vsPageTitle = ReportLanguage.Phrase("home")
%>
<!--##include page.asp/pagestart##-->
<h2><!--##=HtmlText(SiteTitle())##--></h2>
<ul class="tables">
<!--## Dim homeTable ##-->
<!--## For Each homeTable In SiteTables() ##-->
<% If (<!--##=RightsExpr(homeTable)##--> And vsRightList) <> 0 Then %>
<li><a href="<!--##=StartPage(homeTable)##-->"><%= Html(ReportLanguage.TablePhrase(<!--##=Lit(LCase(homeTable.TblVar))##-->, "tblcaption", <!--##=Lit(TableCaption(homeTable))##-->)) %></a></li>
<% End If %>
<!--## Next ##-->
</ul>
<!--##include page.asp/pageend##-->
<!--##/session##-->
