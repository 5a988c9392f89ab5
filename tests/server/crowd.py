"""Crowds of clients for the door's tests and its benchmark: many connections from many loopback
addresses (127.0.x.y), each bounded in count and time, on this machine only."""

import asyncio
import collections
import socket
import time


def source(i, per_address, first=10):
    """The loopback address of the i-th client when per_address share each address."""
    n = first + i // per_address
    return '127.0.%d.%d' % (n // 250, 1 + n % 250)


async def _reads(port, i, per_address, requests, interval, path, statuses, headers):
    try:
        reader, writer = await asyncio.wait_for(asyncio.open_connection(
            '127.0.0.1', port, local_addr=(source(i, per_address), 0)), 10)
    except (OSError, asyncio.TimeoutError):
        statuses['no connection'] += requests
        return
    try:
        for n in range(requests):
            writer.write(b'GET %s HTTP/1.1\r\nHost: x\r\n%s\r\n' % (path.encode(), headers))
            head = await asyncio.wait_for(reader.readuntil(b'\r\n\r\n'), 30)
            status = head.split(b' ', 2)[1].decode()
            length = 0
            for line in head.lower().split(b'\r\n'):
                if line.startswith(b'content-length:'):
                    length = int(line.split(b':')[1])
            await asyncio.wait_for(reader.readexactly(length), 30)
            statuses[status] += 1
            if b'connection: close' in head.lower() and n + 1 < requests:
                statuses['closed'] += requests - n - 1
                return
            await asyncio.sleep(interval)
    except (OSError, asyncio.TimeoutError, asyncio.IncompleteReadError, ValueError,
            IndexError):
        statuses['cut off'] += 1
    finally:
        writer.close()


def reads(port, connections, per_address, requests, interval, path='/api/scores', headers=b''):
    """connections kept connections, per_address from each address, all at once, each asking
    requests times, interval seconds apart: how many answers of each status, and how many
    requests failed otherwise ('no connection', 'cut off', 'closed')."""
    statuses = collections.Counter()

    async def everyone():
        await asyncio.gather(*(_reads(port, i, per_address, requests, interval, path, statuses,
                                      headers) for i in range(connections)))
    asyncio.run(everyone())
    return statuses


def open_idle(port, count, per_address, first=10):
    """count connections that send nothing; those that could be opened."""
    opened = []
    for i in range(count):
        try:
            opened.append(socket.create_connection(('127.0.0.1', port), timeout=5,
                                                   source_address=(source(i, per_address, first),
                                                                   0)))
        except OSError:
            pass
    return opened


def hold_bodies(port, count, per_address, method, path, body_bytes=65535, seconds=20,
                first=10):
    """count connections that each promise a 64 KiB body and send body_bytes of it, then hold it;
    the connections, and the statuses of the answers that came before the whole was sent."""
    opened = open_idle(port, count, per_address, first)
    head = (b'%s %s HTTP/1.1\r\nHost: x\r\nContent-Type: application/octet-stream\r\n'
            b'Content-Length: 65536\r\n\r\n' % (method.encode(), path.encode()))
    left = {}
    for connection in opened:
        connection.setblocking(False)
        left[connection] = head + b'a' * body_bytes
    statuses = collections.Counter()
    deadline = time.time() + seconds
    while left and time.time() < deadline:
        for connection in list(left):
            try:
                sent = connection.send(left[connection])
                left[connection] = left[connection][sent:]
                if not left[connection]:
                    del left[connection]
            except BlockingIOError:
                pass
            except OSError:
                statuses['cut off'] += 1  # answered and closed before the whole was sent
                del left[connection]
        time.sleep(0.01)
    statuses['unsent'] = len(left)
    for connection in opened:
        try:
            got = connection.recv(4096)
            statuses[got[9:12].decode() if got else 'closed'] += 1
        except BlockingIOError:
            statuses['held'] += 1
        except OSError:
            pass
    return opened, statuses


def memory_kb(pid, field):
    """A field of the process's status (VmRSS, VmHWM), in KB."""
    with open('/proc/%d/status' % pid) as status:
        for line in status:
            if line.startswith(field + ':'):
                return int(line.split()[1])
    return 0
