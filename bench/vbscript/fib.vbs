' Recursive calls: fib(n), n from the first argument.
Function Fib(n)
  If n < 2 Then
    Fib = n
  Else
    Fib = Fib(n - 1) + Fib(n - 2)
  End If
End Function
Dim n
n = 27
If WScript.Arguments.Count > 0 Then n = CLng(WScript.Arguments(0))
WScript.Echo Fib(n)
