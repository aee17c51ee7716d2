(setq 幅（mm） 10)
(princ "（全角括弧）")
