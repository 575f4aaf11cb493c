-- Replaces every number in a text of n fifty-character sentences (n from the first argument).
local n = tonumber(arg[1]) or 20972
local text = string.rep("The quick brown fox 123 jumps over 45 lazy dogs. ", n)
print(#(string.gsub(text, "%d+", "#")))
