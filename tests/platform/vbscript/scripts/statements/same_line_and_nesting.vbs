' Statement forms VBScript accepts that other dialects do not.
Dim x, y
Sub SetX() : x = 1 End Sub
SetX
AssertEqual x, 1, "End Sub after a statement on the same line"
Function Twice(n) : Twice = n * 2 End Function
AssertEqual Twice(4), 8, "End Function after a statement"
If x = 1 Then
  y = "one" End If
AssertEqual y, "one", "End If after a statement"
Class Box
  Public V
  Property Get Value() : Value = V End Property
End Class
Dim b
Set b = New Box
b.V = 5
AssertEqual b.Value, 5, "End Property after a statement"
With b
  .V = 6 End With
AssertEqual b.V, 6, "End With after a statement"

Select Case 2
  Case 1  y = "a"
  Case 2  y = "b"
End Select
AssertEqual y, "b", "a statement after Case values without a separator"

If x = 2 Then y = "two" Else y = "other" End If
AssertEqual y, "other", "single-line If closed by End If"
If x = 1 Then y = "yes" End If
AssertEqual y, "yes", "single-line If without Else closed by End If"
If x = 1 Then
  y = 0 End If
AssertEqual y, 0, "the block form closed the same way"
If x = 2 Then
  y = "then"
Else
  y = "else" End If
AssertEqual y, "else", "End If after a statement of the Else branch"
If x = 2 Then
  y = "then"
ElseIf x = 1 Then
  y = "elseif" End If
AssertEqual y, "elseif", "End If after a statement of an ElseIf branch"
If x = 1 Then
  If x = 2 Then y = "inner" End If
  y = y & "+outer"
End If
AssertEqual y, "elseif+outer", "a single-line If's End If inside a block closes only the inner If"
If x = 1 Then
  If x = 1 Then y = "inner"
  y = y & "+outer" End If
AssertEqual y, "inner+outer", "after a single-line If without End If, it closes the block"

If True Then
  Sub InsideIf()
    y = "inner"
  End Sub
  Class InsideClass
    Public W
  End Class
End If
InsideIf
AssertEqual y, "inner", "a Sub declared inside a block is global"
Dim ic
Set ic = New InsideClass
ic.W = 3
AssertEqual ic.W, 3, "a class declared inside a block"
If False Then
  Function NeverReached()
    NeverReached = "declared all the same"
  End Function
End If
AssertEqual NeverReached(), "declared all the same", "a Function in a block not run"

Function Version()
  Version = 1
End Function
Function Version()
  Version = 2
End Function
AssertEqual Version(), 2, "the last definition wins"

Class Chain
  Public Function M()
    M = "m"
  End Function
  Public Sub S()
    y = "s"
  End Sub
End Class
Call (New Chain).S()
AssertEqual y, "s", "Call with a parenthesised object"
Function Half(n)
  Half = n / 2
End Function
y = (Half)(8)
AssertEqual y, 4, "a parenthesised callee"
Sub Store(v)
  y = v
End Sub
call (((Store))) ((9))
AssertEqual y, 9, "Call with nested parentheses around the callee and argument"

Dim property, default, step
property = 1
default = 2
step = 3
AssertEqual property + default + step, 6, "contextual words as variable names"

Class WithDefault
  Public Default Sub Run(v)
    y = "ran " & v
  End Sub
End Class
Dim wd
Set wd = New WithDefault
wd.Run 1
AssertEqual y, "ran 1", "Public Default Sub"

Class Grid
  Private cells(2, 2)
  Public Property Let Cell(r, c, v)
    cells(r, c) = v
  End Property
  Public Property Get Cell(r, c)
    Cell = cells(r, c)
  End Property
End Class
Dim g
Set g = New Grid
g.Cell(1, 2) = "x"
AssertEqual g.Cell(1, 2), "x", "Property Let with several parameters"

On Error Resume Next
ExecuteGlobal "Const Bad = 1 + 2"
AssertError 1045, "a Const takes a literal, not an expression"
ExecuteGlobal "Const Bad2 = MAXV"
AssertError 1045, "nor another constant"
ExecuteGlobal "Const Bad3 = (1)"
AssertError 1045, "nor parentheses"
ExecuteGlobal "Const Good = -1, Good2 = ""t"", Good3 = #1/2/2003#"
AssertError 0, "signed numbers, strings and dates are literals"
ExecuteGlobal "Class Twin : End Class" & vbCrLf & "Class Twin : End Class"
AssertError 1041, "a class defined twice is still a redefinition"
