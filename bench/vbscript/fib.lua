-- Recursive calls: fib(n), n from the first argument.
local function fib(n)
  if n < 2 then return n end
  return fib(n - 1) + fib(n - 2)
end
print(fib(tonumber(arg[1]) or 27))
