;;; ‚·‚×‚ÄéŒ¾Ï‚İ
(defun c:OK (/ a)
  (setq a 1)
  (princ a))
