# n method calls on a class instance (n from the first argument).
import sys


class Accumulator:
    def __init__(self):
        self.total = 0

    def add(self, n):
        self.total += n


n = int(sys.argv[1]) if len(sys.argv) > 1 else 1000000
acc = Accumulator()
for i in range(1, n + 1):
    acc.add(i)
print(acc.total)
