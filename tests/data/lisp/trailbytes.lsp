;| İ’èƒ|; (defun in-block (a) a)
|;
(defun list-hyo (/ s)
  (setq s "ˆê——•\")
  (princ s))
(defun after (x) x)
(princ "end")
