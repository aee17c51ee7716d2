(setq a "b")
