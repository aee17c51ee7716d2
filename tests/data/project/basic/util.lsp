;; ユーティリティ (UTF-8)
(defun helper (n) (+ n 1))

(defun scale-pt (p / f)
  (setq f 2.0)
  (mapcar '(lambda (v) (* v f)) p)
)

(defun c:単独 ()
  (hidden)
  (acet-ui-status "準備")
  (princ)
)
