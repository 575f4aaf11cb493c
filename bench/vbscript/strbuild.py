# Builds a 5 MB string from 500,000 ten-character pieces: list and join.
parts = []
for i in range(500000):
    parts.append("abcdefghij")
print(len("".join(parts)))
