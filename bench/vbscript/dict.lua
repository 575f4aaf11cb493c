-- n table inserts, then n lookups (n from the first argument).
local n = tonumber(arg[1]) or 200000
local d, count = {}, 0
for i = 1, n do
  d["key" .. i] = i
  count = count + 1
end
local total = 0
for i = 1, n do
  total = total + d["key" .. i]
end
print(count .. " " .. total)
