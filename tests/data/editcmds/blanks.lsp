	(setq a 1)
    (setq b 2)
         (setq c 3)
(setq d	"x")  ; ab  cd
　(princ "メ@ァ　全角")
  	  x

