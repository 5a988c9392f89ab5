"""kill -9 of arcade-scores in the middle of a stream of posts: after a restart on the same file,
every score it acknowledged (201) is in the table.

usage: kill_test.py ARCADE_SCORES ARCADE_MAKE_REPLAYS"""

import os
import shutil
import sys
import tempfile
import threading

from scores_server import ScoresServer, make_replays, read

POSTS = 60
KILL_AFTER = 20  # acknowledged posts
POSTERS = 3  # so that posts are still on their way when the server dies


def main():
    server_binary, tool = sys.argv[1], sys.argv[2]
    work = tempfile.mkdtemp(prefix='arcade-kill-')
    games = make_replays(tool, POSTS, os.path.join(work, 'games'))
    db = 'sqlite:' + os.path.join(work, 'scores.sqlite')
    server = ScoresServer(server_binary, db)
    acknowledged = []
    enough = threading.Event()

    def post_all(share):
        for game in share:
            try:
                status, _, _ = server.post(read(game))
            except OSError:
                break  # the server is gone
            if status == 201:
                acknowledged.append(os.path.basename(game)[:-len('.replay')])
            if len(acknowledged) >= KILL_AFTER:
                enough.set()
        enough.set()

    posters = [threading.Thread(target=post_all, args=(games[i::POSTERS],))
               for i in range(POSTERS)]
    for poster in posters:
        poster.start()
    enough.wait(timeout=120)
    server.stop(kill=True)
    for poster in posters:
        poster.join(timeout=120)
    print('%d of %d posts acknowledged before kill -9' % (len(acknowledged), POSTS))

    again = ScoresServer(server_binary, db)
    try:
        table = again.table()
    finally:
        again.stop()
        shutil.rmtree(work)
    listed = {line.split(' points - ', 1)[1] for line in table.splitlines()}
    lost = [name for name in acknowledged if name not in listed]
    print('%d lines in the table after the restart; %d acknowledged scores lost' %
          (len(listed), len(lost)))
    passed = len(acknowledged) >= KILL_AFTER and not lost
    print('%d passed, %d failed' % (1 if passed else 0, 0 if passed else 1))
    return 0 if passed else 1


if __name__ == '__main__':
    sys.exit(main())
