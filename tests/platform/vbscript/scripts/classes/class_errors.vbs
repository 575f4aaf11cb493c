' Errors around objects.
Class Empty1
End Class
On Error Resume Next
Dim o, x
x = o.Anything
AssertError 424, "member of a non-object"
Set o = Nothing
x = o.Anything
AssertError 424, "member of Nothing is Object required"
Set o = New Empty1
x = o.Missing
AssertError 438, "unknown member"
Set o = New NotAClass
AssertTrue Err.Number <> 0, "New of an unknown class"
Err.Clear
