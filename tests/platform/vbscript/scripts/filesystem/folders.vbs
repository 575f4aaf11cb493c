' Folders through the FileSystemObject.
Dim fso, root, sub1
Set fso = CreateObject("Scripting.FileSystemObject")
root = fso.BuildPath(TempFolder, "tree")
fso.CreateFolder root
AssertTrue fso.FolderExists(root), "CreateFolder"
sub1 = fso.BuildPath(root, "one")
fso.CreateFolder sub1
fso.CreateTextFile(fso.BuildPath(root, "x.txt")).Close
fso.CreateTextFile(fso.BuildPath(root, "y.txt")).Close
Dim folder
Set folder = fso.GetFolder(root)
AssertEqual folder.Files.Count, 2, "files in the folder"
AssertEqual folder.SubFolders.Count, 1, "subfolders"
AssertEqual folder.Name, "tree", "folder name"
Dim f, names
For Each f In folder.Files
  names = names & f.Name & ";"
Next
AssertTrue InStr(names, "x.txt;") > 0 And InStr(names, "y.txt;") > 0, "For Each over Files"

On Error Resume Next
fso.CreateFolder root
AssertError 58, "creating an existing folder"
On Error GoTo 0
fso.DeleteFolder root
AssertTrue Not fso.FolderExists(root), "DeleteFolder removes the tree"
