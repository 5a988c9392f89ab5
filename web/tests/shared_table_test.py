"""The site's shared table, played in two browsers of their own against one score server: each
stores a game, and the first browser's open page shows the second's within half a minute; each
then lists both; a reload keeps them; the play of a listed game stored again is told over the game
in a player's words, and after a reload the page still shows it, marked as the visitor's own; with
the server stopped the page loads from the browser alone, lists the browser's own scores and says
that they stay there; a game stored meanwhile waits in the browser and reaches the table soon
after the server is back, with no reload; Tab leads from the game through every Watch link; a new
build is what the first reload after its deploy runs, and a page open meanwhile says that it is
ready and loads it at its menu.

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

from selenium.common.exceptions import WebDriverException
from selenium.webdriver.common.by import By
from selenium.webdriver.common.keys import Keys

import browser
from play_test import Player, text_pixels

WEB = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
LISTED = "return Module.FS.readFile('/play/highscore.txt', {encoding: 'utf8'})"
UNSENT = "JSON.parse(localStorage.getItem('arcade-game.unsent') || '[]').length"
NOTE = "return document.getElementById('scores-note').textContent"
TOLD = ("return !document.getElementById('told').hidden && "
        "document.getElementById('told').textContent")
STYLES = "return document.querySelector('link[rel=stylesheet]').getAttribute('href')"
# Where the game's line of a name shows on the page: the row's classes, if it lies in view.
ROW_IN_VIEW = """
    const row = Array.from(document.querySelectorAll('#rows li'))
      .find(item => item.firstChild.textContent.endsWith(' - ' + arguments[0]));
    if (!row) { return null; }
    const box = row.getBoundingClientRect();
    return box.top >= 0 && box.bottom <= innerHeight && box.right <= innerWidth ?
      row.className + ': ' + row.textContent : 'out of view';"""
# The time an open page may take to show a game stored elsewhere.
LIVE_WITHIN = 30
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


def reloaded(driver, styles):
    """Whether the page runs with the stylesheet named so, while it may be loading anew."""
    try:
        return driver.execute_script(STYLES) == styles
    except WebDriverException:
        return False


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
                # Bob's game shows up on Ann's open page by itself, on the page and in the game.
                started = time.monotonic()
                browser.wait_for(first, "return document.getElementById('rows').textContent"
                                 ".indexOf(' - Bob') >= 0 && %s.indexOf(' - Bob') >= 0"
                                 % LISTED[len('return '):], LIVE_WITHIN,
                                 'the other browser\'s game on the open page')
                print('a game stored in another browser showed on the open page %.1f s later'
                      % (time.monotonic() - started))
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
                # Tab leaves the game for the page's buttons, then every link in turn; Shift+Tab
                # comes back to it.
                first.find_element(By.ID, 'screen').click()
                order = []
                steps = 0
                while len(order) < len(watch) and steps < len(watch) + 4:
                    first.switch_to.active_element.send_keys(Keys.TAB)
                    steps += 1
                    if first.switch_to.active_element.tag_name == 'a':
                        order.append(first.switch_to.active_element.get_attribute('href'))
                for _ in range(steps):
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
                # 409 with its line, and the page lets it go rather than sending it for ever. It
                # says so over the game, and the game stays the visitor's own on the page.
                browser.set_viewport(second, 1366, 768)
                second.refresh()
                bob.wait_for_picture('menu.png', 30, 'the menu after a reload')
                play_and_store(bob, 'Eve')
                browser.wait_for(second, 'return %s === 0' % UNSENT, 10,
                                 'the page to let go of a game the table lists already')
                told = browser.wait_for(second, TOLD, 5, 'the page to tell of the refusal')
                if not told.startswith('This exact game is on the table already as '):
                    browser.fail(second, 'the refused game was told as %r' % told)
                print('the play of a listed game stored again under another name: 409, let go, '
                      'told over the game: %s' % told)
                second.refresh()
                bob.wait_for_picture('menu.png', 30, 'the menu after a reload')
                row = browser.wait_for(second, ROW_IN_VIEW, 10, 'the refused game on the page',
                                       'Eve')
                if not row.startswith('own: '):
                    browser.fail(second, 'after a reload the refused game shows as %r' % row)
                print('after a reload the page shows it beside the table: %s' % row)

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
                                '-DPAGE=' + os.path.join(WEB, 'page', 'index.html.in'),
                                '-DWORKER=' + os.path.join(WEB, 'page', 'service-worker.js.in'),
                                '-P', os.path.join(WEB, 'OfflineSite.cmake')], check=True)
                # As a build does last: the compressed copies the server sends in their place.
                subprocess.run(['cmake', '-DSITE_DIR=' + site, '-DGZIP=gzip',
                                '-P', os.path.join(WEB, 'CompressSite.cmake')], check=True,
                               stdout=subprocess.DEVNULL)
                with open(os.path.join(site, 'service-worker.js')) as worker:
                    name = re.search(r"CACHE = '([^']+)'", worker.read()).group(1)
                with open(os.path.join(site, 'index.html')) as page:
                    styles = re.search(r'href="(page\.css\?v=[0-9a-f]+)"', page.read()).group(1)
                old = first.execute_script('return caches.keys()')
                first.refresh()
                ann.wait_for_picture('menu.png', 30, 'the new build\'s menu')
                if first.execute_script(STYLES) != styles:
                    browser.fail(first, 'the first reload after a deploy ran the page with %r, '
                                 'not %r' % (first.execute_script(STYLES), styles))
                browser.wait_for(first, 'return caches.keys().then(k => k.join() === %r)' % name,
                                 20, 'the new build\'s cache alone')
                # Only the refused connections while the server was gone show in the console.
                clean_console(first, allowed=('ERR_CONNECTION_REFUSED',))
                print('the first reload after a deploy ran the new build, its cache %s in place '
                      'of %s' % (name, old))
                # The page open all along hears of the new build as it asks, says so, and loads
                # it at its menu.
                second.execute_script('navigator.serviceWorker.getRegistration()'
                                      '.then(found => found.update())')
                said = browser.wait_for(
                    second, "return !document.getElementById('update-note').hidden && "
                    "document.getElementById('update-note').textContent", 20,
                    'the open page to hear of the new build')
                deadline = time.monotonic() + 20
                while not reloaded(second, styles):
                    if time.monotonic() > deadline:
                        browser.fail(second, 'the open page did not load the new build')
                    time.sleep(0.2)
                bob.wait_for_picture('menu.png', 30, 'the new build\'s menu')
                if first.execute_script("return document.getElementById('update-note').hidden"):
                    print('the page open during the deploy said: %s; and loaded it at its menu'
                          % said)
                else:
                    browser.fail(first, 'the new build\'s page said a newer one was ready')
    finally:
        shutil.rmtree(folder, ignore_errors=True)


if __name__ == '__main__':
    main()
