# Allocates one list of n elements (n from the first argument) and releases it at the end.
import sys

n = int(sys.argv[1]) if len(sys.argv) > 1 else 5000000
buf = [None] * n
print(len(buf))
