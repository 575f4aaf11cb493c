' Rnd and Randomize.
Dim i, r, ok
ok = True
Randomize
For i = 1 To 1000
  r = Rnd
  If r < 0 Or r >= 1 Then ok = False
Next
AssertTrue ok, "Rnd is in [0, 1)"
AssertEqual VarType(Rnd), vbSingle, "Rnd gives a Single"

Dim a, b, c
r = Rnd(-1)
Randomize 10
a = Rnd
b = Rnd
r = Rnd(-1)
Randomize 10
AssertEqual Rnd, a, "Rnd(-1) then Randomize with a seed repeats the sequence"
AssertEqual Rnd, b, "second number repeats"
c = Rnd
AssertEqual Rnd(0), c, "Rnd(0) repeats the last number"
AssertEqual Rnd(-5), Rnd(-5), "the same negative argument gives the same number"
