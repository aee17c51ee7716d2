;;; •Â‚¶Š‡ŒÊ‚ª‘½‚¢—á
(defun c:maru (/ e)
  (setq e (entsel "\n‰~‚ð‘I‘ð: ")))
  (princ)
)
(defun sub (lst)
  (princ ")")
  ;| ) ) ) |;
  (foreach x lst (print x))
  (princ)
)
