"""Soak of quodle-cli lsp: open, change, hover and close in a loop, 10 000
messages and a broken one now and then, over real pipes. Fails when the
server dies, an answer is missing or wrong, the run does not end in its
bound, or the resident memory grows after the warm-up.

usage: soak.py QUODLE_CLI [MESSAGES]"""
import json
import os
import subprocess
import sys
import time

cli = sys.argv[1]
messages = int(sys.argv[2]) if len(sys.argv) > 2 else 10000
deadline = time.monotonic() + 300  # a hang guard, not a speed check

server = subprocess.Popen([cli, "lsp"], stdin=subprocess.PIPE, stdout=subprocess.PIPE, stderr=subprocess.DEVNULL)
sent = 0


def send(message, raw=None):
    global sent
    body = raw if raw is not None else json.dumps(message, ensure_ascii=False).encode()
    server.stdin.write(b"Content-Length: %d\r\n\r\n" % len(body) + body)
    server.stdin.flush()
    sent += 1


def receive():
    header = b""
    while not header.endswith(b"\r\n\r\n"):
        byte = server.stdout.read(1)
        if not byte:
            sys.exit("FAIL: the server ended after %d messages" % sent)
        header += byte
    length = int(header.split(b":")[1].split(b"\r")[0])
    return json.loads(server.stdout.read(length))


def answer(id_):
    while True:
        if time.monotonic() > deadline:
            sys.exit("FAIL: no end in the time bound after %d messages" % sent)
        m = receive()
        if m.get("id") == id_:
            return m


def rss_kib():
    with open("/proc/%d/status" % server.pid) as status:
        for line in status:
            if line.startswith("VmRSS:"):
                return int(line.split()[1])
    return 0


text = "".join(
    ';; 図形の処理 %d\n(defun c:cmd%d ( / 値 ent)\n  (setq 値 (getvar "CLAYER") ent (entlast))\n  (princ "完了"))\n' % (i, i)
    for i in range(40)
)
send({"jsonrpc": "2.0", "id": 0, "method": "initialize", "params": {"capabilities": {}}})
answer(0)
send({"jsonrpc": "2.0", "method": "initialized", "params": {}})

next_id = 1
warm = None
loop = 0
while sent < messages:
    uri = "file:///soak/%d.lsp" % (loop % 7)
    send({"jsonrpc": "2.0", "method": "textDocument/didOpen",
          "params": {"textDocument": {"uri": uri, "languageId": "autolisp", "version": 1, "text": text}}})
    send({"jsonrpc": "2.0", "method": "textDocument/didChange",
          "params": {"textDocument": {"uri": uri, "version": 2},
                     "contentChanges": [{"range": {"start": {"line": 2, "character": 8},
                                                   "end": {"line": 2, "character": 9}},
                                         "text": "値%d" % loop}]}})
    send({"jsonrpc": "2.0", "id": next_id, "method": "textDocument/hover",
          "params": {"textDocument": {"uri": uri}, "position": {"line": 2, "character": 4}}})
    hover = answer(next_id)
    if "(setq" not in hover.get("result", {}).get("contents", {}).get("value", ""):
        sys.exit("FAIL: hover %d answered %s" % (next_id, hover))
    next_id += 1
    send({"jsonrpc": "2.0", "method": "textDocument/didClose", "params": {"textDocument": {"uri": uri}}})
    if loop % 50 == 0:
        send(None, raw=b'{"jsonrpc":"2.0","id":')
        reply = receive()
        while "method" in reply:  # the diagnostics of the close come first
            reply = receive()
        if reply.get("error", {}).get("code") != -32700:
            sys.exit("FAIL: a broken message was not answered with a parse error")
    loop += 1
    if warm is None and sent >= messages // 10:
        warm = rss_kib()

end = rss_kib()
send({"jsonrpc": "2.0", "id": next_id, "method": "shutdown"})
answer(next_id)
send({"jsonrpc": "2.0", "method": "exit"})
status = server.wait(timeout=30)
print("soak: %d messages, resident memory after warm-up %d KiB, at the end %d KiB, exit %d" % (sent, warm, end, status))
# Flat: what a warm server holds may move by allocator noise, not by the loop.
if status != 0 or end > warm + 4096:
    sys.exit("FAIL: memory grew or the exit status is %d" % status)
