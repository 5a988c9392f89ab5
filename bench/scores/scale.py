"""The score server at scale, from outside, on this machine only (127.0.x.y), bounded in count and
time: what the issue of proxies, bodies, full tables and cached reads measured, for one server
binary (run once for each build compared, in the same run).

usage: scale.py SERVER WORK REPLAYS [TAMPERED]

SERVER is an arcade-scores; WORK a scratch folder; REPLAYS a folder of proven games (100 of them
fill the table that the reads are timed on); TAMPERED what arcade-make-replays --tampered made
(its hour-long replay runs up a debt). Prints:
- behind the package's nginx (its site as shipped, the server with the unit's defaults): the
  answers to 64, 200 and 1,000 connections at once, three requests each, through one server
  and through two;
- 4,000 connections from 134 addresses each holding 65,535 bytes of a 64 KiB body, sent to
  GET /api/scores and to POST /api/scores: the server's peak resident memory, and its resident
  memory ten seconds after they are gone;
- 5,000 idle connections from 200 addresses (25 each): a reader's p50/p99 beside them;
- a debt: an hour-long replay posted through a trusted proxy for one IPv6 player, then 10,000
  junk posts from 10,000 other /64s: whether the player still waits;
- GET /api/scores with wrk (2 threads, 50 connections, 5 s) against nginx serving the same bytes
  from a file (one worker, as the server reads sockets on one thread): requests/s kept alive,
  with Connection: close, and 304s for the tag; CPU seconds per 10,000 requests."""

import glob
import http.client
import os
import re
import shutil
import socket
import subprocess
import sys
import time
import urllib.error
import urllib.request

HERE = os.path.dirname(os.path.abspath(__file__))
SOURCE = os.path.dirname(os.path.dirname(HERE))
sys.path.insert(0, os.path.join(SOURCE, 'tests', 'dist'))
sys.path.insert(0, os.path.join(SOURCE, 'tests', 'server'))
import crowd  # noqa: E402
import nginx_site  # noqa: E402

TICKS = os.sysconf('SC_CLK_TCK')


def free_port():
    with socket.socket() as probe:
        probe.bind(('127.0.0.1', 0))
        return probe.getsockname()[1]


class Server:
    def __init__(self, binary, work, name, options=()):
        self.log = open(os.path.join(work, name + '.log'), 'w')
        self.process = subprocess.Popen(
            [binary, '--port', '0', '--db', 'sqlite:' + os.path.join(work, name + '.sqlite'),
             '--site', os.path.join(work, 'site')] + list(options),
            stdout=subprocess.PIPE, stderr=self.log, text=True)
        found = re.search(r'http://127\.0\.0\.1:(\d+)/', self.process.stdout.readline())
        if not found:
            raise RuntimeError('the server did not start')
        self.port = int(found.group(1))
        self.pid = self.process.pid

    def stop(self):
        self.process.terminate()
        try:
            self.process.wait(30)
        except subprocess.TimeoutExpired:
            self.process.kill()
            self.process.wait()
        self.log.close()


def unit_defaults():
    with open(os.path.join(SOURCE, 'dist', 'scores', 'arcade-scores.service.in')) as unit:
        text = ''.join(line for line in unit if line.startswith('Environment='))
    found = dict(re.findall(r'\b([A-Z_]+)=([^ \n]*)', text))
    return ['--posts-per-minute', found['POSTS_PER_MINUTE'], '--connections',
            found['CONNECTIONS'], '--connections-per-address', found['CONNECTIONS_PER_ADDRESS'],
            '--trust-proxy', '127.0.0.1']  # as the nginx site asks of a host


def behind_nginx(binary, work):
    print('Behind the package\'s nginx, the unit\'s defaults, --trust-proxy 127.0.0.1 '
          '(3 requests a connection):', flush=True)
    for count in (1, 2):
        for connections in (64, 200, 1000):
            servers = [Server(binary, work, 'proxied-%d' % i, unit_defaults())
                       for i in range(count)]
            port = free_port()
            nginx = nginx_site.start(work, os.path.join(work, 'site'), port,
                                     [server.port for server in servers])
            try:
                statuses = crowd.reads(port, connections, 10, 3, 0.5)
            finally:
                nginx.terminate()
                nginx.wait(10)
                for server in servers:
                    server.stop()
            total = sum(statuses.values())
            errors = total - statuses['200']
            print('  %d server%s, %4d connections: %5d requests, %5d errors (%4.1f %%) %s' %
                  (count, 's' if count > 1 else ' ', connections, total, errors,
                   100.0 * errors / max(total, 1), dict(statuses)), flush=True)


