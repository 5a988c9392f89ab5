"""A game played on the page in headless Chromium leaves its replay in the browser's file system,
and the desktop game proves it with --verify: the same points and name, from the same bombs. The
replays outlive the visit, as the scores do.

usage: replay_test.py SITE_FOLDER ASSET_FOLDER DESKTOP_GAME"""

import os
import re
import subprocess
import sys
import tempfile
import time

from selenium.webdriver.common.keys import Keys

import browser
from play_test import Player

NAME = 'Web Ann'
STORED = re.compile(r'^(\d+) points - (.*)$')


def play_a_game(player, driver):
    """Enter, a shot now and then from where the cannon stands until a bomb finds it, then the
    name typed and the score stored. Returns the line stored."""
    player.press(Keys.ENTER)
    ended = player.picture('gameover.png')
    deadline = time.monotonic() + 150
    while browser.canvas_rgb(driver) != ended:
        if time.monotonic() > deadline:
            browser.fail(driver, 'waited 150 s for a bomb to end the game')
        player.press(Keys.SPACE)
    # A shot pressed as the game ended is a space typed into the name.
    player.press(Keys.BACKSPACE, Keys.BACKSPACE, NAME, Keys.ENTER, Keys.ENTER)
    player.wait_for_picture('addscorebg.png', 5, 'the add-score screen')
    player.press(Keys.ENTER)
    browser.wait_for(driver, 'return Module.scoresKept > 0', 10, 'the score to be kept')
    lines = player.saved_scores().splitlines()
    if len(lines) != 1 or not STORED.match(lines[0]):
        browser.fail(driver, 'stored %r' % lines)
    return lines[0]


def main():
    site, assets, desktop = sys.argv[1], sys.argv[2], sys.argv[3]
    with browser.serve(site) as url, browser.chromium() as driver:
        player = Player(driver, assets)
        driver.get(url)
        player.wait_for_picture('menu.png', 30, 'the menu')
        stored = play_a_game(player, driver)
        replay = bytes(driver.execute_script(
            "return Array.from(Module.FS.readFile('/play/last.replay'))"))
        kept = driver.execute_script("return Module.FS.readdir('/play/replays')")
        # The score and the replay each end in a copy to the browser's storage; a later visit
        # still has the replay.
        browser.wait_for(driver, 'return Module.scoresKept >= 2', 10, 'the replay to be kept')
        driver.get(url)
        player.wait_for_picture('menu.png', 30, 'the menu again')
        kept_later = driver.execute_script("return Module.FS.readdir('/play/replays')")
    points, name = STORED.match(stored).groups()
    if sorted(kept_later) != sorted(kept):
        browser.fail(None, 'replays/ held %r after the game and %r on the next visit'
                     % (kept, kept_later))
    print('the browser stored %r and kept a replay of %d bytes, %r in replays/'
          % (stored, len(replay), [file for file in kept if file.endswith('.replay')]))

    with tempfile.TemporaryDirectory(prefix='arcade-web-replay-') as folder:
        path = os.path.join(folder, 'last.replay')
        with open(path, 'wb') as file:
            file.write(replay)
        run = subprocess.run([desktop, '--verify', path], text=True, stdout=subprocess.PIPE,
                             stderr=subprocess.STDOUT, timeout=60)
    said = run.stdout.strip()
    print('desktop --verify: %s (status %d)' % (said, run.returncode))
    expected = re.compile(r'^%s: %d points?, \d+ frames?, "%s": proven$'
                          % (re.escape(path), int(points), re.escape(name)))
    if run.returncode != 0 or not expected.match(said):
        browser.fail(None, 'the desktop does not prove the browser\'s game of %s points by %r'
                     % (points, name))


if __name__ == '__main__':
    main()
