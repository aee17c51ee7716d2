;;; 図面ツール集 ― サンプル (テスト用)
;;; 表示と作図のコマンド
(vl-load-com)
(setq *tool-version* "1.2" limit 10)
(setq gb_count 0 GB_Total 0)

;;; 線を描く (始点と終点)
(defun drawline (p1 p2 / ent)
  (command "_.LINE" p1 p2 "")
  (setq lastEnt (entlast))
  (princ "\n線を描きました。")
  (princ))

;| 旧バージョン (使用しない):
(defun old-draw (a b)
  (command "_.LINE" a b ""))
|;

(defun c:DBOX (/ pt1 pt2 w h oldos)
  ;; 現在の設定を保存 (OSMODE)
  (setq oldos (getvar "OSMODE"))
  (setvar "OSMODE" 0)
  (setq pt1 (getpoint "\n基点を指示: ")
        pt2 (getcorner pt1 "\n対角を指示: "))
  (defun *error* (msg)
    (setvar "OSMODE" oldos)
    (princ (strcat "\nエラー: " msg))
    (princ))
  (drawbox pt1 pt2)
  (setvar "OSMODE" oldos)
  (princ))

(defun drawbox (a b / x y lst)
  (setq lst (list a (list (car b) (cadr a)) b (list (car a) (cadr b))))
  (foreach pt lst
    (setq count (1+ count)))
  (mapcar '(lambda (p) (princ p)) lst)
  (mapcar 'princ (list x))
  (setq label "He said \"(hi)\" ; not a comment")
  (setq 表示幅 (distance a b))
  lst)

(defun c:LAYERS (/ doc names)
  (setq doc (vla-get-ActiveDocument (vlax-get-acad-object)))
  (vlax-for lay (vla-get-Layers doc)
    (setq names (cons (vla-get-Name lay) names)))
  (setq *GLOBAL-FLAG* T GB_last nil)
  (defun helper (n / tmp)
	(setq tmp (* n 2.5e3))
	(setq result tmp)
	(list n tmp doc))
  (apply helper (list 3))
  (defun quick (v) (* v v)) (setq after 1)
  names)

(DeFun Scale2 (pts fac)
  ;| 倍率をかける (fac) |;
  (mapcar (function (lambda (p) (mapcar '* p (list fac fac)))) pts))

(defun sq (x) (defun tmpfn (y) y) (* x x))

(princ "\nツール集を読み込みました。")
(setq loadedTools (list 'drawline 'drawbox))
(princ)
