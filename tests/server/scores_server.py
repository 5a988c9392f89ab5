"""Starts arcade-scores on a free port of this machine, for the tests that talk to it."""

import http.client
import os
import re
import socket
import subprocess


class ScoresServer:
    """One arcade-scores process; its table is kept in db (sqlite:PATH)."""

    def __init__(self, binary, db, site=None, posts_per_minute=1000, options=()):
        command = [binary, '--port', '0', '--db', db,
                   '--posts-per-minute', str(posts_per_minute)] + list(options)
        if site:
            command += ['--site', site]
        self.process = subprocess.Popen(command, stdout=subprocess.PIPE, text=True)
        line = self.process.stdout.readline()
        found = re.search(r'http://127\.0\.0\.1:(\d+)/', line)
        if not found:
            self.process.kill()
            raise RuntimeError('arcade-scores did not start: %r' % line)
        self.port = int(found.group(1))

    def request(self, method, path, body=None, headers=None):
        """(status, headers as a dict of lower-case names, body bytes)."""
        connection = http.client.HTTPConnection('127.0.0.1', self.port, timeout=30)
        try:
            connection.putrequest(method, path, skip_accept_encoding=True)
            for name, value in (headers or {}).items():
                connection.putheader(name, value)
            if body is not None:
                connection.putheader('Content-Length', str(len(body)))
            connection.endheaders(body)
            answer = connection.getresponse()
            return (answer.status, {k.lower(): v for k, v in answer.getheaders()},
                    answer.read())
        finally:
            connection.close()

    def post(self, body, content_type='application/octet-stream'):
        return self.request('POST', '/api/scores', body, {'Content-Type': content_type})

    def raw_post(self, body, wait=2):
        """Whatever comes back on one connection within wait seconds of posting body."""
        with socket.create_connection(('127.0.0.1', self.port)) as connection:
            connection.sendall(b'POST /api/scores HTTP/1.1\r\nHost: 127.0.0.1\r\n'
                               b'Content-Type: application/octet-stream\r\n'
                               b'Content-Length: %d\r\n\r\n' % len(body) + body)
            connection.settimeout(wait)
            answers = b''
            try:
                while True:
                    chunk = connection.recv(65536)
                    if not chunk:
                        break
                    answers += chunk
            except (socket.timeout, ConnectionResetError):
                pass
            return answers

    def rss_mb(self):
        """The server's resident memory, in MB."""
        with open('/proc/%d/status' % self.process.pid) as status:
            for line in status:
                if line.startswith('VmRSS:'):
                    return int(line.split()[1]) / 1024
        return 0

    def table(self):
        status, _, body = self.request('GET', '/api/scores')
        assert status == 200, status
        return body.decode()

    def stop(self, kill=False):
        if kill:
            self.process.kill()
        else:
            self.process.terminate()
        status = self.process.wait(timeout=30)
        self.process.stdout.close()
        # Stopped by SIGTERM it ends as it should, with nothing leaked (under the sanitizers).
        if not kill and status != 0:
            raise RuntimeError('arcade-scores ended with status %d' % status)


def read(path):
    with open(path, 'rb') as file:
        return file.read()


def make_replays(tool, count, folder):
    """count proven games as files in folder; their paths, the first game first."""
    subprocess.run([tool, str(count), folder], check=True, stdout=subprocess.DEVNULL)
    return [os.path.join(folder, 'T%04d.replay' % i) for i in range(1, count + 1)]
