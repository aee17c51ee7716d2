a
bc
d
