<!DOCTYPE html>
<html>
<head>
<title><!--##=AboutPage_Html(AboutPage_Setting("AboutTitle"))##--></title>
</head>
<body>
<h1><!--##=AboutPage_Html(AboutPage_Setting("AboutTitle"))##--></h1>
<!--## If AboutPage_Setting("AboutIntro") <> "" Then ##-->
<p><!--##=AboutPage_Html(AboutPage_Setting("AboutIntro"))##--></p>
<!--## End If ##-->
<ul>
<!--##
  Dim aboutIndex, aboutTable
  For aboutIndex = 1 To DB.Tables.Count
    Set aboutTable = DB.Tables.Seq(aboutIndex)
    If PROJ.GetExtTblAtt("AboutPage", aboutTable.TblName, "AboutShow") = True Then
##-->
<li><b><!--##=AboutPage_Html(aboutTable.TblCaption)##--></b> <!--##=AboutPage_Html(PROJ.GetExtTblAtt("AboutPage", aboutTable.TblName, "AboutNote"))##--></li>
<!--##
    End If
  Next
##-->
</ul>
</body>
</html>
