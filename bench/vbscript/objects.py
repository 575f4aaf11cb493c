# Creates and drops one million short-lived instances (count from the first argument).
import sys


class Point:
    def __init__(self):
        self.x = 0
        self.y = 0

    def sum(self):
        return self.x + self.y


n = int(sys.argv[1]) if len(sys.argv) > 1 else 1000000
total = 0
for i in range(1, n + 1):
    p = Point()
    p.x = i
    p.y = 1
    total += p.sum()
print(total)
