"""A scale stand-in for the tests: pyftpdlib on 127.0.0.1 with a free port.

Prints "PORT <n>" on stdout once it listens. Runs until it is killed.

The faults a connection meets are read from the --faults file (JSON) when the connection opens, so a
test changes them between cases without starting another server.
"""
import argparse
import json
import logging
import sys

from pyftpdlib.authorizers import DummyAuthorizer
from pyftpdlib.handlers import DTPHandler, FTPHandler
from pyftpdlib.servers import FTPServer


def read_faults(path):
    """{"drop": [...], "stall": [...], "answer": {"CMD": "reply"}, "stallData": bool,
    "trickleBytes": n, "trickleMs": n}; no file means no faults."""
    try:
        with open(path, encoding="utf-8") as f:
            return json.load(f)
    except FileNotFoundError:
        return {}


def is_file_transfer(dtp):
    return dtp.file_obj is not None  # listings have none


# File transfers (not listings) stop dead after their first chunk, connection left open.
class StallingDTPHandler(DTPHandler):
    def use_sendfile(self):
        return False

    def send(self, data):
        sent = super().send(data)
        if is_file_transfer(self):
            self.del_channel()
        return sent

    def recv(self, buffer_size):
        chunk = super().recv(buffer_size)
        if is_file_transfer(self):
            self.del_channel()
        return chunk


# Files are sent a few bytes at a time with a pause after each piece: data keeps moving, slowly.
class TricklingDTPHandler(DTPHandler):
    piece = 1
    pause = 1.0

    def __init__(self, sock, cmd_channel):
        super().__init__(sock, cmd_channel)
        self._resume = None

    def use_sendfile(self):
        return False

    def send(self, data):
        if not is_file_transfer(self):
            return super().send(data)
        sent = super().send(data[:self.piece])
        self.del_channel()
        self._resume = self.ioloop.call_later(
            self.pause, lambda: self.add_channel(events=self.ioloop.WRITE),
            _errback=self.handle_error)
        return sent

    def close(self):
        if self._resume is not None and not self._resume.cancelled:
            self._resume.cancel()
        super().close()


def main():
    p = argparse.ArgumentParser()
    p.add_argument("--root", required=True)
    p.add_argument("--user", required=True)
    p.add_argument("--password", required=True)
    p.add_argument("--readonly-user")
    p.add_argument("--readonly-password", default="")
    p.add_argument("--log", help="file that receives every command and reply")
    p.add_argument("--faults", required=True, help="JSON file of the faults of new connections")
    p.add_argument("--encoding", default="utf8",
                   help="how commands are decoded; latin-1 takes every byte as it was sent")
    args = p.parse_args()

    if args.log:
        logging.basicConfig(filename=args.log, level=logging.DEBUG,
                            format="%(message)s")

    authorizer = DummyAuthorizer()
    authorizer.add_user(args.user, args.password, args.root, perm="elradfmwMT")
    if args.readonly_user:
        authorizer.add_user(args.readonly_user, args.readonly_password,
                            args.root, perm="elr")

    class Handler(FTPHandler):
        # A refused login is answered at once; the tests have no use for the brute-force delay.
        auth_failed_timeout = 0

        def decode(self, bytes):
            return bytes.decode(args.encoding, self.unicode_errors)

        def on_connect(self):
            faults = read_faults(args.faults)
            self.drop = {c.upper() for c in faults.get("drop", [])}
            self.stall = {c.upper() for c in faults.get("stall", [])}
            self.answer = {c.upper(): r for c, r in faults.get("answer", {}).items()}
            if faults.get("stallData"):
                self.dtp_handler = StallingDTPHandler
            elif faults.get("trickleBytes"):
                self.dtp_handler = type("Trickle", (TricklingDTPHandler,), {
                    "piece": faults["trickleBytes"],
                    "pause": faults.get("trickleMs", 1000) / 1000.0})

        def pre_process_command(self, line, cmd, arg):
            if cmd in self.drop:
                self.close()
                return
            if cmd in self.stall:
                return
            if cmd in self.answer:
                self.respond(self.answer[cmd])
                return
            super().pre_process_command(line, cmd, arg)

    Handler.authorizer = authorizer

    server = FTPServer(("127.0.0.1", 0), Handler)
    print("PORT %d" % server.address[1], flush=True)
    server.serve_forever(handle_exit=True)


if __name__ == "__main__":
    sys.exit(main())
