#!/usr/bin/env python3
"""A few AT commands to a modem on a serial device, for the client checks.

    at_chat.py DEVICE [--baud N] [--timeout SECONDS] COMMAND...

Opens DEVICE raw at N baud (default 9600), sends each COMMAND with a carriage return and
reads until a final result code (OK, ERROR, +CME/+CMS ERROR, CONNECT, NO CARRIER, BUSY,
NO DIALTONE, NO ANSWER) or until SECONDS (default 3) pass without one. Everything
received is written to standard output as it came, control characters escaped, one
"<- " line per command, after a "-> " line with what was sent.

Exit status: 0 every command got a final result code, 1 one got none (the modem is
silent, or still in online data mode), 2 the device cannot be opened.
"""
import os
import re
import select
import sys
import termios
import time
import tty

FINAL = re.compile(rb"\r\n(OK|ERROR|\+CM[ES] ERROR:[^\r]*|CONNECT[^\r]*|NO CARRIER|BUSY|"
                   rb"NO DIALTONE|NO ANSWER)\r\n$")


def shown(data):
    return data.decode("latin-1").encode("unicode_escape").decode("ascii")


def main(argv):
    baud = 9600
    timeout = 3.0
    args = argv[1:]
    if not args:
        print(__doc__, file=sys.stderr)
        return 2
    device = args.pop(0)
    commands = []
    while args:
        arg = args.pop(0)
        if arg == "--baud" and args:
            baud = int(args.pop(0))
        elif arg == "--timeout" and args:
            timeout = float(args.pop(0))
        else:
            commands.append(arg)

    try:
        fd = os.open(device, os.O_RDWR | os.O_NOCTTY | os.O_NONBLOCK)
    except OSError as error:
        print("cannot open %s: %s" % (device, error), file=sys.stderr)
        return 2
    try:
        tty.setraw(fd)
        attrs = termios.tcgetattr(fd)
        speed = getattr(termios, "B%d" % baud)
        attrs[4] = attrs[5] = speed
        attrs[2] |= termios.CLOCAL | termios.CREAD
        termios.tcsetattr(fd, termios.TCSANOW, attrs)
        # What came before (a result of an earlier program) is not ours to answer.
        termios.tcflush(fd, termios.TCIFLUSH)

        status = 0
        for command in commands:
            print("-> " + command)
            os.write(fd, command.encode() + b"\r")
            got = b""
            end = time.monotonic() + timeout
            while not FINAL.search(got):
                left = end - time.monotonic()
                if left <= 0:
                    break
                ready, _, _ = select.select([fd], [], [], left)
                if ready:
                    try:
                        chunk = os.read(fd, 4096)
                    except BlockingIOError:
                        continue
                    got += chunk
            print("<- " + shown(got))
            if not FINAL.search(got):
                print("(no final result code within %g s)" % timeout)
                status = 1
        return status
    finally:
        os.close(fd)


if __name__ == "__main__":
    sys.exit(main(sys.argv))
