' User code of the AboutPage extension, loaded with the template set's own user code.

' Text made safe for HTML.
Function AboutPage_Html(ByVal s)
  s = Replace(s & "", "&", "&amp;")
  s = Replace(s, "<", "&lt;")
  s = Replace(s, ">", "&gt;")
  AboutPage_Html = Replace(s, """", "&quot;")
End Function

' A project-level setting of the extension as text.
Function AboutPage_Setting(ByVal name)
  AboutPage_Setting = PROJ.GetExtProjAtt("AboutPage", name) & ""
End Function
