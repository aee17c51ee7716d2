a
b
