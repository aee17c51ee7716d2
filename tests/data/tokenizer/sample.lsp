;;; Š¿š‚ÌƒRƒƒ“ƒg
(defun c:test (/ pt)
	(setq pt '(12.5 1e3 -2))
  (princ "•\¦\"OK\"") ; Š®—¹
;| ƒuƒƒbƒN
   (setq x "no string") ;
|; (vl-load-com) ¶Å
http://example.com/x user@example.jp 12.x
‚Ğ‚ç‚ª‚È[@‘SŠp

"unterminated
x" (a)
(a) ‚
end(ignored)
