-- Replaces every number in a 1 MB text.
local text = string.rep("The quick brown fox 123 jumps over 45 lazy dogs. ", 20972)
print(#(string.gsub(text, "%d+", "#")))
