"""What a crowd of idle, slow and hostile clients does to a score server's readers, from outside,
on this machine only (127.0.0.x), bounded in count and time.

usage: door.py PORT PID SITE_FILE

PORT and PID are the server's; SITE_FILE the path of a large file of its site (for ranges).
Opens IDLE connections that send nothing and SLOW ones that send a header byte every 9 s, spread
over ADDRESSES loopback addresses and reopened as the server closes them; meanwhile one client at
another address reads the table again and again. Then the same while 100 MB of headers,
800-range requests and 400 MiB chunked posts arrive in parallel. Prints, for each phase, the
reads answered, their p50/p99 latency, the reads not answered within 5 s, and the server's
largest resident memory."""

import os
import selectors
import socket
import sys
import threading
import time

IDLE = 2000
SLOW = 200
ADDRESSES = 100
PHASE_SECONDS = 15
READ_TIMEOUT = 5
READER = '127.0.1.1'


def rss_mb(pid):
    try:
        with open('/proc/%d/status' % pid) as status:
            for line in status:
                if line.startswith('VmRSS:'):
                    return int(line.split()[1]) / 1024
    except OSError:
        pass
    return 0


class Crowd:
    """IDLE silent and SLOW slowloris connections, kept open: reopened as they close."""

    def __init__(self, port):
        self.port = port
        self.selector = selectors.DefaultSelector()
        self.stop = threading.Event()
        self.opened = 0
        self.refused = 0
        self.slow = []
        for i in range(IDLE + SLOW):
            self.open(i)
        self.thread = threading.Thread(target=self.keep)
        self.thread.start()

    def open(self, i):
        source = '127.0.0.%d' % (2 + i % ADDRESSES)
        try:
            connection = socket.create_connection(('127.0.0.1', self.port), timeout=2,
                                                  source_address=(source, 0))
        except OSError:
            self.refused += 1
            return
        connection.setblocking(False)
        self.opened += 1
        self.selector.register(connection, selectors.EVENT_READ, i)
        if i >= IDLE:
            self.slow.append(connection)
            try:
                connection.send(b'GET /api/scores HTTP/1.1\r\n')
            except OSError:
                pass

    def keep(self):
        last_byte = time.time()
        while not self.stop.is_set():
            for key, _ in self.selector.select(timeout=0.2):
                connection, i = key.fileobj, key.data
                try:
                    data = connection.recv(65536)
                except OSError:
                    data = b''
                if not data:
                    self.selector.unregister(connection)
                    if connection in self.slow:
                        self.slow.remove(connection)
                    connection.close()
                    if not self.stop.is_set():
                        self.open(i)
            if time.time() - last_byte >= 9:
                last_byte = time.time()
                for connection in list(self.slow):
                    try:
                        connection.send(b'X')
                    except OSError:
                        pass

    def close(self):
        self.stop.set()
        self.thread.join()
        for key in list(self.selector.get_map().values()):
            key.fileobj.close()
        self.selector.close()


def read_once(port):
    started = time.time()
    try:
        with socket.create_connection(('127.0.0.1', port), timeout=READ_TIMEOUT,
                                      source_address=(READER, 0)) as connection:
            connection.sendall(b'GET /api/scores HTTP/1.1\r\nHost: x\r\nConnection: close\r\n\r\n')
            got = b''
            while True:
                chunk = connection.recv(65536)
                if not chunk:
                    break
                got += chunk
        if got.startswith(b'HTTP/1.1 200'):
            return (time.time() - started) * 1000
    except OSError:
        pass
    return None


def attack(port, head, piece, most, seconds):
    """Sends head and then piece after piece, up to most bytes or for seconds."""
    deadline = time.time() + seconds
    sent = 0
    try:
        with socket.create_connection(('127.0.0.1', port), timeout=2,
                                      source_address=('127.0.2.%d' % (1 + os.getpid() % 200), 0)) \
                as connection:
            connection.sendall(head)
            while sent < most and time.time() < deadline:
                connection.sendall(piece)
                sent += len(piece)
            connection.settimeout(1)
            try:
                connection.recv(4096)
            except OSError:
                pass
    except OSError:
        pass


def ranges(port, path, seconds):
    wanted = 'bytes=' + ','.join('0-1000000000' for _ in range(800))
    try:
        with socket.create_connection(('127.0.0.1', port), timeout=seconds,
                                      source_address=('127.0.3.1', 0)) as connection:
            connection.sendall(b'GET /%s HTTP/1.1\r\nHost: x\r\nRange: %s\r\n\r\n' %
                               (path.encode(), wanted.encode()))
            connection.recv(4096)  # the answer's start; the rest is left unread
            time.sleep(1)
    except OSError:
        pass


def phase(label, port, pid, attackers):
    latencies = []
    missed = 0
    peak = rss_mb(pid)
    threads = [threading.Thread(target=target, args=args) for target, args in attackers]
    for thread in threads:
        thread.start()
    deadline = time.time() + PHASE_SECONDS
    while time.time() < deadline:
        took = read_once(port)
        if took is None:
            missed += 1
        else:
            latencies.append(took)
        peak = max(peak, rss_mb(pid))
        time.sleep(0.02)
    for thread in threads:
        thread.join()
    peak = max(peak, rss_mb(pid))
    latencies.sort()

    def at(share):
        return latencies[min(len(latencies) - 1, int(share * len(latencies)))] if latencies else 0
    print('  %-44s reads %4d  p50 %7.1f ms  p99 %7.1f ms  unanswered %3d  RSS peak %6.0f MB' %
          (label, len(latencies), at(0.5), at(0.99), missed, peak), flush=True)


def main():
    port, pid, big = int(sys.argv[1]), int(sys.argv[2]), os.path.basename(sys.argv[3])
    print('  before the crowd: RSS %.0f MB' % rss_mb(pid))
    crowd = Crowd(port)
    print('  %d idle and %d slow connections from %d addresses opened (%d refused at once)' %
          (IDLE, SLOW, ADDRESSES, crowd.refused), flush=True)
    phase('beside the crowd', port, pid, [])
    headers = b'X-Filler: ' + b'a' * 8000 + b'\r\n'
    chunk = b'100000\r\n' + b'a' * 0x100000 + b'\r\n'
    attackers = []
    for _ in range(4):
        attackers.append((attack, (port, b'GET / HTTP/1.1\r\nHost: x\r\n', headers,
                                   100 << 20, PHASE_SECONDS)))
    for _ in range(8):
        attackers.append((ranges, (port, big, PHASE_SECONDS)))
    for path in ('/nowhere', '/api/scores'):
        attackers.append((attack, (port, b'POST %s HTTP/1.1\r\nHost: x\r\n'
                                   b'Content-Type: application/octet-stream\r\n'
                                   b'Transfer-Encoding: chunked\r\n\r\n' % path.encode(), chunk,
                                   400 << 20, PHASE_SECONDS)))
    phase('beside the crowd, under attack', port, pid, attackers)
    crowd.close()
    print('  connections the crowd opened in all: %d' % crowd.opened)


if __name__ == '__main__':
    main()
