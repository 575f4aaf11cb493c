' FileSystemObject text files in the test's temporary folder.
Dim fso, p, f, t
Set fso = CreateObject("Scripting.FileSystemObject")
p = fso.BuildPath(TempFolder, "a.txt")
Set f = fso.CreateTextFile(p, True)
f.WriteLine "hello"
f.Write "world"
f.Close
AssertTrue fso.FileExists(p), "the file exists"
AssertEqual fso.GetFile(p).Size, 12, "WriteLine ends lines with CR LF"
Set t = fso.OpenTextFile(p, 1)
AssertEqual t.ReadLine, "hello", "ReadLine"
AssertTrue Not t.AtEndOfStream, "more to read"
AssertEqual t.ReadAll, "world", "ReadAll"
AssertTrue t.AtEndOfStream, "at the end"
t.Close

Set f = fso.OpenTextFile(p, 8)
f.Write "!"
f.Close
Set t = fso.OpenTextFile(p)
AssertEqual t.ReadAll, "hello" & vbCrLf & "world!", "appending"
t.Close

AssertEqual fso.GetFileName(p), "a.txt", "GetFileName"
AssertEqual fso.GetExtensionName(p), "txt", "GetExtensionName"
AssertEqual fso.GetBaseName(p), "a", "GetBaseName"
Dim q
q = fso.BuildPath(TempFolder, "b.txt")
fso.CopyFile p, q
AssertTrue fso.FileExists(q), "CopyFile"
fso.DeleteFile q
AssertTrue Not fso.FileExists(q), "DeleteFile"

On Error Resume Next
Set t = fso.OpenTextFile(fso.BuildPath(TempFolder, "missing.txt"))
AssertError 53, "opening a missing file"

On Error Resume Next
fso.CopyFile p, p
AssertError 70, "a file copied onto itself"
On Error GoTo 0
AssertEqual fso.OpenTextFile(p).ReadAll, "hello" & vbCrLf & "world!", "and left whole"

Set f = fso.CreateTextFile(q, True)
On Error Resume Next
f.Write ChrW(&H4E2D)
AssertError 5, "a character an ANSI file cannot hold"
On Error GoTo 0
f.Write "caf" & ChrW(233)
f.Close
AssertEqual fso.GetFile(q).Size, 4, "what fits is written"
fso.DeleteFile q

AssertEqual TypeName(fso.GetStandardStream(2)), "TextStream", "GetStandardStream"
On Error Resume Next
fso.GetStandardStream 3
AssertError 5, "no fourth standard stream"
