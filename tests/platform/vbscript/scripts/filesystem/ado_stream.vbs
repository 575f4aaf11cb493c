' ADODB.Stream writes and reads text in a charset.
Dim fso, p, s, r
Set fso = CreateObject("Scripting.FileSystemObject")
p = fso.BuildPath(TempFolder, "u.txt")
Set s = CreateObject("ADODB.Stream")
s.Type = 2
s.Charset = "utf-8"
s.Open
s.WriteText "h" & ChrW(233) & "llo"
s.SaveToFile p, 2
s.Close
AssertEqual fso.GetFile(p).Size, 9, "UTF-8 with its byte-order mark"
Set r = CreateObject("ADODB.Stream")
r.Type = 2
r.Charset = "utf-8"
r.Open
r.LoadFromFile p
AssertEqual r.ReadText, "h" & ChrW(233) & "llo", "read back"
r.Close
