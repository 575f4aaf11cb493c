-- Creates and drops one million short-lived objects (count from the first argument).
local Point = {}
Point.__index = Point
function Point.new() return setmetatable({x = 0, y = 0}, Point) end
function Point:sum() return self.x + self.y end

local n = tonumber(arg[1]) or 1000000
local total = 0
for i = 1, n do
  local p = Point.new()
  p.x = i
  p.y = 1
  total = total + p:sum()
end
print(total)
