;;; eglot.el --- drives quodle-cli lsp from Emacs's eglot  -*- lexical-binding: t -*-
;; Opens the Shift-JIS file $LSP_FILE, waits for its diagnostics, asks for
;; hovers and a definition at $LSP_HOVER and $LSP_DEFINITION ("line:col",
;; 0-based characters) and for the references and the fixes there, applies
;; the first fix, and writes what came back to $LSP_OUT, in the lines the
;; Neovim script writes.
; Debian installs eglot and its companions as packages of the system's
;; site-lisp; -Q leaves them off the load path.
(dolist (dir (file-expand-wildcards "/usr/share/emacs/site-lisp/elpa/*"))
  (add-to-list 'load-path dir))
(require 'eglot)
(require 'seq)
(setq eglot-sync-connect t eglot-autoshutdown t)
(let* ((out '())
       (put (lambda (line) (push line out)))
       (place (lambda (at)
                (let ((parts (mapcar #'string-to-number (split-string at ":"))))
                  (goto-char (point-min))
                  (forward-line (nth 0 parts))
                  (forward-char (nth 1 parts)))))
       (column (lambda (pos) (save-excursion (goto-char pos) (- pos (line-beginning-position)))))
       (oneline (lambda (text) (replace-regexp-in-string "\n" "|" text))))
  (define-derived-mode quodle-lisp-mode prog-mode "AutoLISP")
  (add-to-list 'eglot-server-programs `(quodle-lisp-mode ,(getenv "QUODLE_CLI") "lsp"))
  (let ((coding-system-for-read 'cp932-dos))
    (find-file (getenv "LSP_FILE")))
  (quodle-lisp-mode)
  (apply #'eglot (eglot--guess-contact))
  (let ((deadline (+ (float-time) 20)))
    (while (and (< (float-time) deadline) (null (flymake-diagnostics)))
      (accept-process-output nil 0.05)))
  (let ((diagnostics (sort (flymake-diagnostics)
                           (lambda (a b)
                             (or (< (flymake-diagnostic-beg a) (flymake-diagnostic-beg b))
                                 (and (= (flymake-diagnostic-beg a) (flymake-diagnostic-beg b))
                                      (string< (flymake-diagnostic-text a) (flymake-diagnostic-text b))))))))
    (unless diagnostics (funcall put "no diagnostics"))
    (dolist (d diagnostics)
      (let ((beg (flymake-diagnostic-beg d)))
        (funcall put (format "diagnostic %d:%d %s" (1- (line-number-at-pos beg)) (funcall column beg)
                             ;; "quodle [code]: message" as "code message"
                             (replace-regexp-in-string "\\`quodle \\[\\([^]]*\\)\\]: " "\\1 "
                                                       (funcall oneline (flymake-diagnostic-text d))))))))
  (let ((server (eglot-current-server)))
    (dolist (at (split-string (getenv "LSP_HOVER")))
      (funcall place at)
      (let ((hover (jsonrpc-request server :textDocument/hover (eglot--TextDocumentPositionParams))))
        (funcall put (if hover
                         (concat "hover " (funcall oneline (plist-get (plist-get hover :contents) :value)))
                       "hover none"))))
    (funcall place (getenv "LSP_DEFINITION"))
    (let ((found (jsonrpc-request server :textDocument/definition (eglot--TextDocumentPositionParams))))
      (seq-doseq (l found)
        (let ((start (plist-get (plist-get l :range) :start)))
          (funcall put (format "definition %s %d:%d" (file-name-nondirectory (eglot--uri-to-path (plist-get l :uri)))
                               (plist-get start :line) (plist-get start :character))))))
    ;; The calls of the function there, and its definition.
    (seq-doseq (l (jsonrpc-request server :textDocument/references
                                   (append (eglot--TextDocumentPositionParams)
                                           (list :context (list :includeDeclaration t)))))
      (let ((start (plist-get (plist-get l :range) :start)))
        (funcall put (format "reference %s %d:%d" (file-name-nondirectory (eglot--uri-to-path (plist-get l :uri)))
                             (plist-get start :line) (plist-get start :character)))))
    ;; The fixes offered there, and line 1 once the first is applied.
    (let* ((pos (eglot--pos-to-lsp-position))
           (fixes (jsonrpc-request server :textDocument/codeAction
                                   (list :textDocument (eglot--TextDocumentIdentifier)
                                         :range (list :start pos :end pos)
                                         :context (list :diagnostics [])))))
      (seq-doseq (a fixes) (funcall put (concat "action " (plist-get a :title))))
      (when (> (length fixes) 0)
        (eglot--apply-workspace-edit (plist-get (aref fixes 0) :edit))
        (funcall put (concat "fixed " (save-excursion
                                         (goto-char (point-min))
                                         (forward-line 1)
                                         (buffer-substring-no-properties (line-beginning-position)
                                                                         (line-end-position))))))))
  (with-temp-file (getenv "LSP_OUT")
    (setq buffer-file-coding-system 'utf-8-unix)
    (insert (mapconcat #'identity (nreverse out) "\n") "\n"))
  (kill-emacs 0))
