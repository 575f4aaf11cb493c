# Arithmetic loop: ten million iterations of integer arithmetic.
s = 0
for i in range(1, 10000001):
    s = (s + i * 3) % 1000003
print(s)
