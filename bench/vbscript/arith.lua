-- Arithmetic loop: n iterations of integer arithmetic (n from the first argument).
local n = tonumber(arg[1]) or 10000000
local s = 0
for i = 1, n do
  s = (s + i * 3) % 1000003
end
print(s)
