#!/usr/bin/env python3
"""The benchmark workload generator: same bytes for the same seed, the size
asked for, valid Shift-JIS with CR LF only, brackets that balance outside
strings and comments, and a project with what its summary says it planted."""

import os
import re
import subprocess
import sys
import tempfile
import unittest

GEN = os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "..", "bench", "gen_workload.py")


def generate(*args):
    return subprocess.run([sys.executable, GEN, *args], check=True, capture_output=True, text=True).stderr


def read(path):
    with open(path, "rb") as f:
        return f.read()


def code_of(text):
    """The text with its strings and comments blanked, read as the LISP reader reads it."""
    out = []
    i, n = 0, len(text)
    while i < n:
        c = text[i]
        start = i
        if c == '"':
            i += 1
            while i < n and text[i] != '"':
                i += 2 if text[i] == "\\" else 1
        elif text.startswith(";|", i):
            end = text.find("|;", i + 2)
            i = n if end < 0 else end + 1
        elif c == ";":
            end = text.find("\n", i)
            i = n if end < 0 else end - 1
        else:
            out.append(c)
            i += 1
            continue
        out.append(" ")
        i += 1
    return "".join(out)


def bracket_depths(text):
    """Final depth and lowest depth of the brackets outside strings and comments."""
    depth = lowest = 0
    for c in code_of(text):
        if c == "(":
            depth += 1
        elif c == ")":
            depth -= 1
            lowest = min(lowest, depth)
    return depth, lowest


def definitions(text):
    return re.findall(r"^\(defun (\S+)", text, re.M)


class GeneratorTest(unittest.TestCase):
    def setUp(self):
        self.dir = tempfile.TemporaryDirectory()
        self.addCleanup(self.dir.cleanup)

    def path(self, name):
        return os.path.join(self.dir.name, name)

    def test_single_files(self):
        # Sizes around the padding's edges, a file with long lines, and one
        # too small for any form.
        for size, seed in ((0, 1), (2, 1), (3, 2), (600, 3), (4097, 4), (70000, 5), (300001, 6)):
            with self.subTest(size=size, seed=seed):
                a, b, c = self.path("a.lsp"), self.path("b.lsp"), self.path("c.lsp")
                generate("--bytes", str(size), "--seed", str(seed), "--out", a)
                generate("--bytes", str(size), "--seed", str(seed), "--out", b)
                generate("--bytes", str(size), "--seed", str(seed + 1), "--out", c)
                data = read(a)
                self.assertEqual(len(data), size)
                self.assertEqual(data, read(b))
                if size > 1000:
                    self.assertNotEqual(data, read(c))
                text = data.decode("cp932")
                self.assertEqual(data.count(b"\r\n"), data.count(b"\n"))
                self.assertEqual(data.count(b"\r\n"), data.count(b"\r"))
                self.assertFalse(data.startswith(b"\xef\xbb\xbf"))
                self.assertEqual(bracket_depths(text), (0, 0))
                if size >= 70000:
                    lines = data.split(b"\r\n")
                    self.assertGreaterEqual(sum(len(l) >= 2000 for l in lines), 3)
                    for trap in ("表", "ポ", "ｷ", ";|", "(defun c:", "(command ", '(getvar "'):
                        self.assertIn(trap, text)

    def test_unbalanced(self):
        out = self.path("u.lsp")
        generate("--mb", "0.5", "--seed", "3", "--unbalanced", "--out", out)
        data = read(out)
        self.assertEqual(len(data), 524288)
        self.assertNotEqual(bracket_depths(data.decode("cp932")), (0, 0))

    def test_project(self):
        folder = self.path("proj")
        summary = generate("--project", folder, "--files", "24", "--bytes", "400000", "--seed", "2")
        files = {}
        for top, _, names in os.walk(folder):
            for n in names:
                files[os.path.relpath(os.path.join(top, n), folder)] = read(os.path.join(top, n))
        self.assertEqual(len(files), 24)
        self.assertEqual(sum(map(len, files.values())), 400000)
        self.assertTrue(any(os.sep in p for p in files))
        self.assertTrue(any(p.endswith(".LSP") for p in files))
        texts = {p: d.decode("cp932") for p, d in files.items()}
        for p, t in texts.items():
            self.assertEqual(bracket_depths(t), (0, 0), p)
        # What the summary names is what the files hold.
        planted = dict(re.findall(r"(undefined|defined twice|never called|shared globals): ([^;]*)", summary))
        code = {p: code_of(t) for p, t in texts.items()}
        everything = "\n".join(code.values())
        where = {}
        for p, t in code.items():
            for name in definitions(t):
                where.setdefault(name, []).append(p)
        calls = lambda name: len(re.findall(r"\(" + re.escape(name) + r"[ )]", everything))
        for name in planted["undefined"].split():
            self.assertNotIn(name, where)
            self.assertGreater(calls(name), 0, name)
        twice = [t.split("(")[0] for t in planted["defined twice"].split()]
        for name in twice:
            self.assertEqual(len(where[name]), 2, name)
        self.assertEqual(sorted(n for n, ps in where.items() if len(ps) > 1), sorted(twice))
        never = planted["never called"].split()
        for name in never:
            self.assertEqual(calls(name), 0, name)
        self.assertEqual(sorted(n for n in where if not n.startswith("c:") and calls(n) == 0), sorted(never))
        for g in planted["shared globals"].split():
            setters = [p for p, t in texts.items() if re.search(r"^\(setq " + re.escape(g) + " ", t, re.M)]
            readers = [p for p, t in texts.items() if g in t and p not in setters]
            self.assertEqual(len(setters), 1, g)
            self.assertTrue(readers, g)
        # Some calls cross files.
        crossing = sum(1 for p, t in code.items() for n, ps in where.items()
                       if p not in ps and not n.startswith("c:") and ("(" + n + " ") in t)
        self.assertGreater(crossing, 24)


if __name__ == "__main__":
    unittest.main()
