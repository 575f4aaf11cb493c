# Arithmetic loop: n iterations of integer arithmetic (n from the first argument).
import sys

n = int(sys.argv[1]) if len(sys.argv) > 1 else 10000000
s = 0
for i in range(1, n + 1):
    s = (s + i * 3) % 1000003
print(s)
