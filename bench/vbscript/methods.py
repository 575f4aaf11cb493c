# One million method calls on a class instance.
class Accumulator:
    def __init__(self):
        self.total = 0

    def add(self, n):
        self.total += n

acc = Accumulator()
for i in range(1, 1000001):
    acc.add(i)
print(acc.total)
