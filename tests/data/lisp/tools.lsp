;;; ==================================
;;; 作図ツール集 (画層・寸法)
;;; ==================================
(vl-load-com)

;; 画層を作成する
;; 引数 : name 画層名
(defun mk-layer (name col / lay dir)
	(setq lay (tblsearch "LAYER" name))	; 既存か？
	(setq dir "C:\\temp\\")
	(if (not lay)
		(command "_.LAYER" "_N" name "_C" col name ""))
	name)

;| 古い版 (使わない) ポイント
(defun old-layer (x) (princ x))
|;
;;; コマンド : 外枠を描く
(defun c:WAKU ( / pt1 pt2 *error*)
  (defun *error* (msg)
    (princ (strcat "\nエラー: \"" msg "\""))
    (princ))
  (setq pt1 (getpoint "\n始点: ")
        pt2 (getcorner pt1 "\n終点: "))
  (foreach p (list pt1 pt2)
    (mapcar '(lambda (v) (* v 2.0)) p))
  (DEFUN Helper (a b)
    (+ a b))
  (princ))

(defun  Dist2 (p1 p2) (distance p1 p2))
;; 表示する
(defun show-msg (s / n) (alert (strcat "表示: " s)) n) ; 表示
(defun-q old-show (s) s)
(defun split-args
  (a b)
  (defun inner2 (x) x)
  (list a b))