def held_bodies(binary, work):
    print('4,000 connections from 134 addresses, each holding 65,535 bytes of a 64 KiB body '
          '(the unit\'s defaults):', flush=True)
    for method in ('GET', 'POST'):
        server = Server(binary, work, 'bodies-' + method, unit_defaults()[:-2])
        try:
            before = crowd.memory_kb(server.pid, 'VmHWM')
            held, statuses = crowd.hold_bodies(server.port, 4000, 30, method, '/api/scores',
                                               seconds=30)
            time.sleep(1)
            peak = crowd.memory_kb(server.pid, 'VmHWM')
            for connection in held:
                connection.close()
            time.sleep(10)
            after = crowd.memory_kb(server.pid, 'VmRSS')
        finally:
            server.stop()
        print('  %-4s /api/scores: peak %6.1f MB (from %5.1f), 10 s after they are gone %6.1f MB'
              '  %s' % (method, peak / 1024, before / 1024, after / 1024, dict(statuses)),
              flush=True)


def full_table(binary, work):
    server = Server(binary, work, 'full')
    try:
        idle = crowd.open_idle(server.port, 5000, 25)
        time.sleep(1)
        took = []
        missed = 0
        for _ in range(60):
            started = time.time()
            try:
                with socket.create_connection(('127.0.0.1', server.port), timeout=10,
                                              source_address=('127.0.3.1', 0)) as reader:
                    reader.sendall(b'GET /api/scores HTTP/1.1\r\nHost: x\r\n'
                                   b'Connection: close\r\n\r\n')
                    got = b''
                    while True:
                        chunk = reader.recv(65536)
                        if not chunk:
                            break
                        got += chunk
                if got.startswith(b'HTTP/1.1 200'):
                    took.append((time.time() - started) * 1000)
                else:
                    missed += 1
            except OSError:
                missed += 1
            time.sleep(0.05)
        for connection in idle:
            connection.close()
    finally:
        server.stop()
    took.sort()

    def at(share):
        return took[min(len(took) - 1, int(share * len(took)))] if took else 0
    print('5,000 idle connections from 200 addresses (%d opened): a reader %d of 60 answered, '
          'p50 %.1f ms, p99 %.1f ms' % (len(idle), len(took), at(0.5), at(0.99)), flush=True)


