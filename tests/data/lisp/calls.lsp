;;; 呼び出し回数の確認用
(defun draw-box (p1 p2)
  (command "_.RECTANG" p1 p2))

;; 画層を設定する
(defun SetLayer (name / old)
  (setq old (getvar "CLAYER"))
  (setvar "CLAYER" name)
  old)

(defun c:BOX ( / a b)
  (defun local-msg (s) (princ s))
  (setq a (getpoint) b (getcorner a))
  (draw-box a b) (draw-box b a)
  (setlayer "外形")
  (local-msg "完了")
  (princ))

(defun unused-one (x) x)
(defun c:TWO ()
  (SETLAYER "0")
  (draw-box
    '(0 0) '(1 1))
  (princ "(draw-box)")
  (draw-box '(0 0) '(2 2)))
