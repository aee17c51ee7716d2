#!/usr/bin/env python3
"""Realistic AutoLISP workloads for the benchmarks and tests.

One file of an exact size:
    gen_workload.py [--mb N | --bytes N] [--seed S] [--unbalanced] --out FILE
A folder of files that call each other:
    gen_workload.py --project DIR --files N [--mb TOTAL] [--seed S]

Files are Shift-JIS (cp932) with CR LF line breaks and no byte-order mark.
The same arguments always give the same bytes (standard library only, and
only the seeded generator's stable calls: randrange, choice, random).

What a file holds, in the mix a CAD office's library has: c: commands and
helper functions with (args / locals), local *error* handlers and nested
helpers, setq/foreach/mapcar/lambda/cond/if/while/repeat, (getvar "OSMODE")
and (command ...) calls, undeclared globals, Japanese comments and strings
(with characters whose second byte is 0x5C or 0x7C, and half-width
katakana), ;| block comments |; some holding old code, brackets inside
strings and comments, and a few lines of 2000 bytes or more. Without
--unbalanced the brackets outside strings and comments balance; with it
about one definition in 150 loses or gains a closing bracket.

A project plants, in small numbers, what a cross-file analysis should
find, and prints a one-line summary of it to standard error: calls to
functions defined nowhere, one function defined at top level in two files,
functions never called (commands aside), globals set at top level in one
file and read in another; some files lie in subfolders, some end in .LSP.
Every other function defined is called somewhere in the project.
"""

import argparse
import os
import random
import sys

MIB = 1 << 20
CRLF = "\r\n"

SYSVARS = (
    "OSMODE CMDECHO CLAYER DIMSCALE LTSCALE TEXTSIZE ORTHOMODE SNAPMODE PICKBOX "
    "FILEDIA CMDDIA ATTREQ ATTDIA LUNITS LUPREC AUNITS INSUNITS CECOLOR CELTYPE "
    "TEXTSTYLE DIMSTYLE PDMODE PDSIZE EXPERT HIGHLIGHT MIRRTEXT ANGBASE ANGDIR "
    "DWGNAME DWGPREFIX VIEWCTR VIEWSIZE EXTMIN EXTMAX LIMMIN LIMMAX USERI1 USERR1 "
    "USERS1 PEDITACCEPT NOMUTT TILEMODE CTAB CVPORT PLINEWID FILLETRAD OFFSETDIST "
    "ELEVATION THICKNESS UCSORG DIMTXT DIMASZ DIMDEC CELWEIGHT QAFLAGS REGENMODE").split()
LOCALS = (
    "pt pt1 pt2 p0 en ename ed ss i j k n cnt lst res tmp s val ang dist lay obj "
    "doc spc old oldos oldcmd oldlay sc h w x y dx dy txt fn f ln key ans sel "
    "item data blk att col lt len r e vtx hnd tbl nm bp ep mid").split()
GLOBALS = ("*g-scale*", "*g-texth*", "*kk-debug*", "*lastlay*", "gBasePt", "gCount",
           "gLayerTbl", "*usr-dir*", "gLastEnt", "*dim-style*")
BUILTIN1 = ("car cdr cadr caddr last length reverse strlen strcase itoa atoi atof fix "
            "float abs 1+ 1- sqrt sin cos null not listp numberp entget entnext "
            "sslength type vl-princ-to-string vlax-ename->vla-object vla-get-Layer "
            "read getenv findfile").split()
BUILTIN2 = ("cons nth assoc member distance angle rem max min expt ssname "
            "vl-position vl-remove append equal eq vl-string-search").split()
ARITH = ("+", "-", "*", "/")
COMPARE = ("=", "/=", "<", ">", "<=", ">=", "eq", "equal")
CAD_COMMANDS = ("_.LINE _.CIRCLE _.PLINE _.LAYER _.ERASE _.MOVE _.COPY _.ROTATE _.SCALE "
                "_.INSERT _.TEXT _.ZOOM _.UNDO _.PURGE _.OFFSET _.TRIM _.EXPLODE _.HATCH").split()
