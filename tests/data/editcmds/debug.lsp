;; デバッグ行のテスト
(defun c:test (/ pt 表)
	  (setq pt (getpoint "\n点を指示："))
  (princ "\n[pv1]pt=")(princ pt);DEBUG_PV1
;;  (princ "\n[pv5]表=")(princ 表);DEBUG_PV5
  (command "line" pt "") ; 後で ;DEBUG_BP を外す
  (getstring "\n[bp3]Press Enter to continue...");DEBUG_BP3
)