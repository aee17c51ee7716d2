(defun c:Foo (a / tmp)
  (setq pt (getpoint) ss (ssget) ” 0 *g 1 GB_X 2)
  (princ a)
)
(defun bar (x
            / y
              z)
  (setq y x w 1)
)
(defun baz ()
  (setq q 1))
