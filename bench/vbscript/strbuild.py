# Builds a string from n ten-character pieces (n from the first argument): list and join.
import sys

n = int(sys.argv[1]) if len(sys.argv) > 1 else 500000
parts = []
for i in range(n):
    parts.append("abcdefghij")
print(len("".join(parts)))
