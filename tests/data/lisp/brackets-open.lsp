;;; 括弧の数を数える例（開き括弧が多い）
(defun c:kakko (/ pt s)
  (setq s "文字列の中の ( は数えない")
  ;| ブロックコメントの
     ( ( ( も数えない |;
  (setq pt (getpoint "\n点を指定 (Enter で終了): "))
  (princ "\"(\"")  ; 行コメントの ) も数えない
  (if pt
    (progn
      (command "_.CIRCLE" pt 10.0)
  )
  (princ)
)
(defun sub (a)
  (mapcar '(lambda (x) (* x a)) '(1 2 3)
)
