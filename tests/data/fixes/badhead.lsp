(defun ok () (setq a 1))
(defun odd (a ; ˆø”
            / b)
  (setq c 1))
