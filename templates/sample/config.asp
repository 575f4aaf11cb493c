<%
' Where <!--##=CommentText(SiteTitle())##--> finds its database. Written by the first generation only, so the
' connection can be adjusted for the server without a later generation undoing it.
Dim vsConnectionString, vsDbms, vsQuoteS, vsQuoteE
vsConnectionString = <!--##=ConnectionExpr()##-->
' The kind of database, which decides the SQL the pages write for paging, case-insensitive
' search and Booleans: "sqlite", "postgresql", "mysql", "mssql", "access" or "other".
vsDbms = <!--##=Lit(DbmsKind())##-->
' Quotes around table and field names.
vsQuoteS = <!--##=Lit(QuoteOpen())##-->
vsQuoteE = <!--##=Lit(QuoteClose())##-->
' The most rows a list shows when a visitor asks for all of them ("ALL" among the page sizes);
' a longer list shows its first rows and says so.
vsAllRowsMax = 1000
%>
