; 寸法線
(setq a 1)