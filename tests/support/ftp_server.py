"""A scale stand-in for the tests: pyftpdlib on 127.0.0.1 with a free port.

Prints "PORT <n>" on stdout once it listens. Runs until it is killed.
"""
import argparse
import logging
import sys

from pyftpdlib.authorizers import DummyAuthorizer
from pyftpdlib.handlers import DTPHandler, FTPHandler
from pyftpdlib.servers import FTPServer


def main():
    p = argparse.ArgumentParser()
    p.add_argument("--root", required=True)
    p.add_argument("--user", required=True)
    p.add_argument("--password", required=True)
    p.add_argument("--readonly-user")
    p.add_argument("--readonly-password", default="")
    p.add_argument("--log", help="file that receives every command and reply")
    p.add_argument("--drop", action="append", default=[],
                   help="command on which the control connection is closed")
    p.add_argument("--stall", action="append", default=[],
                   help="command that is never answered")
    p.add_argument("--answer", action="append", default=[],
                   help="COMMAND=REPLY: the command is not carried out, the reply is sent instead")
    p.add_argument("--stall-data", action="store_true",
                   help="data connections go silent after their first chunk")
    args = p.parse_args()

    if args.log:
        logging.basicConfig(filename=args.log, level=logging.DEBUG,
                            format="%(message)s")

    authorizer = DummyAuthorizer()
    authorizer.add_user(args.user, args.password, args.root, perm="elradfmwMT")
    if args.readonly_user:
        authorizer.add_user(args.readonly_user, args.readonly_password,
                            args.root, perm="elr")

    drop = {c.upper() for c in args.drop}
    stall = {c.upper() for c in args.stall}
    answer = {c.split("=", 1)[0].upper(): c.split("=", 1)[1] for c in args.answer}

    class Handler(FTPHandler):
        def pre_process_command(self, line, cmd, arg):
            if cmd in drop:
                self.close()
                return
            if cmd in stall:
                return
            if cmd in answer:
                self.respond(answer[cmd])
                return
            super().pre_process_command(line, cmd, arg)

    # File transfers (not listings) stop dead after their first chunk, connection left open.
    class StallingDTPHandler(DTPHandler):
        def use_sendfile(self):
            return False

        def send(self, data):
            sent = super().send(data)
            if self.file_obj is not None:
                self.del_channel()
            return sent

        def recv(self, buffer_size):
            chunk = super().recv(buffer_size)
            if self.file_obj is not None:
                self.del_channel()
            return chunk

    Handler.authorizer = authorizer
    if args.stall_data:
        Handler.dtp_handler = StallingDTPHandler

    server = FTPServer(("127.0.0.1", 0), Handler)
    print("PORT %d" % server.address[1], flush=True)
    server.serve_forever(handle_exit=True)


if __name__ == "__main__":
    sys.exit(main())
