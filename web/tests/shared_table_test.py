"""The site's shared table, played in two browsers of their own against one score server: each
stores a game, each then lists both; a reload keeps them; with the server stopped the page loads
from the browser alone, lists the browser's own scores and says that they stay there; a game
stored meanwhile waits in the browser and reaches the table soon after the server is back, with
no reload; Tab leads from the game through every Watch link; a new build replaces the old one kept
for playing offline.

usage: shared_table_test.py SITE_FOLDER ASSET_FOLDER SCORE_SERVER"""

import contextlib
import os
import re
import shutil
import socket
import subprocess
import sys
import tempfile
import time
import urllib.request

from selenium.webdriver.common.by import By
from selenium.webdriver.common.keys import Keys

import browser
from play_test import Player, text_pixels

WEB = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
LISTED = "return Module.FS.readFile('/play/highscore.txt', {encoding: 'utf8'})"
UNSENT = "JSON.parse(localStorage.getItem('arcade-game.unsent') || '[]').length"
NOTE = "return document.getElementById('scores-note').textContent"
# The page's first wait before it tries the server again, shortened from half a minute.
RETRY_MS = 3000


def free_port():
    with socket.socket() as probe:
        probe.bind(('127.0.0.1', 0))
        return probe.getsockname()[1]


@contextlib.contextmanager
def score_server(binary, site, folder, port):
    """The score server on port with its table in folder; stopped on leaving."""
    server = subprocess.Popen([binary, '--port', str(port), '--site', site,
                               '--db', 'sqlite:' + os.path.join(folder, 'scores.db')])
    url = 'http://127.0.0.1:%d/' % port
    deadline = time.monotonic() + 20
    while True:
        try:
            urllib.request.urlopen(url + 'api/scores', timeout=1).read()
            break
        except OSError:
            if server.poll() is not None or time.monotonic() > deadline:
                server.kill()
                browser.fail(None, 'the score server did not come up on %s' % url)
            time.sleep(0.1)
    try:
        yield url
    finally:
        server.terminate()
        server.wait(10)


def play_and_store(player, name, shots=0):
    """A game ended by a bomb, its score stored under name; waits until the server has it.
    Games of the same shots are the same game to the table, which lists each game once."""
    player.press(Keys.ENTER)
    for _ in range(shots):
        player.press(Keys.SPACE)
    player.wait_for_picture('gameover.png', 150, 'a bomb to end the game')
    player.press(name)
    player.press(Keys.ENTER)
    player.press(Keys.ENTER)
    player.wait_for_picture('addscorebg.png', 5, 'the add-score screen')
    player.press(Keys.ENTER)


def mostly_showing(player, name, what):
    """Waits until nine tenths of the canvas show the picture, whatever is drawn over it."""
    expected = player.picture(name)
    deadline = time.monotonic() + 60
    while browser.share_equal(browser.canvas_rgb(player.driver), expected) < 0.9:
        if time.monotonic() > deadline:
            browser.fail(player.driver, 'waited 60s for %s (%s)' % (what, name))
        time.sleep(0.2)


def listed_rows(player):
    """Rows of the list screen that show text, from the menu."""
    player.press(Keys.SPACE)
    shown = browser.canvas_rgb(player.driver)
    rows = [text_pixels(shown, 50, 60 + 30 * row, 240, 26) > 0 for row in range(4)]
    player.press(Keys.ENTER)
    return rows.index(False) if False in rows else len(rows)


def clean_console(driver, allowed=()):
    troubles = [entry['message'] for entry in driver.get_log('browser')
                if entry['level'] in ('WARNING', 'SEVERE')
                and not any(word in entry['message'] for word in allowed)]
    if troubles:
        browser.fail(driver, 'the console holds %d warnings: %s' % (len(troubles), troubles))