ENTITIES = ("LINE CIRCLE ARC LWPOLYLINE TEXT MTEXT INSERT DIMENSION HATCH POINT").split()
CMD_STEMS = ("LY DM TX BK PL AT SL CH ZM HT KK CP MV".split())
FN_PREFIXES = ("ut:", "kk-", "lib:", "my-", "sub:", "str:", "lst:", "get-")
NOUNS = ("pts layer split sort ang dist blk attr text mid ent sel list conv "
         "bbox vtx offset scale color ltype hatch dim title frame").split()
VERBS = ("make get set put find draw load save read check fix calc").split()

# Japanese text. 表 ソ 能 十 予 構 申 貼 end in byte 0x5C, ポ 掛 鋼 旨 倒 翻 in
# 0x7C: the places where a reader that does not know Shift-JIS goes wrong.
JA_LAYERS = ("壁", "柱", "寸法", "表示", "文字", "中心線", "隠れ線", "図枠", "ソリッド",
             "建具", "設備", "構造", "予備", "鋼材", "ﾊｯﾁﾝｸﾞ", "補助線", "ﾚｲﾔ0")
JA_WORDS = ("図形", "選択", "画層", "寸法", "文字", "表示", "設定", "変更", "作図", "基点",
            "挿入", "ブロック", "属性", "線種", "色", "尺度", "座標", "距離", "角度",
            "ソート", "処理", "完了", "能率", "十字", "予定", "構成", "申請", "貼付",
            "ポイント", "鋼材", "掛け", "旨", "倒れ", "翻訳", "ファイル", "保存", "読込",
            "一覧", "削除", "複写", "移動", "回転", "ﾃｷｽﾄ", "ﾌﾞﾛｯｸ", "件数", "初期化")
JA_PROMPTS = ("図形を選択してください: ", "基点を指示: ", "2点目を指示: ",
              "画層名を入力 <{layer}>: ", "尺度を入力 <1.0>: ", "文字の高さ <2.5>: ",
              "対象の図形がありません。", "ファイル \\\"{file}\\\" が見つかりません。",
              "表示を更新しました。", "ソートが終わりました。", "十字線の位置を指示: ",
              "{n} 個の図形を処理しました。", "中止しました。", "ﾌﾞﾛｯｸを選択: ",
              "鋼材の断面を選んでください (H/L/C) <H>: ", "\\\"{word}\\\" は使えません。")
JA_COMMENTS = ("選択セットを作る", "画層をまとめて変える", "寸法の尺度を合わせる",
               "文字の高さを調べる", "システム変数を退避して戻す", "ポリラインの頂点を返す",
               "表示を更新する", "エラー処理", "ブロックの属性値を読む", "ソート (昇順)",
               "十字線を描く", "予備 - 今は使っていない", "構造図用の初期化",
               "能率を上げるための補助関数", "鋼材リストを翻訳表から作る", "掛け算の桁を丸める")
EN_COMMENTS = ("returns the vertices of a polyline", "restore the system variables",
               "TODO: nested blocks (not yet)", "main routine", "small helper",
               "error handler", "entities on one layer", "radians <-> degrees",
               "split a string on a delimiter", "center mark (two lines)")
RETURNS = ("リスト", "nil", "実数", "文字列", "T / nil", "図形名")
THEMES = ("common", "layer", "dim", "text", "block", "plot", "draw", "attr", "util",
          "menu", "io", "select", "frame", "steel")


