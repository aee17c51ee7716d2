a
b