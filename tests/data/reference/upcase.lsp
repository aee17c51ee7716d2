;;; ‰æ‘w‚ğØ‚è‘Ö‚¦‚é "clayer"
(defun c:sw (/ old)
  (setq old (getvar "clayer"))
  (setvar "osmode" 0) (setvar "cmdecho" 0) ; (setvar "osmode" 1)
  (princ "•\¦ƒ\") (setvar "Clayer" "•Ç") ;| "osmode" |;
  (getvar "OSMODE")
  (getvar "osm") (getvar "osmodes")
  (setvar "CmdEcho
  (princ))