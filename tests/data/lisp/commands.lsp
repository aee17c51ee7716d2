(defun c:ONLY ()
  (defun helper () 1)
  (princ))
