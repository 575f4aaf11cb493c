' User code of the sample template set. Name this file in the engine's options (the user code
' file) to have it loaded before any template runs: every procedure here is registered in SCRPT,
' so a template can ask SCRPT.UserModuleExist("Name") and then call it.

' Extra text for the footer of every page; the page template writes it when this exists.
Function USER_PageFooter()
  USER_PageFooter = "<span class=""generated"">Generated " & Year(Date) & "-" & _
                    Right("0" & Month(Date), 2) & "-" & Right("0" & Day(Date), 2) & "</span>"
End Function
