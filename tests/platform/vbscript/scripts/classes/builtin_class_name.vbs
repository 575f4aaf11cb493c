' A script may declare a class with the name of a built-in class; New still makes the
' built-in object.
Class RegExp
  Public Pattern
  Public Function Test(text)
    Test = "script class"
  End Function
End Class

Dim re
Set re = New RegExp
AssertEqual TypeName(re), "IRegExp2", "New RegExp makes the built-in object"
re.Pattern = "a+"
AssertEqual re.Test("caat"), True, "and it matches"
re.Global = True
AssertEqual re.Replace("caat", "-"), "c-t", "with the built-in's members"
