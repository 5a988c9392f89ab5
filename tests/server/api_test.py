"""The score server's API against a running arcade-scores: proven scores go in and come out in the
table's order, a game is listed once (copies with some inputs changed included), every other post
is refused with its reason, and the site's files stay inside it.

usage: api_test.py ARCADE_SCORES ARCADE_MAKE_REPLAYS"""

import gzip
import hashlib
import json
import os
import random
import re
import shutil
import sqlite3
import subprocess
import sys
import tempfile

from scores_server import ScoresServer, make_replays, read

checks = []
# A whole four-level game, listed as Anna's, for copies to be made of.
WHOLE_GAME = os.path.join(os.path.dirname(os.path.abspath(__file__)), '..', 'replay',
                          'whole-game-223.replay')
ANNA = '223 points - Anna'


def check(holds, what):
    print(('ok    ' if holds else 'FAIL  ') + what, flush=True)
    checks.append(bool(holds))


def main():
    server_binary, tool = sys.argv[1], sys.argv[2]
    work = tempfile.mkdtemp(prefix='arcade-api-')
    games = make_replays(tool, 40, os.path.join(work, 'games'))
    honest, games = games[4:], games[:4]
    tampered = os.path.join(work, 'tampered')
    os.mkdir(tampered)
    subprocess.run([tool, '--tampered', games[0], tampered], check=True)
    copies = os.path.join(work, 'copies')
    os.mkdir(copies)
    subprocess.run([tool, '--copies', WHOLE_GAME, copies], check=True, stdout=subprocess.DEVNULL)
    site = os.path.join(work, 'site')
    os.mkdir(site)
    with open(os.path.join(site, 'index.html'), 'w') as page:
        page.write('<!doctype html><title>Arcade Game</title>')
    script = b'let frames = 0;\n' * 200
    with open(os.path.join(site, 'game.js'), 'wb') as file:
        file.write(script)
    with open(os.path.join(site, 'game.js.gz'), 'wb') as file:
        file.write(gzip.compress(script))
    with open(os.path.join(work, 'secret.txt'), 'w') as file:
        file.write('outside the site')
    os.symlink(os.path.join(work, 'secret.txt'), os.path.join(site, 'secret.txt'))
    # A folder beside the site whose name begins with the site's: outside all the same.
    os.mkdir(site + '-x')
    with open(os.path.join(site + '-x', 'secret.txt'), 'w') as file:
        file.write('outside the site')
    os.symlink(os.path.join(site + '-x', 'secret.txt'), os.path.join(site, 'sibling.txt'))

    server = ScoresServer(server_binary, 'sqlite:' + os.path.join(work, 'scores.sqlite'), site)
    try:
        check(server.table() == '', 'a new table is empty')

        # Proven games go in, each answered with the whole table in the game's order.
        lines = {}
        for game in games:
            status, _, body = server.post(read(game))
            name = os.path.basename(game)[:-len('.replay')]
            found = re.search(r'^(\d+) points - %s$' % name, body.decode(), re.M)
            check(status == 201 and found is not None, '%s is added (%d)' % (name, status))
            lines[name] = found.group(0) if found else ''
        expected = sorted(lines.values(), key=lambda line: -int(line.split()[0]))
        check(len(set(int(l.split()[0]) for l in expected)) > 1, 'the games differ in points')
        table = server.table()
        in_order = table == ''.join(line + '\n' for line in expected)
        check(in_order, 'the table lists every game, highest first' +
              ('' if in_order else ':\n' + table))
        status, _, body = server.post(read(games[1]))
        check(status == 200 and body.decode() == table, 'a game posted again is listed once')
        # The same play under other bytes or another name: the line it has, and no other.
        for stolen in ('stolen', 'stolen-numlock'):
            status, headers, body = server.post(read(os.path.join(tampered, stolen + '.replay')))
            check(status == 409 and body.decode().strip().endswith(lines['T0001']) and
                  headers.get('location', '').startswith('/api/replays/'),
                  'the first game as %s: %d %s' % (stolen, status, body.decode().strip()))
        check(server.table() == table, 'no copy of a game changed the table')

        # A listed game copied with one, ten and a hundred inputs changed (shots dropped, pauses
        # put in, arrows held a frame longer) and another name typed: the line it copies.
        status, _, _ = server.post(read(WHOLE_GAME))
        check(status == 201, "Anna's whole game is listed (%d)" % status)
        for copy in ('copy-1-shot', 'copy-1-pause', 'copy-1-held', 'copy-10', 'copy-100'):
            status, headers, body = server.post(read(os.path.join(copies, copy + '.replay')))
            said = body.decode().strip()
            check(status == 409 and said == 'this game copies one listed already: ' + ANNA and
                  headers.get('location', '').startswith('/api/replays/'),
                  '%s: %d %s' % (copy, status, said))
        table = server.table()
        check(table.count('223 points') == 1, 'Anna is the one line of 223 points')

        # Honest games, many of equal points, each listed; equal points in the order posted.
        order = honest[:]
        random.Random(35).shuffle(order)
        refused = []
        for game in order:
            status, _, body = server.post(read(game))
            if status != 201:
                refused.append('%s: %d %s' % (os.path.basename(game), status, body.decode().strip()))
        rows = json.loads(server.request('GET', '/api/scores.json')[2])
        points = [r['points'] for r in rows]
        ties = len(rows) - len(set(points))
        check(not refused and ties >= 10,
              '%d honest games listed, %d of them at points another has: %s' %
              (len(order), ties, refused or 'none refused'))
        posted = [os.path.basename(g)[:-len('.replay')] for g in games + order]
        ranked = sorted(rows, key=lambda r: (-r['points'], posted.index(r['name'])
                                             if r['name'] in posted else -1))
        check(rows == ranked and points == sorted(points, reverse=True),
              'equal points are listed in the order they were posted')
        table = server.table()

        status, headers, body = server.request('GET', '/api/scores.json')
        rows = json.loads(body)
        check(status == 200 and headers['content-type'].startswith('application/json') and
              ''.join('%02d points - %s\n' % (r['points'], r['name']) for r in rows) == table,
              'the JSON rows are the same, in the same order')
        first = next(r['id'] for r in rows if r['name'] == 'T0001')
        status, headers, body = server.request('GET', '/api/replays/%d' % first)
        check(status == 200 and body == read(games[0]) and
              headers['content-type'] == 'application/octet-stream',
              'a kept replay comes back byte for byte')
        check(server.request('GET', '/api/replays/999999')[0] == 404, 'an unknown replay: 404')
        for bad in ('0', '-1', 'x1', '1.5', '99999999999999999999'):
            check(server.request('GET', '/api/replays/' + bad)[0] == 400, 'replay id %s: 400' % bad)

        # Refusals, each with its status and its reason.
        refusals = [
            ('raised', 422, 'points, not '),
            ('renamed', 422, 'type the name'),
            ('paused', 422, 'not proven: '),
            ('markup', 422, 'not one the game lets a player type'),
            ('markup-before', 422, 'not one the game lets a player type'),
            ('over-an-hour', 422, 'longer than an hour'),
            ('nameless', 422, 'needs a name'),
            ('spaces', 422, 'needs a name'),
        ]
        for name, want, reason in refusals:
            status, _, body = server.post(read(os.path.join(tampered, name + '.replay')))
            check(status == want and reason in body.decode() and body.count(b'\n') == 1,
                  'a %s replay: %d %s' % (name, status, body.decode().strip()))
        # Exactly an hour is no longer than an hour: refused only as the game it is not.
        status, _, body = server.post(read(os.path.join(tampered, 'an-hour.replay')))
        check(status == 422 and 'longer than' not in body.decode(),
              'an-hour replay: %d %s' % (status, body.decode().strip()))
        cases = [
            ('garbage', b'GIF89a' + bytes(100), 'application/octet-stream', 400, 'not a replay'),
            ('cut short', read(games[0])[:-9], 'application/octet-stream', 400, 'not a replay'),
            ('wrong type', read(games[0]), 'application/x-www-form-urlencoded', 415, 'replay'),
            ('exactly 64 KiB', bytes(65536), 'application/octet-stream', 400, 'not a replay'),
            ('oversized', bytes(65537), 'application/octet-stream', 413, 'larger than'),
        ]
        for what, body, kind, want, reason in cases:
            status, _, answer = server.post(body, kind)
            check(status == want and reason in answer.decode(),
                  '%s: %d %s' % (what, status, answer.decode().strip()))
        check(server.table() == table, 'no refused post changed the table')
        answers = server.raw_post(b'GET /api/scores.json HTTP/1.1\r\nHost: x\r\n\r\n' * 2000)
        check(answers.count(b'HTTP/1.1 ') == 1 and b'413' in answers.split(b'\r\n')[0],
              'an oversized body is never taken for the requests it holds')

        # The site: its own files only, packed when the client takes gzip, with the page's policy.
        status, headers, body = server.request('GET', '/')
        check(status == 200 and b'Arcade Game' in body and
              "'wasm-unsafe-eval'" in headers.get('content-security-policy', '') and
              headers.get('x-content-type-options') == 'nosniff',
              'the page comes with its content policy and nosniff')
        status, headers, body = server.request('GET', '/game.js', None, {'Accept-Encoding': 'gzip'})
        check(status == 200 and headers.get('content-encoding') == 'gzip' and
              gzip.decompress(body) == script and headers['content-type'].startswith('text/javascript'),
              'game.js.gz is served packed to a client that takes gzip')
        status, headers, body = server.request('GET', '/game.js')
        check(status == 200 and body == script and 'content-encoding' not in headers,
              'game.js is served as it is to one that does not')
        # A file the browser holds already is not sent again; a changed one is.
        tag = headers.get('etag', '')
        status, _, body = server.request('GET', '/game.js', None, {'If-None-Match': tag})
        check(tag and status == 304 and body == b'', 'game.js unchanged since %s: 304' % tag)
        # A packed copy older than its file is not the file any more.
        changed = b'let frames = 1;\n' * 200
        with open(os.path.join(site, 'game.js'), 'wb') as file:
            file.write(changed)
        later = os.stat(os.path.join(site, 'game.js.gz')).st_mtime + 10
        os.utime(os.path.join(site, 'game.js'), (later, later))
        status, headers, body = server.request('GET', '/game.js', None, {'Accept-Encoding': 'gzip'})
        if headers.get('content-encoding') == 'gzip':
            body = gzip.decompress(body)
        check(status == 200 and body == changed, 'a game.js.gz older than game.js is not sent')
        status, _, body = server.request('GET', '/game.js', None, {'If-None-Match': tag})
        check(status == 200 and body == changed, 'a changed game.js is sent whole again')
        # A second server on the same port is refused, not let in to share the players.
        second = subprocess.Popen([server_binary, '--port', str(server.port), '--db',
                                   'sqlite:' + os.path.join(work, 'second.sqlite')],
                                  stdout=subprocess.PIPE, stderr=subprocess.PIPE, text=True)
        try:
            said = second.communicate(timeout=10)[1].strip()
        except subprocess.TimeoutExpired:
            second.kill()
            said = 'still serving after 10 s: ' + second.communicate()[0].strip()
        check(second.returncode not in (0, None) and 'cannot listen' in said,
              'a second server on a served port stops: %r' % said)
        for path in ('/secret.txt', '/sibling.txt', '/../site-x/secret.txt', '/../secret.txt', '/%2e%2e/secret.txt', '/..%2fsecret.txt',
                     '/' + os.path.join(work, 'secret.txt')):
            status, _, body = server.request('GET', path)
            check(status == 404 and b'outside' not in body, '%s is refused (%d)' % (path, status))
    finally:
        server.stop()

    # The per-address rate: a burst of its size, then 429 with the time to wait.
    limited = ScoresServer(server_binary, 'sqlite:' + os.path.join(work, 'limited.sqlite'),
                           posts_per_minute=2)
    try:
        answers = [limited.post(b'not a replay') for _ in range(3)]
        check([a[0] for a in answers] == [400, 400, 429] and
              int(answers[2][1].get('retry-after', '0')) > 0,
              'the third post in a minute at 2 a minute: %s' % [a[0] for a in answers])
    finally:
        limited.stop()
    # A replay of an hour pays twelve posts of the allowance, leaving 8 of 20 (and what refills
    # while it is proven): without that charge, none of the 15 posts after it would wait.
    limited = ScoresServer(server_binary, 'sqlite:' + os.path.join(work, 'long.sqlite'),
                           posts_per_minute=20)
    try:
        hour = limited.post(read(os.path.join(tampered, 'an-hour.replay')))
        answers = [limited.post(b'not a replay')[0] for _ in range(15)]
        check(hour[0] == 422 and answers[0] == 400 and 429 in answers,
              'an hour then 15 posts at 20 a minute: %d %s' % (hour[0], answers))
    finally:
        limited.stop()

    # A table an older server kept, with Anna's game in it: proven again for its fingerprint as
    # the server starts, so that a copy of it is known.
    old = os.path.join(work, 'old.sqlite')
    db = sqlite3.connect(old)
    db.executescript('CREATE TABLE scores (id INTEGER PRIMARY KEY, points INTEGER NOT NULL, '
                     'name TEXT NOT NULL, digest TEXT NOT NULL UNIQUE, replay BLOB NOT NULL);'
                     'CREATE INDEX scores_listed ON scores (points DESC, name DESC, id);')
    whole = read(WHOLE_GAME)
    db.execute('INSERT INTO scores (points, name, digest, replay) VALUES (?, ?, ?, ?)',
               (223, 'Anna', hashlib.sha256(whole).hexdigest(), whole))
    db.commit()
    db.close()
    again = ScoresServer(server_binary, 'sqlite:' + old)
    try:
        status, _, body = again.post(read(os.path.join(copies, 'copy-10.replay')))
        check(status == 409 and body.decode().strip().endswith(ANNA),
              'a copy of a game an older server kept: %d %s' % (status, body.decode().strip()))
    finally:
        again.stop()
        shutil.rmtree(work)

    failed = checks.count(False)
    print('%d passed, %d failed' % (len(checks) - failed, failed))
    return 1 if failed else 0


if __name__ == '__main__':
    sys.exit(main())
