; 全角の記号（コメントの中）はそのまま
(defun c:Slip (/ pt)
  (setq pt（getpoint "\n点（全角）を指示："）)
  (princ　pt)；行末
  (setq ｎ １) ;| ブロック（
  まだコメント） |; (princ ”文字列（そのまま）")
)
