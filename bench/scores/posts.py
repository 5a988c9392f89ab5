"""What posts cost a score server, from outside, on this machine only (127.0.0.x).

usage: posts.py PORT LIMITED_PORT WHOLE_GAME GAMES TAMPERED

PORT is a server with no practical post limit, LIMITED_PORT one with the default limit per
address; WHOLE_GAME a real four-level game's replay; GAMES a folder of short proven games;
TAMPERED the folder arcade-make-replays --tampered wrote (far.replay: a game said to begin after
10^8 draws). Prints: whole games proven a second by one client and by four at once, and the
ratio; the time and status of the far replay; and real posts answered while four addresses post
far replays within their limit."""

import glob
import http.client
import os
import sys
import threading
import time

SINGLE = 4
PARALLEL = 4
EACH = 3


def post(port, body, source='127.0.0.1', timeout=60):
    started = time.time()
    connection = http.client.HTTPConnection('127.0.0.1', port, timeout=timeout,
                                            source_address=(source, 0))
    try:
        connection.request('POST', '/api/scores', body,
                           {'Content-Type': 'application/octet-stream'})
        answer = connection.getresponse()
        answer.read()
        return answer.status, time.time() - started
    except OSError:
        return 0, time.time() - started
    finally:
        connection.close()


def read(path):
    with open(path, 'rb') as file:
        return file.read()


def main():
    port, limited = int(sys.argv[1]), int(sys.argv[2])
    whole = read(sys.argv[3])
    games = sorted(glob.glob(os.path.join(sys.argv[4], '*.replay')))
    far = read(os.path.join(sys.argv[5], 'far.replay'))

    post(port, whole)  # the first is stored; the rest are proven all the same, and kept once
    started = time.time()
    statuses = [post(port, whole)[0] for _ in range(SINGLE)]
    single = SINGLE / (time.time() - started)
    results = []

    def poster():
        for _ in range(EACH):
            results.append(post(port, whole)[0])
    started = time.time()
    threads = [threading.Thread(target=poster) for _ in range(PARALLEL)]
    for thread in threads:
        thread.start()
    for thread in threads:
        thread.join()
    parallel = PARALLEL * EACH / (time.time() - started)
    print('  whole games (223 points) proven: %.2f/s by one client, %.2f/s by %d at once: '
          '%.2fx  (statuses %s / %s)' % (single, parallel, PARALLEL, parallel / single,
                                         sorted(set(statuses)), sorted(set(results))))
    status, took = post(port, far)
    print('  a replay said to begin after 10^8 draws: %d in %.2f s' % (status, took))

    # Four addresses post far replays within their limit, one after another each; meanwhile real
    # games arrive from a fifth.
    stop = threading.Event()
    attacks = []

    def attacker(source):
        for _ in range(10):
            if stop.is_set():
                return
            attacks.append(post(limited, far, source)[0])
    threads = [threading.Thread(target=attacker, args=('127.0.4.%d' % i,)) for i in range(1, 5)]
    for thread in threads:
        thread.start()
    time.sleep(0.5)
    real = [post(limited, read(game), '127.0.4.9') for game in games[:8]]
    stop.set()
    for thread in threads:
        thread.join()
    slowest = max(took for _, took in real)
    print('  during far posts from 4 addresses (%d of them, statuses %s): real posts %s, '
          'slowest %.2f s' % (len(attacks), sorted(set(attacks)),
                              [status for status, _ in real], slowest))


if __name__ == '__main__':
    main()
