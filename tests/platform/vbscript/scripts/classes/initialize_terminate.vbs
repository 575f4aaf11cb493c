' Class_Initialize runs at New; Class_Terminate at the last release, at once.
Dim log
Class Tracked
  Public Id
  Private Sub Class_Initialize()
    log = log & "init;"
  End Sub
  Private Sub Class_Terminate()
    log = log & "term " & Id & ";"
  End Sub
End Class

log = ""
Dim a, b
Set a = New Tracked
a.Id = 1
AssertEqual log, "init;", "Initialize at New"
Set b = a
Set a = Nothing
AssertEqual log, "init;", "still referenced"
Set b = Nothing
AssertEqual log, "init;term 1;", "Terminate at the last release"

log = ""
Sub UseLocal()
  Dim t
  Set t = New Tracked
  t.Id = 2
End Sub
UseLocal
AssertEqual log, "init;term 2;", "a local object ends with its procedure"

log = ""
Set a = New Tracked
a.Id = 3
Set a = New Tracked
AssertEqual Left(log, 15), "init;init;term ", "replacing the reference releases the old object"
