-- One million method calls on an object.
local Accumulator = {}
Accumulator.__index = Accumulator
function Accumulator.new() return setmetatable({total = 0}, Accumulator) end
function Accumulator:add(n) self.total = self.total + n end

local acc = Accumulator.new()
for i = 1, 1000000 do
  acc:add(i)
end
print(acc.total)
