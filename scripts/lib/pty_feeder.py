#!/usr/bin/env python3
"""A device on a pseudo-terminal, for the bench and soak scripts.

    pty_feeder.py MODE TTY_FILE STATS_FILE

MODE is one of
  nmea     a car driving a circle, one fix a second of its clock, but as many fixes as
           the line carries (about 25 a second), so every value of a GPS view keeps changing
  garbage  random bytes, as a device heard at the wrong baud rate
  silent   nothing at all: a port with nothing behind it, which never answers
  flood    the nmea drive unpaced: 4 KiB writes as fast as the other side takes them,
           nothing dropped, to measure how many lines a second the reader keeps up with

nmea and garbage are paced at 115200 baud 8N1 (11520 bytes a second) whatever speed the
other side sets: a pseudo-terminal keeps no baud rate. Bytes the other side does not take
in time are dropped, as a UART overruns, and counted. flood writes the same sentences as
nmea, from a ring of ten minutes of them prepared at start, so the writer itself costs next
to nothing.

The slave's name is written to TTY_FILE once the pty exists. Once a second STATS_FILE is
replaced by one line "monotonic_time delivered dropped received lines", received being what
the other side sent (read and thrown away, so its writes never block) and lines the line
ends among the bytes delivered.
"""
import math
import os
import select
import sys
import time
import tty

RATE = 11520  # bytes a second at 115200 baud, 8N1


def sentence(body):
    check = 0
    for c in body.encode():
        check ^= c
    return "$%s*%02X\r\n" % (body, check)


def coordinate(value, width):
    degrees = int(abs(value))
    return "%0*d%07.4f" % (width, degrees, (abs(value) - degrees) * 60)


def epoch(n):
    t = 12 * 3600 + 35 * 60 + n
    hms = "%02d%02d%02d" % (t // 3600 % 24, t // 60 % 60, t % 60)
    heading = (n * 2) % 360
    lat = 48.1173 + 0.01 * math.sin(math.radians(heading))
    lon = 11.5167 + 0.015 * (1 - math.cos(math.radians(heading)))
    ns_lat = coordinate(lat, 2) + ",N"
    ew_lon = coordinate(lon, 3) + ",E"
    used = [1, 3, 6, 9, 14, 17, 19, 22]
    sky = [(prn, 10 + prn * 3 % 70, prn * 37 % 360, 20 + (prn * 7 + n) % 30)
           for prn in [1, 3, 6, 9, 11, 14, 17, 19, 22, 28]]
    lines = [
        sentence("GPGGA,%s,%s,%s,1,08,0.9,%.1f,M,46.9,M,," % (hms, ns_lat, ew_lon,
                                                               520 + 5 * math.sin(n / 9))),
        sentence("GPRMC,%s,A,%s,%s,%05.1f,%05.1f,230324,003.1,W" % (hms, ns_lat, ew_lon,
                                                                      27 + n % 5, heading)),
        sentence("GPGSA,A,3,%s,2.5,1.3,2.1" % ",".join(
            ["%02d" % p for p in used] + [""] * (12 - len(used)))),
    ]
    for block in range(3):
        sats = sky[block * 4:block * 4 + 4]
        body = "GPGSV,3,%d,%02d" % (block + 1, len(sky))
        for prn, el, az, snr in sats:
            body += ",%02d,%02d,%03d,%02d" % (prn, el, az, snr)
        lines.append(sentence(body))
    return "".join(lines).encode()


BLOCK = 4096  # bytes per write of the flood


def write_stats(stats_file, now, delivered, dropped, received, lines):
    with open(stats_file + ".tmp", "w") as f:
        f.write("%f %d %d %d %d\n" % (now, delivered, dropped, received, lines))
    os.replace(stats_file + ".tmp", stats_file)


def flood(master, stats_file):
    """Writes as fast as the other side reads; a full pty buffer waits, it drops nothing."""
    ring = b"".join(epoch(n) for n in range(600 * 25))
    view = memoryview(ring + ring[:BLOCK])
    at = delivered = received = lines = 0
    last_stats = 0.0
    while True:
        readable, writable, _ = select.select([master], [master], [], 0.05)
        if readable:
            try:
                received += len(os.read(master, 4096))
            except OSError:
                pass
        if writable:
            try:
                written = os.write(master, view[at:at + BLOCK])
            except OSError:  # BlockingIOError: taken by nobody yet
                written = 0
            lines += view[at:at + written].tobytes().count(b"\n")
            delivered += written
            at += written
            if at >= len(ring):
                at -= len(ring)
        now = time.monotonic()
        if now - last_stats >= 1:
            last_stats = now
            write_stats(stats_file, now, delivered, 0, received, lines)


def main():
    if len(sys.argv) != 4 or sys.argv[1] not in ("nmea", "garbage", "silent", "flood"):
        sys.exit(__doc__)
    mode, tty_file, stats_file = sys.argv[1:]

    master, slave = os.openpty()
    tty.setraw(slave)
    # The slave stays open here all the time, so the master never reads EIO while the
    # other side closes and reopens the port.
    os.set_blocking(master, False)
    with open(tty_file + ".tmp", "w") as f:
        f.write(os.ttyname(slave))
    os.replace(tty_file + ".tmp", tty_file)

    if mode == "flood":
        flood(master, stats_file)
        return

    stream, n = b"", 0
    delivered = dropped = received = lines = 0
    start = time.monotonic()
    last_stats = 0.0
    while True:
        readable, _, _ = select.select([master], [], [], 0.005)
        if readable:
            try:
                received += len(os.read(master, 4096))
            except OSError:
                pass
        now = time.monotonic()
        if mode != "silent":
            due = int((now - start) * RATE) - (delivered + dropped)
            if mode == "nmea":
                while len(stream) < due:
                    stream += epoch(n)
                    n += 1
            elif len(stream) < due:
                stream += os.urandom(due - len(stream))
            if due > 0:
                try:
                    written = os.write(master, stream[:due])
                except OSError:  # BlockingIOError when its buffer is full
                    written = 0
                lines += stream[:written].count(b"\n")
                delivered += written
                dropped += due - written
                stream = stream[due:]
        if now - last_stats >= 1:
            last_stats = now
            write_stats(stats_file, now, delivered, dropped, received, lines)


if __name__ == "__main__":
    main()
