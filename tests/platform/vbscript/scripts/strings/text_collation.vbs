' vbTextCompare sorts an accented letter next to its base letter, without regard to case.
AssertEqual StrComp("é", "f", vbTextCompare), -1, "é before f"
AssertEqual StrComp("é", "f", vbBinaryCompare), 1, "by code point é comes after f"
AssertEqual StrComp("éa", "eb", vbTextCompare), -1, "the accent counts only after the letters"
AssertEqual StrComp("e", "é", vbTextCompare), -1, "then e before é"
AssertEqual StrComp("Ä", "a", vbTextCompare), 1, "Ä after a"
AssertEqual StrComp("Ärger", "Bahn", vbTextCompare), -1, "Ärger before Bahn"
AssertEqual StrComp("ABC", "abc", vbTextCompare), 0, "case is ignored"
AssertEqual StrComp("Ñu", "nz", vbTextCompare), -1, "Ñ sorts as n"
AssertEqual InStr(1, "café", "É", vbTextCompare), 4, "matching stays accent-sensitive but caseless"
AssertEqual InStr(1, "cafe", "é", vbTextCompare), 0, "e does not match é"

' Every text-mode match treats letters as StrComp does: case is ignored, accents are not, so
' É finds é but not e (Windows orders A=a < À=à < B=b and never counts À equal to A).
AssertEqual InStrRev("Éclair éclat", "É", -1, vbTextCompare), 8, "InStrRev finds é for É"
AssertEqual InStrRev("eclair", "é", -1, vbTextCompare), 0, "InStrRev: e is not é"
AssertEqual Replace("Crème CRÈME creme", "crème", "x", 1, -1, vbTextCompare), "x x creme", "Replace"
AssertEqual UBound(Split("aÀbàcAd", "à", -1, vbTextCompare)), 2, "Split at À and à, not at A"
Dim kept
kept = Filter(Array("Ärger", "ärger", "Arger"), "ÄR", True, vbTextCompare)
AssertEqual UBound(kept), 1, "Filter keeps Ä and ä"
AssertEqual kept(1), "ärger", "Filter keeps the order"
AssertEqual UBound(Filter(Array("Ärger", "Arger"), "är", False, vbTextCompare)), 0, "Filter out"
AssertEqual StrComp("ÇA", "ça", vbTextCompare), 0, "StrComp: case only"
Dim d
Set d = CreateObject("Scripting.Dictionary")
d.CompareMode = vbTextCompare
d.Add "Élan", 1
AssertTrue d.Exists("éLAN"), "Dictionary: another case is the same key"
AssertTrue Not d.Exists("elan"), "Dictionary: without the accent it is another key"
d.Add "Elan", 2
AssertEqual d.Count, 2, "two keys"
On Error Resume Next
d.Add "ÉLAN", 3
AssertError 457, "the same key in capitals"
