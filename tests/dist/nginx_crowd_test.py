"""A crowd through the package's nginx site, in front of one score server and then two, each
started as the service's unit starts it (its limits as shipped, nginx on this machine trusted):
1,000 players' connections at once, from 100 addresses within nginx's own limits for each, all
answered, none refused by a server nginx passes them to.

usage: nginx_crowd_test.py SCORE_SERVER"""

import os
import re
import shutil
import socket
import subprocess
import sys
import tempfile

HERE = os.path.dirname(os.path.abspath(__file__))
sys.path.insert(0, HERE)
sys.path.insert(0, os.path.join(os.path.dirname(HERE), 'server'))
import crowd  # noqa: E402
import nginx_site  # noqa: E402

CONNECTIONS = 1000
PER_ADDRESS = 10  # within nginx's limits for one player: 32 connections, 20 requests a second
REQUESTS = 3


def unit_defaults():
    """The options the service's unit starts the server with, from its own file."""
    unit = os.path.join(nginx_site.SOURCE, 'dist', 'scores', 'arcade-scores.service.in')
    with open(unit) as lines:
        text = lines.read()
    found = dict(re.findall(r'\b([A-Z_]+)=([^ \n]*)', ''.join(
        line for line in text.splitlines(True) if line.startswith('Environment='))))
    return ['--posts-per-minute', found['POSTS_PER_MINUTE'], '--connections',
            found['CONNECTIONS'], '--connections-per-address', found['CONNECTIONS_PER_ADDRESS'],
            '--trust-proxy', found['TRUST_PROXY']]


def start_server(binary, work, name):
    server = subprocess.Popen([binary, '--port', '0', '--db', 'sqlite:' + os.path.join(work, name)]
                              + unit_defaults(),
                              stdout=subprocess.PIPE, stderr=subprocess.DEVNULL, text=True)
    found = re.search(r'http://127\.0\.0\.1:(\d+)/', server.stdout.readline())
    if not found:
        server.kill()
        raise RuntimeError('a score server did not start')
    return server, int(found.group(1))


def free_port():
    with socket.socket() as probe:
        probe.bind(('127.0.0.1', 0))
        return probe.getsockname()[1]


def main():
    binary = sys.argv[1]
    work = tempfile.mkdtemp(prefix='arcade-crowd-')
    os.chmod(work, 0o755)  # nginx's workers are not root
    os.mkdir(os.path.join(work, 'site'))
    servers = []
    failed = 0
    try:
        servers = [start_server(binary, work, 'scores-%d.sqlite' % i) for i in range(2)]
        for count in (1, 2):
            port = free_port()
            nginx = nginx_site.start(work, os.path.join(work, 'site'), port,
                                     [one for _, one in servers[:count]])
            try:
                statuses = crowd.reads(port, CONNECTIONS, PER_ADDRESS, REQUESTS, 0.5)
            finally:
                nginx.terminate()
                nginx.wait(10)
            wanted = CONNECTIONS * REQUESTS
            holds = statuses == {'200': wanted}
            failed += not holds
            print('%s %d connections through nginx to %d server%s: %s' %
                  ('ok   ' if holds else 'FAIL ', CONNECTIONS, count, 's' if count > 1 else '',
                   dict(statuses)), flush=True)
            if not holds:
                with open(os.path.join(work, 'error.log')) as errors:
                    print(''.join(errors.readlines()[-5:]), file=sys.stderr)
    finally:
        for server, _ in servers:
            server.terminate()
            server.wait(10)
        shutil.rmtree(work, ignore_errors=True)
    print('%d passed, %d failed' % (2 - failed, failed))
    return 1 if failed else 0


if __name__ == '__main__':
    sys.exit(main())
