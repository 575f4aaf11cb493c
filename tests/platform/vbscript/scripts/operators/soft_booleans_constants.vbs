' A Const takes part in comparisons as the literal it stands for; True and False do not.
Const MAX = 10
Const NAME_TEXT = "10"
AssertTrue "10" = MAX, "string literal against a numeric Const compares numbers"
AssertTrue "9" < MAX, "and orders them as numbers"
AssertTrue MAX = "10", "Const on the left"
Dim s
s = "10"
AssertTrue s = MAX, "a string variable against a numeric Const is read as a number"
AssertTrue NAME_TEXT = 10, "a string Const is hard-typed too"
Dim hit
hit = "none"
Select Case "10"
  Case MAX
    hit = "max"
  Case Else
    hit = "else"
End Select
AssertEqual hit, "max", "Select Case with a Const case"

AssertTrue Not ("true" = True), "a Boolean literal against a string compares text"
AssertTrue Not ("-1" = True), "-1 is not the text of True"
AssertTrue Not ("" = True), "the empty string is not True, and no type mismatch"
s = "True"
AssertTrue Not (s = True), "a string variable against True"
AssertTrue "True" = True, "the text of True"
AssertTrue CStr(False) = "False", "a Boolean against a string literal is read as its text"
Const T = True
AssertTrue Not ("true" = T), "a Boolean Const is soft as well"
