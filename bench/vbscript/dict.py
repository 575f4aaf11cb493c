# 200,000 dictionary inserts, then 200,000 lookups.
d = {}
for i in range(1, 200001):
    d["key" + str(i)] = i
total = 0
for i in range(1, 200001):
    total += d["key" + str(i)]
print(len(d), total)
