s = ""
for i in range(1, 400001):
    s = s + "x"
print(len(s))