class Source:
    """The lines of one file, top-level form by top-level form.

    `callable` holds the user functions calls may name; `pending` the ones
    defined here that nothing has called yet (the next definition calls
    them, so every helper is used); `owed` the calls the file must make
    and `reads` the globals it must read (both planted by a project)."""

    def __init__(self, rng, unbalanced, prefixes=FN_PREFIXES, name_tag=""):
        self.r = rng
        self.unbalanced = unbalanced
        self.prefixes = prefixes
        self.tag = name_tag
        self.serial = 0
        self.callable = []
        self.pending = []
        self.owed = []
        self.reads = []
        self.indent = "  "

    # -- state a discarded form must not leave behind
    def snapshot(self):
        return (list(self.callable), list(self.pending), list(self.owed), list(self.reads))

    def restore(self, snap):
        self.callable, self.pending, self.owed, self.reads = (list(x) for x in snap)

    # -- atoms
    def number(self):
        r = self.r
        k = r.randrange(10)
        if k < 4:
            return str(r.randrange(256))
        if k < 7:
            return "%d.%d" % (r.randrange(1000), r.randrange(100))
        if k == 7:
            return "%d.%de%d" % (r.randrange(1, 10), r.randrange(10), r.randrange(-6, 7))
        if k == 8:
            return "-%d.%d" % (r.randrange(100), r.randrange(1000))
        return r.choice(("pi", "1e-6", "0.5", "(/ pi 2.0)", "(* pi 2)", "-1"))

    def string(self):
        r = self.r
        k = r.randrange(12)
        if k < 5:
            text = r.choice(JA_PROMPTS).format(
                layer=r.choice(JA_LAYERS), n=r.randrange(1, 1000), word=r.choice(LOCALS),
                file="C:\\\\CAD\\\\lisp\\\\%s%d.lsp" % (r.choice(("ut", "kk", "lib")), r.randrange(100)))
            return '"\\n%s"' % text if r.randrange(2) else '"%s"' % text
        if k < 7:
            return '"%s"' % r.choice(JA_LAYERS)
        if k == 7:
            return '"%s%s"' % (r.choice(JA_WORDS), r.choice(JA_WORDS))
        if k == 8:
            return '"%s"' % r.choice(("Yes No", "(Y/N)", "[はい(Y)/いいえ(N)]", "*", ",", "\\t",
                                      "Standard", "0", ")", "((", "a;b"))
        if k == 9:
            return '"%s%03d"' % (r.choice(("A-", "W-", "S-", "E-", "鋼-")), r.randrange(1000))
        if k == 10:
            return '"\\"%s\\" = "' % r.choice(LOCALS)
        return '"%s表"' % r.choice(JA_WORDS)  # the 0x5C byte right before the closing quote

    def quoted(self):
        r = self.r
        k = r.randrange(6)
        if k == 0:
            return "'" + r.choice(("ENAME", "PICKSET", "STR", "REAL", "INT", "LIST", "nil"))
        if k == 1:
            return "'(%s %s %s)" % (self.number(), self.number(), self.number())
        if k == 2:
            return "'((0 . \"%s\") (8 . \"%s\"))" % (r.choice(ENTITIES), r.choice(JA_LAYERS))
        if k == 3:
            return "'(%d . %s)" % (r.choice((0, 8, 10, 40, 62, 70)), self.number())
        if k == 4:
            return "'(\"%s\" \"%s\")" % (r.choice(JA_WORDS), r.choice(JA_LAYERS))
        return "'" + r.choice(LOCALS)

    def var(self, scope):
        if scope and self.r.randrange(14):
            return self.r.choice(scope)
        return self.r.choice(GLOBALS)

    def user_call(self, scope, depth):
        name, nargs = self.r.choice(self.callable)
        args = "".join(" " + self.expr(scope, depth + 1) for _ in range(nargs))
        return "(%s%s)" % (name, args)

    def expr(self, scope, depth=0):
        r = self.r
        k = r.randrange(16 if depth < 2 else 5)
        if k == 0:
            return self.number()
        if k == 1:
            return self.string()
        if k in (2, 3, 4):
            return self.var(scope)
        if k == 5:
            return '(getvar "%s")' % r.choice(SYSVARS)
        if k == 6:
            return "(%s %s)" % (r.choice(BUILTIN1), self.expr(scope, depth + 1))
        if k == 7:
            return "(%s %s %s)" % (r.choice(BUILTIN2), self.expr(scope, depth + 1), self.expr(scope, depth + 1))
        if k == 8:
            return "(%s %s %s)" % (r.choice(ARITH), self.expr(scope, depth + 1), self.number())
        if k == 9:
            return "(strcat %s %s)" % (self.string(), self.var(scope))
        if k == 10:
            return self.quoted()
        if k == 11:
            return "(polar %s %s %s)" % (self.var(scope), self.number(), self.number())
        if k == 12:
            return "(mapcar '(lambda (a) (%s a %s)) %s)" % (r.choice(ARITH), self.number(), self.var(scope))
        if k == 13 and self.callable:
            return self.user_call(scope, depth)
        if k == 14:
            return "(rtos %s 2 %d)" % (self.var(scope), r.randrange(5))
        return "(ssget %s)" % r.choice(('"X" ' + self.quoted(), '":S"', '"_W" pt1 pt2', "'((0 . \"INSERT\"))"))

    def test(self, scope):
        r = self.r
        k = r.randrange(5)
        if k == 0:
            return "(%s %s %s)" % (r.choice(COMPARE), self.var(scope), self.number())
        if k == 1:
            return "(setq %s (%s))" % (r.choice(scope or ["e"]), r.choice(("entsel", "getpoint", "entnext", "getstring T")))
        if k == 2:
            return "(and %s (%s %s))" % (self.var(scope), r.choice(BUILTIN1), self.var(scope))
        if k == 3:
            return "(not (null %s))" % self.var(scope)
        return '(wcmatch %s "*%s*")' % (self.var(scope), r.choice(JA_LAYERS))

    def eol_comment(self):
        r = self.r
        if r.randrange(8):
            return ""
        return ("\t; " + r.choice(JA_COMMENTS)) if r.randrange(3) else ("  ; " + r.choice(EN_COMMENTS))

    # -- statements: each appends lines to out, indented by level
    def block(self, out, level, scope, depth, count):
        for _ in range(count):
            self.statement(out, level, scope, depth)

    @staticmethod
    def close(out, pad):
        # A bracket after an end-of-line comment would be commented out.
        if ";" in out[-1]:
            out.append(pad + ")")
        else:
            out[-1] += ")"

    def statement(self, out, level, scope, depth):
        r = self.r
        pad = self.indent * level
        k = r.randrange(16 if depth < 3 else 7)
        v = r.choice(scope or ["e"])
        if k in (0, 1):
            if r.randrange(3):
                out.append("%s(setq %s %s)%s" % (pad, v, self.expr(scope), self.eol_comment()))
            else:
                out.append("%s(setq %s %s" % (pad, v, self.expr(scope)))
                out.append("%s      %s %s" % (pad, r.choice(scope or ["n"]), self.expr(scope)))
                out.append(pad + ")")
        elif k == 2:
            sv = r.choice(SYSVARS)
            out.append('%s(setq %s (getvar "%s"))%s' % (pad, v, sv, self.eol_comment()))
            out.append('%s(setvar "%s" %s)' % (pad, sv, r.choice(("0", "1", "15359", v))))
        elif k == 3:
            out.append("%s(%s %s)" % (pad, r.choice(("princ", "prompt", "princ")), self.string()))
        elif k == 4:
            out.append('%s(command "%s" %s %s "")' % (pad, r.choice(CAD_COMMANDS), self.var(scope), self.var(scope)))
        elif k == 5:
            out.append(("%s;; -- %s --" % (pad, r.choice(JA_COMMENTS))) if r.randrange(2)
                       else ("%s; %s (%s" % (pad, r.choice(EN_COMMENTS), "a bracket in a comment")))
        elif k == 6:
            out.append("%s(setq %s %s)" % (pad, r.choice(GLOBALS), self.expr(scope)))
        elif k == 7:
            out.append("%s(if %s" % (pad, self.test(scope)))
            if r.randrange(2):
                out.append(pad + self.indent + "(progn")
                self.block(out, level + 2, scope, depth + 1, r.randrange(1, 4))
                out.append(pad + self.indent + ")")
            else:
                self.statement(out, level + 1, scope, depth + 1)
            if r.randrange(2):
                self.statement(out, level + 1, scope, depth + 1)
            self.close(out, pad)
        elif k == 8:
            out.append(pad + "(cond")
            for _ in range(r.randrange(1, 4)):
                out.append("%s%s(%s" % (pad, self.indent, self.test(scope)))
                self.block(out, level + 2, scope, depth + 1, r.randrange(1, 3))
                self.close(out, pad + self.indent)
            out.append("%s%s(T (princ %s))" % (pad, self.indent, self.string()))
            out.append(pad + ")")
        elif k == 9:
            out.append("%s(while %s" % (pad, self.test(scope)))
            self.block(out, level + 1, scope, depth + 1, r.randrange(1, 4))
            out.append("%s(setq %s (1+ %s))" % (pad + self.indent, v, v))
            self.close(out, pad)
        elif k == 10:
            out.append("%s(repeat %s" % (pad, r.choice(("(sslength ss)", "n", "4", "(length lst)", "cnt"))))
            self.block(out, level + 1, scope, depth + 1, r.randrange(1, 3))
            self.close(out, pad)
        elif k == 11:
            x = r.choice(("x", "e", "item", "p", "s"))
            out.append("%s(foreach %s %s" % (pad, x, self.var(scope)))
            self.block(out, level + 1, scope + [x], depth + 1, r.randrange(1, 3))
            self.close(out, pad)
        elif k == 12:
            out.append("%s(setq %s" % (pad, v))
            out.append("%s  (mapcar" % pad)
            out.append("%s    '(lambda (p / q)" % pad)
            out.append("%s       (setq q (%s p %s))" % (pad, r.choice(ARITH), self.number()))
            out.append("%s       (list (car q) (cadr q) %s)" % (pad, self.number()))
            out.append("%s     )" % pad)
            out.append("%s    %s" % (pad, self.var(scope)))
            out.append("%s  )" % pad)
            out.append(pad + ")")
        elif k == 13:
            out.append("%s(vla-put-%s %s %s)" % (pad, r.choice(("Color", "Layer", "Linetype", "TextString", "Height")),
                                                 r.choice(scope or ["obj"]), self.expr(scope)))
        elif k == 14:
            out.append("%s(entmod (subst (cons 8 %s) (assoc 8 %s) %s))" % (pad, self.string(), v, v))
        else:
            out.append('%s(alert (strcat "%s \\"" %s "\\" %s"))' % (pad, r.choice(JA_WORDS), self.var(scope),
                                                                     r.choice(JA_WORDS)))

    # -- top-level forms: each returns a list of lines
    def fresh_name(self, command):
        r = self.r
        self.serial += 1
        if command:
            return "c:%s%s%d" % (r.choice(CMD_STEMS), self.tag.upper(), self.serial)
        return "%s%s%s%d" % (r.choice(self.prefixes), r.choice(VERBS) + "-" if r.randrange(2) else "",
                             r.choice(NOUNS), self.serial)

    def doc_comment(self, out, name, args):
        r = self.r
        k = r.randrange(5)
        if k == 0:
            return
        if k in (1, 2):
            rule = ";;; " + "-" * r.randrange(30, 70)
            out += [rule, ";;; %s : %s" % (name, r.choice(JA_COMMENTS))]
            if args:
                out.append(";;; 引数   : " + " ".join(args))
            out.append(";;; 戻り値 : " + r.choice(RETURNS))
            if r.randrange(2):
                out.append(";;; 更新   : 20%02d/%02d/%02d" % (r.randrange(25), r.randrange(1, 13), r.randrange(1, 29)))
            out.append(rule)
        elif k == 3:
            out += [";; " + r.choice(EN_COMMENTS), ";; usage: (%s%s)" % (name, "".join(" " + a for a in args))]
        else:
            out += [";|", "  " + r.choice(JA_COMMENTS), "  以前の版 (参考のため残す):",
                    '  (defun %s-old (/ a) (setq a (getvar "%s")) (' % (name, r.choice(SYSVARS)),
                    "  " + r.choice(EN_COMMENTS) + " |;"]

    def defun(self, command, name=None, nargs=None):
        """A definition: its lines, its name and its number of arguments."""
        r = self.r
        self.indent = r.choice(("  ", "  ", "  ", "\t", "   "))
        name = name or self.fresh_name(command)
        if nargs is None:
            nargs = 0 if command else r.randrange(4)
        args = []
        while len(args) < nargs:
            a = r.choice(LOCALS)
            if a not in args:
                args.append(a)
        locs = [x for x in (r.choice(LOCALS) for _ in range(r.randrange(1, 9))) if x not in args]
        locs = list(dict.fromkeys(locs))
        handler = command and r.randrange(2) == 0
        out = []
        self.doc_comment(out, name, args)
        out.append("(defun %s (%s/ %s)%s" % (name, "".join(a + " " for a in args),
                                             " ".join((["*error*"] if handler else []) + locs), self.eol_comment()))
        scope = args + locs
        one, two, three = self.indent, self.indent * 2, self.indent * 3
        if handler:
            out += ["%s(defun *error* (msg)" % one,
                    '%s(if (not (member msg \'("Function cancelled" "quit / exit abort" "キャンセルされました")))' % two,
                    '%s(princ (strcat "\\nエラー: " msg)))' % three,
                    '%s(setvar "OSMODE" %s)' % (two, r.choice(GLOBALS)),
                    "%s(princ))" % two]
        if r.randrange(12) == 0:
            out += ["%s(defun _sub%d (a b / c)" % (one, self.serial),
                    "%s(setq c (%s a b))" % (two, r.choice(ARITH)),
                    "%s(if (> c %s) c (- c)))" % (two, self.number()),
                    "%s(setq %s (_sub%d %s %s))" % (one, r.choice(scope or ["c"]), self.serial,
                                                    self.number(), self.var(scope))]
        if r.randrange(40) == 0:
            out += ["%s;| 一時的に止める:" % one, '%s(command "_.REGEN") (princ "(")' % one, one + "|;"]
        self.block(out, 1, scope, 0, r.randrange(2, 9))
        # Every helper nobody has called yet is called here, and one or two
        # of the calls the file owes.
        for callee, n in self.pending:
            out.append("%s(setq %s (%s%s))" % (one, r.choice(scope or ["res"]), callee,
                                              "".join(" " + self.expr(scope, 1) for _ in range(n))))
        self.pending = []
        for _ in range(min(2, len(self.owed))):
            callee, n = self.owed.pop(0)
            out.append("%s(setq %s (%s%s))" % (one, r.choice(scope or ["res"]), callee,
                                              "".join(" " + self.expr(scope, 1) for _ in range(n))))
        if self.reads:
            g = self.reads.pop(0)
            out.append("%s(if %s (princ %s))" % (one, g, g))
        out.append(one + ("(princ)" if command else r.choice(scope or ["nil"])))
        out[-1] += ")"
        if self.unbalanced and r.randrange(150) == 0:
            out[-1] = out[-1][:-1] if r.randrange(2) else out[-1] + ")"
        out.append("")
        return out, name, nargs

    def helper(self, name=None, nargs=None, called=True):
        """A helper definition, entered for calls unless `called` is false."""
        lines, name, nargs = self.defun(False, name, nargs)
        if called:
            self.pending.append((name, nargs))
            self.callable.append((name, nargs))
            if len(self.callable) > 60:
                self.callable.pop(0)
        return lines

    def long_line(self):
        """One line of 2000 bytes or more, of the four kinds old libraries have."""
        r = self.r
        k = r.randrange(4)
        if k == 0:
            pts = " ".join("(%d.%d %d.%d)" % (r.randrange(10000), r.randrange(100), r.randrange(10000), r.randrange(100))
                           for _ in range(r.randrange(160, 400)))
            return ["(setq *pts-table* '(%s))" % pts, ""]
        if k == 1:
            parts = " ".join('"%s%s "' % (r.choice(JA_WORDS), r.choice(JA_WORDS)) for _ in range(r.randrange(150, 300)))
            return ["(setq *help-text* (strcat %s))" % parts, ""]
        if k == 2:
            pts = " ".join("'(%d %d)" % (r.randrange(5000), r.randrange(5000)) for _ in range(r.randrange(200, 400)))
            return ['(command "_.PLINE" %s "")' % pts, ""]
        self.serial += 1
        body = " ".join('(setq %s (getvar "%s"))' % (r.choice(LOCALS), r.choice(SYSVARS)) for _ in range(r.randrange(70, 140)))
        return ["(defun c:SAVEVARS%s%d (/ %s) %s (princ))" % (self.tag.upper(), self.serial, " ".join(LOCALS), body), ""]

    def block_comment(self):
        r = self.r
        lines = [";|", "  " + r.choice(JA_COMMENTS) + "  (" + r.choice(EN_COMMENTS) + ")"]
        for _ in range(r.randrange(1, 5)):
            lines.append("  (setq %s (%s \"%s\")) ; 旧コード ((" % (r.choice(LOCALS), r.choice(BUILTIN1), r.choice(JA_WORDS)))
        lines += ["|;", ""]
        return lines

    def header(self, file_name):
        r = self.r
        rule = ";;; " + "=" * 60
        return [rule, ";;; ファイル : " + file_name, ";;; 説明     : 作図の補助コマンド集 (画層・寸法・文字・表示)",
                ";;; 注意     : Shift-JIS で保存すること", rule, "(vl-load-com)",
                "(setq *g-scale* 1.0 *g-texth* %s)\t; 初期値" % r.choice(("2.5", "3.5", "5.0")), ""]

    def next_form(self):
        r = self.r
        k = r.randrange(40)
        if k == 0:
            return self.block_comment()
        if k == 1:
            return ["(setq %s %s)" % (r.choice(GLOBALS), self.expr([], 1)), ""]
        if k < 15:
            return self.defun(True)[0]
        return self.helper()

    def trailer(self):
        """Top-level calls of what is still uncalled or owed, and the load message."""
        lines = ["(%s%s)" % (name, " nil" * n) for name, n in self.pending + self.owed]
        lines += ["(princ %s)" % g for g in self.reads]
        return lines


