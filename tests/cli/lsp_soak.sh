#!/usr/bin/env bash
# quodle-cli lsp under a long session: 10 000 messages (open, change, hover,
# close, and a broken one now and then) end with every answer right, no
# crash and flat memory (lsp/soak.py says what it measured).
set -u
python3 "$(dirname "$0")/lsp/soak.py" "$1" 10000
