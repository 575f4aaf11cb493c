-- n method calls on an object (n from the first argument).
local Accumulator = {}
Accumulator.__index = Accumulator
function Accumulator.new() return setmetatable({total = 0}, Accumulator) end
function Accumulator:add(n) self.total = self.total + n end

local n = tonumber(arg[1]) or 1000000
local acc = Accumulator.new()
for i = 1, n do
  acc:add(i)
end
print(acc.total)
