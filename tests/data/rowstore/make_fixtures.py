#!/usr/bin/env python3
"""Writes the row-store load fixtures (*.lsp) and what saving them must give
(*.expected: every break made the file's first one — CR LF when there is
none — and the bytes from a Ctrl+Z on written back as they stand, unless
they are only the old end-of-file mark: a lone Ctrl+Z at the end, perhaps
followed by line breaks; UTF-8 stays UTF-8). Run from any
directory; files are written next to this script."""
import os
import re

HERE = os.path.dirname(os.path.abspath(__file__))

FIXTURES = {
    "empty": b"",
    "crlf": b"(defun c:hello ()\r\n  (princ \"hi\")\r\n)\r\n",
    "lf": b"(defun c:hello ()\n  (princ \"hi\")\n)\n",
    "cr": b"(defun c:hello ()\r  (princ \"hi\")\r)\r",
    "mixed": b"a\r\nb\nc\rd\n\re\r\n\r\nf",
    "no_final_break": b"a\r\nb",
    "only_breaks": b"\r\n\r\n\n\r\r\r\n",
    # CR as the last byte of the first 8192-byte block, LF first of the next.
    "block_boundary": b"x" * 8191 + b"\r\n" + b"y" * 8189 + b"\r" + b"\rz\r\n",
    "ctrlz": b"a\r\nb\x1ac\r\nd\r\n",
    "ctrlz_first": b"\x1aabc\r\n",
    "ctrlz_eof": b"a\r\nb\r\n\x1a",
    "ctrlz_eof_breaks": b"a\nb\x1a\r\n\n",
    "ctrlz_twice": b"a\r\n\x1a\x1a\r\n",
    "ctrlz_utf8": "寸法\n\x1a線\r\n".encode("utf-8"),
    "nul": b"a\x00b\r\n\x00\r\nc\x00\x00" + b"\x00" * 8200 + b"d\r\ne",
    # Valid double-byte text, a trail byte 0x5C ('\\'), stray and truncated
    # lead bytes, undefined bytes: every byte must survive.
    "sjis": "漢字;ソ表\r\n".encode("cp932") + b"\x80\xa0\xfd\xfe\xff\r\n\x82\r\n\x81\n\x82",
    "utf8": "; 図形を選択\n(princ \"ｶﾀｶﾅ～∵\")\n".encode("utf-8"),
    "utf8_bom": "\ufeff; 寸法線\r\n(setq a 1)".encode("utf-8"),
}


def saved(data: bytes) -> bytes:
    z = data.find(b"\x1a")
    tail = b""
    if z >= 0:
        if data[z + 1:].strip(b"\r\n"):
            tail = data[z:]
        data = data[:z]
    return text_saved(data) + tail


def text_saved(data: bytes) -> bytes:
    if not data:
        return b""
    first = re.search(b"\r\n|\r|\n", data)
    brk = first.group(0) if first else b"\r\n"
    lines = re.split(b"\r\n|\r|\n", data)
    if data[-1:] in (b"\r", b"\n"):
        lines.pop()
        return b"".join(line + brk for line in lines)
    return b"".join(line + brk for line in lines[:-1]) + lines[-1]


for name, data in FIXTURES.items():
    with open(os.path.join(HERE, name + ".lsp"), "wb") as f:
        f.write(data)
    with open(os.path.join(HERE, name + ".expected"), "wb") as f:
        f.write(saved(data))
