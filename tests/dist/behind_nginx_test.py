"""The package's nginx site in front of two arcade-scores on one PostgreSQL database, as a host
runs them (the site's own file, with this machine's ports and without TLS): the page, served by
nginx, plays and stores a game through it in Chromium; with one server killed the next store still
succeeds; the servers, trusting nginx, count the post limit by the players' own addresses.

Run beside a throwaway database (tools/with-postgres sets ARCADE_PG_URL).
usage: behind_nginx_test.py SITE_FOLDER ASSET_FOLDER SCORE_SERVER"""

import http.client
import os
import re
import shutil
import signal
import socket
import subprocess
import sys
import tempfile
import time

HERE = os.path.dirname(os.path.abspath(__file__))
SOURCE = os.path.dirname(os.path.dirname(HERE))
sys.path.insert(0, os.path.join(SOURCE, 'web', 'tests'))
sys.path.insert(0, HERE)
import browser  # noqa: E402
import nginx_site  # noqa: E402
from play_test import Player  # noqa: E402
from shared_table_test import play_and_store  # noqa: E402


WORK = tempfile.mkdtemp(prefix='arcade-nginx-')


def fail(message):
    print('FAIL: ' + message, file=sys.stderr)
    for log in ('servers.log', 'access.log', 'error.log'):
        if os.path.exists(os.path.join(WORK, log)):
            with open(os.path.join(WORK, log)) as lines:
                for line in lines:
                    print('%s: %s' % (log, line.rstrip()), file=sys.stderr)
    sys.exit(1)


def free_port():
    with socket.socket() as probe:
        probe.bind(('127.0.0.1', 0))
        return probe.getsockname()[1]


def start_server(binary, db, log):
    """One server on a free port, trusting nginx on this machine, one post a minute a player."""
    server = subprocess.Popen([binary, '--port', '0', '--db', db, '--trust-proxy', '127.0.0.1',
                               '--posts-per-minute', '1'], stdout=subprocess.PIPE, stderr=log,
                              text=True)
    found = re.search(r'http://127\.0\.0\.1:(\d+)/', server.stdout.readline())
    if not found:
        server.kill()
        fail('a score server did not start')
    return server, int(found.group(1))


def post(port, game, source):
    """The status of posting game to nginx from the local address source."""
    with open(game, 'rb') as file:
        body = file.read()
    connection = http.client.HTTPConnection('127.0.0.1', port, timeout=30,
                                            source_address=(source, 0))
    try:
        connection.request('POST', '/api/scores', body,
                           {'Content-Type': 'application/octet-stream'})
        return connection.getresponse().status
    finally:
        connection.close()


def listed(port):
    connection = http.client.HTTPConnection('127.0.0.1', port, timeout=10)
    try:
        connection.request('GET', '/api/scores')
        return connection.getresponse().read().decode()
    finally:
        connection.close()


def main():
    site, assets, binary = sys.argv[1:4]
    db = os.environ['ARCADE_PG_URL']
    replays = os.path.join(os.path.dirname(binary), 'tests', 'server', 'arcade-make-replays')
    work = WORK
    os.chmod(work, 0o755)  # nginx's workers are not root
    servers, nginx = [], None
    log = open(os.path.join(work, 'servers.log'), 'w')
    try:
        subprocess.run([replays, '2', os.path.join(work, 'games')], check=True,
                       stdout=subprocess.DEVNULL)
        servers = [start_server(binary, db, log) for _ in range(2)]
        port = free_port()
        try:
            nginx = nginx_site.start(work, site, port, [one for _, one in servers])
        except RuntimeError as error:
            fail(str(error))

        # The page from nginx, a game played and stored through it.
        with browser.chromium() as driver:
            player = Player(driver, assets)
            driver.get('http://127.0.0.1:%d/' % port)
            player.wait_for_picture('menu.png', 30, 'the menu')
            play_and_store(player, 'Proxied')
            deadline = time.monotonic() + 30
            while ' - Proxied' not in listed(port):
                if time.monotonic() > deadline:
                    fail('the game stored through nginx is not listed')
                time.sleep(0.2)

        # One server dies outright; nginx passes the next stores to the other.
        servers[0][0].kill()
        servers[0][0].wait()
        first, second = (os.path.join(work, 'games', 'T%04d.replay' % i) for i in (1, 2))
        statuses = [post(port, first, '127.0.0.2'), post(port, second, '127.0.0.2'),
                    post(port, second, '127.0.0.3')]
        # One post a minute a player: the second from 127.0.0.2 waits, 127.0.0.3's goes in.
        if statuses != [201, 429, 201]:
            fail('posts from two players behind nginx, one server dead, got %r' % statuses)
        with open(os.path.join(work, 'error.log')) as errors:
            if 'Connection refused' not in errors.read():
                fail('nginx never tried the dead server, so nothing was shown')
        table = listed(port)
        if not all(' - %s' % name in table for name in ('Proxied', 'T0001', 'T0002')):
            fail('the table lacks a store: %r' % table)
        print('stored through nginx: %s; with one server killed: %r from two players'
              % (table.splitlines(), statuses))
    finally:
        if nginx is not None:
            nginx.send_signal(signal.SIGQUIT)
            nginx.wait(10)
        for server, _ in servers:
            if server.poll() is None:
                server.terminate()
                server.wait(10)
        log.close()
        shutil.rmtree(work, ignore_errors=True)


if __name__ == '__main__':
    main()
