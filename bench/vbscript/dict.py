# n dictionary inserts, then n lookups (n from the first argument).
import sys

n = int(sys.argv[1]) if len(sys.argv) > 1 else 200000
d = {}
for i in range(1, n + 1):
    d["key" + str(i)] = i
total = 0
for i in range(1, n + 1):
    total += d["key" + str(i)]
print(len(d), total)
