(defun first-line (p) p)
;;; ==============================
;;; 作図ツール
;;; ==============================

;;
;; draws a box
;   in model space
(defun util (a b)
  (defun sub (x)
    (* x 2))
  (sub (+ a b)))

;; コマンド : 枠を描く
(defun c:draw ()
  (util 1 2)
  (princ))

;; 古いコメント（空行で切れる）

;; 図形を作る
;;;;;;;;
;  点1 と 点2 の間
(defun 図形作成 (点1 点2 / 距離 角度)
  (setq 距離 (distance 点1 点2)))

(defun C:Zone ( / a)
  (defun 内側 () nil)
  (princ))
(defun noargs ()
  nil)
;| ブロックコメント
(defun hidden (z) z)
|;
(DEFUN c:ZONE2 (n) (princ n))
