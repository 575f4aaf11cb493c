# Replaces every number in a text of n fifty-character sentences (n from the first argument).
import re
import sys

n = int(sys.argv[1]) if len(sys.argv) > 1 else 20972
text = "The quick brown fox 123 jumps over 45 lazy dogs. " * n
print(len(re.sub(r"\d+", "#", text)))
