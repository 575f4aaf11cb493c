' Scripting.Dictionary: adding, reading, removing.
Dim d
Set d = CreateObject("Scripting.Dictionary")
d.Add "a", 1
d.Add "b", "two"
AssertEqual d.Count, 2, "Count"
AssertTrue d.Exists("a"), "Exists"
AssertTrue Not d.Exists("A"), "binary comparison by default"
AssertEqual d("a"), 1, "Item is the default member"
AssertEqual d.Item("b"), "two", "Item"
d("c") = 3
AssertEqual d.Count, 3, "assigning a new key adds it"
Dim v
v = d("missing")
AssertTrue IsEmpty(v), "reading a missing key gives Empty"
AssertTrue d.Exists("missing"), "and adds the key"
d.Remove "missing"
AssertEqual d.Count, 3, "Remove"
AssertEqual Join(d.Keys, ","), "a,b,c", "Keys in insertion order"
AssertEqual d.Items()(1), "two", "Items"
d.Key("a") = "z"
AssertTrue d.Exists("z") And Not d.Exists("a"), "renaming a key"
d.Add 1, "number"
AssertTrue Not d.Exists("1"), "a number key differs from its text"
d.RemoveAll
AssertEqual d.Count, 0, "RemoveAll"

Dim t
Set t = CreateObject("Scripting.Dictionary")
t.CompareMode = vbTextCompare
t.Add "Key", 1
AssertTrue t.Exists("KEY"), "text comparison"

On Error Resume Next
t.Add "key", 2
AssertError 457, "adding an existing key"
t.Remove "nope"
AssertError 32811, "removing a missing key"
