-- 200,000 table inserts, then 200,000 lookups.
local d, n = {}, 0
for i = 1, 200000 do
  d["key" .. i] = i
  n = n + 1
end
local total = 0
for i = 1, 200000 do
  total = total + d["key" .. i]
end
print(n .. " " .. total)