def debt(binary, work, tampered):
    server = Server(binary, work, 'debt', ['--trust-proxy', '127.0.0.1'])
    try:
        with open(os.path.join(tampered, 'an-hour.replay'), 'rb') as file:
            hour = file.read()
        connection = http.client.HTTPConnection('127.0.0.1', server.port, timeout=30)

        def post(player, body):
            connection.request('POST', '/api/scores', body,
                               {'Content-Type': 'application/octet-stream',
                                'X-Forwarded-For': player})
            answer = connection.getresponse()
            answer.read()
            return answer.status
        debtor = '2001:db8:ffff:1::1'
        first = post(debtor, hour)
        owed = post(debtor, b'x')
        started = time.time()
        for n in range(10000):
            post('2001:db8:%x:%x::1' % (n // 65536, n % 65536), b'x')
        took = time.time() - started
        after = post(debtor, b'x')
        connection.close()
    finally:
        server.stop()
    print('A debt: an hour-long replay %d, the next post %d; 10,000 junk posts from other /64s '
          'in %.1f s; then the debtor\'s post %d (%s)' %
          (first, owed, took, after, 'still owed' if after == 429 else 'FORGIVEN'), flush=True)


def cpu_seconds(pids):
    total = 0
    for pid in pids:
        try:
            with open('/proc/%d/stat' % pid) as stat:
                fields = stat.read().rsplit(')', 1)[1].split()
            total += int(fields[11]) + int(fields[12])
        except OSError:
            pass
    return total / TICKS


def children(pid):
    found = []
    for stat in glob.glob('/proc/[0-9]*/stat'):
        try:
            with open(stat) as text:
                fields = text.read().rsplit(')', 1)[1].split()
            if int(fields[1]) == pid:
                found.append(int(stat.split('/')[2]))
        except (OSError, ValueError):
            pass
    return found


def wrk(url, pids, headers=()):
    command = ['wrk', '-t2', '-c50', '-d5s']
    for header in headers:
        command += ['-H', header]
    before = cpu_seconds(pids)
    out = subprocess.run(command + [url], capture_output=True, text=True).stdout
    spent = cpu_seconds(pids) - before
    rate = float(re.search(r'Requests/sec:\s*([\d.]+)', out).group(1))
    total = int(re.search(r'(\d+) requests in', out).group(1))
    errors = re.findall(r'(Non-2xx or 3xx responses: \d+|Socket errors: [^\n]*)', out)
    return rate, spent * 10000 / max(total, 1), errors


def reads(binary, work, replays):
    # wrk's 50 connections come from one address.
    server = Server(binary, work, 'reads', ['--posts-per-minute', '1000000',
                                            '--connections-per-address', '1000'])
    nginx = None
    try:
        for game in sorted(glob.glob(os.path.join(replays, '*.replay')))[:100]:
            with open(game, 'rb') as file:
                request = urllib.request.Request(
                    'http://127.0.0.1:%d/api/scores' % server.port, data=file.read(),
                    headers={'Content-Type': 'application/octet-stream'})
            try:
                urllib.request.urlopen(request, timeout=30).read()
            except urllib.error.HTTPError:
                pass  # the same game listed already (409)
        answer = urllib.request.urlopen('http://127.0.0.1:%d/api/scores' % server.port)
        table = answer.read()
        tag = answer.headers.get('ETag')
        served = os.path.join(work, 'served')
        os.makedirs(served, exist_ok=True)
        with open(os.path.join(served, 'scores'), 'wb') as file:
            file.write(table)
        port = free_port()
        with open(os.path.join(work, 'plain.conf'), 'w') as conf:
            conf.write('pid %(w)s/plain.pid;\nerror_log %(w)s/plain-error.log;\n'
                       'worker_processes 1;\nevents {}\nhttp {\n    access_log %(w)s/plain.log;\n'
                       '    server {\n        listen 127.0.0.1:%(p)d;\n        root %(s)s;\n'
                       '        default_type text/plain;\n    }\n}\n' %
                       {'w': work, 'p': port, 's': served})
        nginx = subprocess.Popen(['nginx', '-p', work, '-c', os.path.join(work, 'plain.conf'),
                                  '-g', 'daemon off;'])
        time.sleep(0.5)
        nginx_pids = [nginx.pid] + children(nginx.pid)
        nginx_tag = urllib.request.urlopen('http://127.0.0.1:%d/scores' % port).headers['ETag']
        print('GET /api/scores (%d bytes, tag %s), wrk 2 threads, 50 connections, 5 s; nginx '
              'serving the same bytes from a file, one worker:' % (len(table), tag), flush=True)
        for label, headers, nginx_headers in (
                ('kept alive', (), ()),
                ('Connection: close', ('Connection: close',), ('Connection: close',)),
                ('If-None-Match (304)', ('If-None-Match: %s' % tag,) if tag else (),
                 ('If-None-Match: %s' % nginx_tag,))):
            ours = wrk('http://127.0.0.1:%d/api/scores' % server.port, [server.pid], headers)
            theirs = wrk('http://127.0.0.1:%d/scores' % port, nginx_pids, nginx_headers)
            print('  %-20s server %7.0f/s  nginx %7.0f/s  ratio %.2f  CPU per 10,000: server '
                  '%.2f s, nginx %.2f s (%.2fx)%s' %
                  (label, ours[0], theirs[0], ours[0] / theirs[0], ours[1], theirs[1],
                   ours[1] / max(theirs[1], 1e-9),
                   ''.join('  ' + e for e in ours[2] + theirs[2])), flush=True)
    finally:
        if nginx is not None:
            nginx.terminate()
            nginx.wait(10)
        server.stop()


def main():
    binary, work, replays = sys.argv[1:4]
    tampered = sys.argv[4] if len(sys.argv) > 4 else None
    os.makedirs(os.path.join(work, 'site'), exist_ok=True)
    os.chmod(work, 0o755)  # nginx's workers are not root
    with open('/proc/loadavg') as load:
        print('load average before: %s' % ' '.join(load.read().split()[:3]))
    reads(binary, work, replays)
    behind_nginx(binary, work)
    held_bodies(binary, work)
    full_table(binary, work)
    if tampered:
        debt(binary, work, tampered)
    with open('/proc/loadavg') as load:
        print('load average after: %s' % ' '.join(load.read().split()[:3]))
    shutil.rmtree(os.path.join(work, 'served'), ignore_errors=True)


if __name__ == '__main__':
    main()
