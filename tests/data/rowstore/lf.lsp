(defun c:hello ()
  (princ "hi")
)
