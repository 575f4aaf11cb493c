-- Builds a 5 MB string from 500,000 ten-character pieces: table.concat.
local parts = {}
for i = 1, 500000 do
  parts[#parts + 1] = "abcdefghij"
end
print(#table.concat(parts))
