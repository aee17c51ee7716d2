a
b

