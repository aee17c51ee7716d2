;;; sample.lsp - Quodle のサンプル
;;; 線分を描いて画層を切り替える小さなコマンド

;| ブロックコメント
   (command "_.LINE" pt1 pt2 "")
|;

(defun c:DrawBox ( / pt1 pt2 oldLayer *error*)
  (defun *error* (msg)
    (setvar "CLAYER" oldLayer)
    (princ (strcat "\nエラー: " msg))
    (princ)
  )
  (setq oldLayer (getvar "CLAYER"))
  (setq pt1 (getpoint "\n最初の点を指定: "))
  (setq pt2 (getcorner pt1 "\n対角の点を指定: "))
  (command "_.RECTANG" pt1 pt2)
  (setvar "CLAYER" oldLayer)
  (princ "\n表示しました。")   ; 「表」の2バイト目は \ です
  (princ)
)

;; 二点間の距離を返す
(defun dist2 (a b / dx dy)
  (setq dx (- (car b) (car a))
        dy (- (cadr b) (cadr a)))
  (sqrt (+ (* dx dx) (* dy dy)))
)
