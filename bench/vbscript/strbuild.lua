-- Builds a string from n ten-character pieces (n from the first argument): table.concat.
local n = tonumber(arg[1]) or 500000
local parts = {}
for i = 1, n do
  parts[#parts + 1] = "abcdefghij"
end
print(#table.concat(parts))