def main():
    built, assets, binary = sys.argv[1:4]
    folder = tempfile.mkdtemp(prefix='arcade-table-')
    # A copy, which a new build replaces in the end.
    site = os.path.join(folder, 'site')
    shutil.copytree(built, site)
    port = free_port()
    try:
        with browser.chromium() as first, browser.chromium() as second:
            ann, bob = Player(first, assets), Player(second, assets)
            with score_server(binary, site, folder, port) as url:
                for player, name, shots in ((ann, 'Ann', 0), (bob, 'Bob', 1)):
                    player.driver.get(url)
                    player.wait_for_picture('menu.png', 30, 'the menu')
                    play_and_store(player, name, shots)
                    browser.wait_for(player.driver, 'return %s === 0' % UNSENT, 10,
                                     'the game to reach the server')
                # Bob's store answered with the whole table; Ann sees it after a reload.
                first.refresh()
                ann.wait_for_picture('menu.png', 30, 'the menu after a reload')
                for player in (ann, bob):
                    lines = player.driver.execute_script(LISTED).splitlines()
                    names = sorted(line.split(' - ', 1)[1] for line in lines)
                    if names != ['Ann', 'Bob'] or listed_rows(player) != 2:
                        browser.fail(player.driver, 'listed %r' % lines)
                    clean_console(player.driver)
                watch = first.find_elements(By.CSS_SELECTOR, '#rows a')
                print('both browsers list %r; the page offers %d games to watch'
                      % (lines, len(watch)))
                # Tab leaves the game for every link in turn; Shift+Tab comes back to it.
                first.find_element(By.ID, 'screen').click()
                order = []
                for _ in watch:
                    first.switch_to.active_element.send_keys(Keys.TAB)
                    order.append(first.switch_to.active_element.get_attribute('href') or
                                 first.switch_to.active_element.tag_name)
                for _ in watch:
                    first.switch_to.active_element.send_keys(Keys.SHIFT, Keys.TAB)
                back = first.switch_to.active_element.get_attribute('id')
                links = [link.get_attribute('href') for link in watch]
                if order != links or back != 'screen':
                    browser.fail(first, 'Tab from the game reached %r of %r, Shift+Tab %r'
                                 % (order, links, back))
                print('Tab from the game reached the %d Watch links in order, and came back'
                      % len(links))
                # A game watched from the table plays to its end as it was played, its list
                # follows, and Enter there brings the menu back.
                started = time.monotonic()
                watch[0].click()
                mostly_showing(ann, 'gameover.png', 'the watched game to end')
                mostly_showing(ann, 'showscorebg.png', 'the watched game\'s list')
                ann.press(Keys.ENTER)
                ann.wait_for_picture('menu.png', 10, 'the menu after watching')
                print('watched a game from the table to its end in %.0f s, then the menu'
                      % (time.monotonic() - started))
                # The play of a listed game is that game, whoever stores it: the table answers
                # 409 with its line, and the page lets it go rather than sending it for ever.
                second.refresh()
                bob.wait_for_picture('menu.png', 30, 'the menu after a reload')
                play_and_store(bob, 'Eve')
                browser.wait_for(second, 'return %s === 0' % UNSENT, 10,
                                 'the page to let go of a game the table lists already')
                print('the play of a listed game stored again under another name: 409, let go')

            # The server gone: the page comes from the browser, which lists its own game only.
            first.execute_cdp_cmd('Page.addScriptToEvaluateOnNewDocument',
                                  {'source': 'window.arcadeFirstRetryMs = %d;' % RETRY_MS})
            first.refresh()
            ann.wait_for_picture('menu.png', 30, 'the menu without the server')
            note = browser.wait_for(first, NOTE, 10, 'the page to say where scores stay')
            own = first.execute_script(LISTED).splitlines()
            if 'stay in this browser' not in note or len(own) != 1 or \
                    not own[0].endswith(' - Ann') or listed_rows(ann) != 1:
                browser.fail(first, 'without the server the page says %r and lists %r'
                             % (note, own))
            print('without the server the page loads from the browser and says: %s' % note)
            play_and_store(ann, 'Cy', 2)
            browser.wait_for(first, 'return %s === 1' % UNSENT, 10,
                             'the game to wait in the browser')

            with score_server(binary, site, folder, port):
                # Neither a reload nor the browser coming online: the page tries again by itself.
                started = time.monotonic()
                browser.wait_for(first, 'return %s === 0' % UNSENT, 60,
                                 'the waiting game to reach the server')
                print('the game stored during the outage reached the server %.1f s after it '
                      'came back' % (time.monotonic() - started))
                first.refresh()
                ann.wait_for_picture('menu.png', 30, 'the menu with the server back')
                lines = first.execute_script(LISTED).splitlines()
                if len(lines) != 3 or listed_rows(ann) != 3:
                    browser.fail(first, 'with the server back the list is %r' % lines)
                print('the game stored without the server reached it later: %r' % lines)

                # A new build: at the next visit its worker takes over and the old cache goes.
                with open(os.path.join(site, 'page.css'), 'a') as page:
                    page.write('\n/* the next build */\n')
                subprocess.run(['cmake', '-DSITE_DIR=' + site,
                                '-DTEMPLATE=' + os.path.join(WEB, 'page', 'service-worker.js.in'),
                                '-P', os.path.join(WEB, 'OfflineSite.cmake')], check=True)
                # As a build does last: the compressed copies the server sends in their place.
                subprocess.run(['cmake', '-DSITE_DIR=' + site, '-DGZIP=gzip',
                                '-P', os.path.join(WEB, 'CompressSite.cmake')], check=True,
                               stdout=subprocess.DEVNULL)
                with open(os.path.join(site, 'service-worker.js')) as worker:
                    name = re.search(r"CACHE = '([^']+)'", worker.read()).group(1)
                old = first.execute_script('return caches.keys()')
                first.refresh()
                ann.wait_for_picture('menu.png', 30, 'the older build\'s menu')
                browser.wait_for(first, 'return caches.keys().then(k => k.join() === %r)' % name,
                                 20, 'the new build\'s cache alone')
                # Only the refused connections while the server was gone show in the console.
                clean_console(first, allowed=('ERR_CONNECTION_REFUSED',))
                # The older build's page never starts its game again with the new build's files.
                ann.press(Keys.ESCAPE)
                said = browser.wait_for(first, "return document.getElementById('again').hidden"
                                        " && document.getElementById('status').textContent",
                                        5, 'the game to end')
                if 'reload' not in said:
                    browser.fail(first, 'the older build ended saying %r' % said)
                print('a new build replaced the cache %s with %s; its older page said: %s'
                      % (old, name, said))
    finally:
        shutil.rmtree(folder, ignore_errors=True)


if __name__ == '__main__':
    main()
