;; •`‰æ
(defun •`‚­ (p)
  (mapcar 'scale-pt (list p))
  (princ *count*)
)

;| Žg‚í‚ê‚Ä‚¢‚È‚¢ŒÃ‚¢’è‹`
(defun hidden () (princ))
|;

(defun orphan () nil)
