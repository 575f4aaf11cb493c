' Names are case-insensitive; bracketed names may hold any character.
DIM MixedCase
mixedcase = 3
AssertEqual MIXEDCASE, 3, "variables ignore case"
aSSERTeQUAL 1, 1, "keywords and procedures ignore case"

Dim [two words]
[two words] = "x"
AssertEqual [two words], "x", "bracketed identifier"

Dim a_1
a_1 = 1
AssertEqual a_1, 1, "underscore and digit in a name"

Function UPPER_fn()
  upper_FN = 7
End Function
AssertEqual Upper_Fn(), 7, "function result by any case"
