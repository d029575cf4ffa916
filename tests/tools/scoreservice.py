#!/usr/bin/env python3
"""A hall-of-fame score service for the game's tests (standard library only).

It serves one listening socket that the test opened on the loopback address
and handed down as an inherited file descriptor (--fd), so connections queue
from the first moment; with --ready-fd it writes a line to that pipe when it
is about to serve, so the test's time bounds do not include its start-up.
To try the game against it by hand, let it listen on a port of its own:

    python3 tests/tools/scoreservice.py --port 8000

POST stores a score record (a JSON object with "score" and "name") and
writes the request body, byte for byte, to <record>/post-NNNN.json before it
answers; each GET leaves an empty <record>/get-NNNN. GET answers with the hall of fame in the game's reply form:

    {"success":true,"debugmsg":"GET ok","scores":[{"12000":"ALICE"},...]}

best score first (equal scores in the order they arrived), at most ten.

Modes make it misbehave for GET and POST alike: "stall" never answers,
"garbage" answers with text that is not JSON, "huge" with 10 MB, "error"
with status 503.
"""

import argparse
import http.server
import json
import os
import socket
import time


class QuietServer(http.server.HTTPServer):
    # A client that gives up (the game killing a stalled download) is no error here.
    def handle_error(self, request, client_address):
        pass


def main():
    parser = argparse.ArgumentParser()
    where = parser.add_mutually_exclusive_group(required=True)
    where.add_argument("--fd", type=int, help="inherited listening socket")
    where.add_argument("--port", type=int, help="listen on 127.0.0.1 at this port")
    parser.add_argument("--ready-fd", type=int, help="a pipe to write one line to once the service answers")
    parser.add_argument("--mode", default="normal", choices=["normal", "stall", "garbage", "huge", "error"])
    parser.add_argument("--record", default="", help="folder for the raw bodies of posts and a mark per GET")
    parser.add_argument("--seed", default="[]", help='JSON list of [score, name] pairs held from the start')
    args = parser.parse_args()

    scores = [(int(score), str(name)) for score, name in json.loads(args.seed)]
    posts = [0]
    gets = [0]

    class Handler(http.server.BaseHTTPRequestHandler):
        protocol_version = "HTTP/1.0"

        def log_message(self, *unused):
            pass

        def answer(self, status, body):
            self.send_response(status)
            self.send_header("Content-Type", "application/json; charset=utf-8")
            self.send_header("Content-Length", str(len(body)))
            self.end_headers()
            self.wfile.write(body)

        def misbehave(self):
            if args.mode == "stall":
                while True:
                    time.sleep(3600)
            if args.mode == "garbage":
                self.answer(200, b"<html>this is not the hall of fame</html>")
                return True
            if args.mode == "huge":
                self.answer(200, b"[" + b"9" * (10 * 1024 * 1024) + b"]")
                return True
            if args.mode == "error":
                self.answer(503, b"")
                return True
            return False

        def do_GET(self):
            if args.record:
                gets[0] += 1
                open(os.path.join(args.record, "get-%04d" % gets[0]), "wb").close()
            if self.misbehave():
                return
            best = sorted(scores, key=lambda entry: -entry[0])[:10]
            reply = {"success": True, "debugmsg": "GET ok",
                     "scores": [{str(score): name} for score, name in best]}
            self.answer(200, json.dumps(reply, ensure_ascii=False, separators=(",", ":")).encode("utf-8"))

        def do_POST(self):
            body = self.rfile.read(int(self.headers.get("Content-Length", "0")))
            if self.misbehave():
                return
            if args.record:
                posts[0] += 1
                path = os.path.join(args.record, "post-%04d.json" % posts[0])
                with open(path + ".part", "wb") as out:
                    out.write(body)
                os.replace(path + ".part", path)
            try:
                record = json.loads(body.decode("utf-8"))
                scores.append((int(record["score"]), str(record["name"])))
                reply = {"success": True, "debugmsg": "POST stored"}
            except (ValueError, KeyError, TypeError):
                reply = {"success": False, "debugmsg": "POST not a score record"}
            self.answer(200, json.dumps(reply, separators=(",", ":")).encode("utf-8"))

    if args.port is not None:
        server = QuietServer(("127.0.0.1", args.port), Handler)
    else:
        listener = socket.socket(fileno=args.fd)
        server = QuietServer(listener.getsockname(), Handler, bind_and_activate=False)
        server.socket.close()
        server.socket = listener
    if args.ready_fd is not None:
        with os.fdopen(args.ready_fd, "w") as ready:
            ready.write("ready\n")
    server.serve_forever()


if __name__ == "__main__":
    main()
