;;; メイン: 図形を描くコマンド
(setq *count* 0)

(defun c:メイン ( / pt)
  (setq pt (getpoint "\n点を指定: "))
  (描く pt)
  (helper 1)
  (princ "表") (drwline pt)
  (setq *count* (1+ *count*))
  (princ)
)

(defun helper (n) (* n 2))