def encode(lines):
    return (CRLF.join(lines) + CRLF).encode("cp932") if lines else b""


def padding(n):
    """Comment lines of exactly n bytes (n != 1)."""
    out = []
    while n > 0:
        take = min(n, 100)
        if n - take == 1:
            take -= 1
        out.append(b"\r\n" if take == 2 else b";" + b"-" * (take - 3) + b"\r\n")
        n -= take
    return b"".join(out)


def write_file(write, size, src, file_name, first_forms=()):
    """Writes one file of exactly `size` bytes through `write`.

    `first_forms` are forms that must be in the file (a project's planted
    definitions); they come right after the header."""
    if size == 1:
        raise ValueError("a file of CR LF lines cannot be 1 byte long")
    written = 0

    def fits(extra):
        rest = size - written - extra - len(encode(src.trailer()))
        return rest >= 0 and rest != 1

    if not fits(0):
        raise ValueError("%s: %d bytes are too few for what it must hold" % (file_name, size))
    head = encode(src.header(file_name))
    if fits(len(head)):
        write(head)
        written += len(head)
    for form in first_forms:
        data = encode(form())
        if not fits(len(data)):
            raise ValueError("%s: %d bytes are too few for what it must hold" % (file_name, size))
        write(data)
        written += len(data)
    long_count = max(3, size // (512 * 1024)) if size >= 64 * 1024 else 0
    long_every = size // long_count if long_count else 0
    next_long = long_every // 2
    misses = 0
    while misses < 8:  # a smaller form may still fit where one did not
        snap = src.snapshot()
        if long_count and written >= next_long:
            form = src.long_line()
        else:
            form = src.next_form()
        data = encode(form)
        if not fits(len(data)):
            src.restore(snap)
            misses += 1
            continue
        if long_count and written >= next_long:
            next_long += long_every
        write(data)
        written += len(data)
    tail = encode(src.trailer())
    message = encode(['(princ "\\nロードしました。")', "(princ)"])
    rest = size - written - len(tail) - len(message)
    if rest >= 0 and rest != 1:
        tail += message
    write(tail)
    written += len(tail)
    write(padding(size - written))


def one_file(path, size, seed, unbalanced):
    src = Source(random.Random(seed), unbalanced)
    with open(path, "wb") as f:
        # The header names a file of the seed, not the output path, so that
        # the bytes depend on the size and the seed alone.
        write_file(f.write, size, src, "tools%03d.lsp" % (seed % 1000))


def split_sizes(rng, total, count):
    weights = [0.5 + rng.random() for _ in range(count)]
    sizes = [int(total * w / sum(weights)) for w in weights]
    sizes[-1] += total - sum(sizes)
    return sizes


def project(folder, count, total, seed, unbalanced):
    if count < 2:
        raise ValueError("a project needs at least 2 files")
    rng = random.Random(seed)
    few = lambda share, most: max(1, min(most, count // share))
    subfolder = set(rng.sample(range(count), few(5, 4))) if count >= 3 else set()
    upper = set(rng.sample(sorted(set(range(count)) - subfolder), few(6, 3))) if count >= 4 else set()
    paths, tags = [], []
    for i in range(count):
        stem = "%s%02d" % (THEMES[i % len(THEMES)], i + 1)
        name = stem + (".LSP" if i in upper else ".lsp")
        paths.append(os.path.join(("lib" if i % 2 else "tools") if i in subfolder else "", name))
        tags.append("%s%02d" % (THEMES[i % len(THEMES)][:2], i + 1))
    others = lambda i: rng.choice([j for j in range(count) if j != i])
    defs = [[] for _ in range(count)]       # (name, nargs, called)
    owed = [[] for _ in range(count)]       # calls a file must make
    sets = [[] for _ in range(count)]       # globals it sets at top level
    reads = [[] for _ in range(count)]      # globals it must read
    # Library functions of each file, each called from another file.
    for i in range(count):
        for _ in range(2 + rng.randrange(3)):
            fn = ("%s:%s-%s" % (tags[i], rng.choice(VERBS), rng.choice(NOUNS)), rng.randrange(3))
            if any(fn[0] == d[0] for d in defs[i]):
                continue
            defs[i].append(fn + (True,))
            owed[others(i)].append(fn[:2])
    twice = []
    for k in range(few(8, 3)):
        a = rng.randrange(count)
        b = others(a)
        fn = ("ut:%s-%s%d" % (rng.choice(VERBS), rng.choice(NOUNS), k), 1)
        defs[a].append(fn + (True,))
        defs[b].append(fn + (True,))
        owed[others(a)].append(fn[:2])
        twice.append("%s(%s,%s)" % (fn[0], paths[a], paths[b]))
    uncalled = []
    for k in range(few(4, 5)):
        i = rng.randrange(count)
        fn = "%s:%s-old%d" % (tags[i], rng.choice(NOUNS), k)
        defs[i].append((fn, rng.randrange(3), False))
        uncalled.append(fn)
    undefined = []
    for k in range(few(4, 5)):
        fn = "ext:%s-%s%d" % (rng.choice(VERBS), rng.choice(NOUNS), k)
        owed[rng.randrange(count)].append((fn, rng.randrange(3)))
        undefined.append(fn)
    shared = []
    for k in range(few(5, 4)):
        a = rng.randrange(count)
        g = "*%s-%s%d*" % (tags[a], rng.choice(NOUNS), k)
        sets[a].append(g)
        reads[others(a)].append(g)
        shared.append(g)
    sizes = split_sizes(rng, total, count)
    for i in range(count):
        src = Source(random.Random(seed * 1000003 + i), unbalanced, ("%s:" % tags[i],), tags[i])
        src.owed = list(owed[i])
        src.reads = list(reads[i])
        forms = [lambda g=g: ["(setq %s %s)\t; 他のファイルでも使う" % (g, src.expr([], 1)), ""] for g in sets[i]]
        forms += [lambda d=d: src.helper(d[0], d[1], d[2]) for d in defs[i]]
        path = os.path.join(folder, paths[i])
        os.makedirs(os.path.dirname(path), exist_ok=True)
        with open(path, "wb") as f:
            write_file(f.write, sizes[i], src, os.path.basename(path), forms)
    sys.stderr.write("gen_workload: %d files, %d bytes; subfolders: %s; upper-case: %s; undefined: %s; "
                     "defined twice: %s; never called: %s; shared globals: %s\n"
                     % (count, total, " ".join(paths[i] for i in sorted(subfolder)) or "-",
                        " ".join(paths[i] for i in sorted(upper)) or "-", " ".join(undefined),
                        " ".join(twice), " ".join(uncalled), " ".join(shared)))


def main():
    ap = argparse.ArgumentParser(description=__doc__.split("\n")[0])
    size = ap.add_mutually_exclusive_group()
    size.add_argument("--mb", type=float, help="size in MiB (total of a project; default 1)")
    size.add_argument("--bytes", type=int, help="size in bytes")
    ap.add_argument("--seed", type=int, default=1)
    ap.add_argument("--unbalanced", action="store_true", help="about one definition in 150 loses or gains a ')'")
    ap.add_argument("--out", help="the file to write")
    ap.add_argument("--project", metavar="DIR", help="write a folder of files instead")
    ap.add_argument("--files", type=int, help="number of files of a project")
    a = ap.parse_args()
    total = a.bytes if a.bytes is not None else int(round((1.0 if a.mb is None else a.mb) * MIB))
    if total < 0:
        ap.error("the size cannot be negative")
    try:
        if a.project:
            if a.files is None or a.out:
                ap.error("--project needs --files N and no --out")
            project(a.project, a.files, total, a.seed, a.unbalanced)
        else:
            if not a.out or a.files is not None:
                ap.error("give --out FILE (or --project DIR --files N)")
            one_file(a.out, total, a.seed, a.unbalanced)
    except ValueError as e:
        ap.error(str(e))
    return 0


if __name__ == "__main__":
    sys.exit(main())
