<%
' Where <!--##=SiteTitle()##--> finds its database. Written by the first generation only, so the
' connection can be adjusted for the server without a later generation undoing it.
Const vsConnectionString = <!--##=Lit(ConnectionString())##-->
' Quotes around table and field names, and the literals of true and false.
Const vsQuoteS = <!--##=Lit(QuoteOpen())##-->
Const vsQuoteE = <!--##=Lit(QuoteClose())##-->
<!--## If UCase(DB.GetV("DBType") & "") = "ACCESS" Then ##-->
Const vsTrue = "True"
Const vsFalse = "False"
<!--## Else ##-->
Const vsTrue = "1"
Const vsFalse = "0"
<!--## End If ##-->
%>
