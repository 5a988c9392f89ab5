"""The page played in headless Chromium as a player would: the menu exactly as its picture, Enter
to play, a game ended by a bomb, a typed name stored, the list showing it, and after a reload of
the page the list still there behind Space, also after Escape ended the game and it was played
again in place from the keyboard, thirty times over without the page growing; the game as large
as a wide window holds, and all of it in view after playing again from the keyboard; what the
page says without WebAssembly and without JavaScript (that alone).

usage: play_test.py SITE_FOLDER ASSET_FOLDER"""

import os
import sys
import time

from selenium.webdriver.common.by import By
from selenium.webdriver.common.keys import Keys

import browser

TEXT = (255, 0, 255)  # the game's text colour
NAME = 'Ann B'
NOTE = "return document.getElementById('scores-note').textContent"
UNSENT = "return JSON.parse(localStorage.getItem('arcade-game.unsent') || '[]').length"
PLAY_AGAIN = 30
# Windows in which the game is played again from the keyboard, all of it in view each time: two
# with the site's table beside the game, and one where Play again lies below it.
AGAIN_WINDOWS = ((1366, 768), (1920, 1080), (900, 700))
# Every AudioContext the page makes, and whether it still runs.
COUNT_AUDIO = """
    window.audioContexts = [];
    const Made = window.AudioContext;
    window.AudioContext = function (options) {
      const context = new Made(options);
      window.audioContexts.push(context);
      return context;
    };
    window.AudioContext.prototype = Made.prototype;"""
LIVE_AUDIO = "return window.audioContexts.filter(c => c.state !== 'closed').length"
# The canvas compared in the page with the one it kept the first time, for the browser holds on to
# every large answer a script sends back, which would count as the page's own memory.
SAME_AS_KEPT = """
    const canvas = document.getElementById('screen');
    const copy = document.createElement('canvas');
    copy.width = canvas.width;
    copy.height = canvas.height;
    const context = copy.getContext('2d', {willReadFrequently: true});
    context.drawImage(canvas, 0, 0);
    const now = context.getImageData(0, 0, copy.width, copy.height).data;
    const kept = window.keptScreen = window.keptScreen || now;
    for (let i = 0; i < now.length; i++) {
      if (now[i] !== kept[i]) {
        return false;
      }
    }
    return true;"""


def text_pixels(rgb, left, top, width, height):
    """Pixels of the game's text colour within a region of the canvas."""
    count = 0
    for y in range(top, top + height):
        row = rgb[(y * 640 + left) * 3:(y * 640 + left + width) * 3]
        count += sum(1 for i in range(0, len(row), 3) if tuple(row[i:i + 3]) == TEXT)
    return count


class Player:
    def __init__(self, driver, assets):
        self.driver = driver
        self.assets = assets

    def picture(self, name):
        return browser.picture_rgb(os.path.join(self.assets, name))

    def press(self, *keys):
        self.driver.find_element(By.ID, 'screen').send_keys(*keys)
        time.sleep(0.2)

    def press_with_a_late_keypress(self, character):
        """A key whose keypress, which carries its character, comes some frames after its
        keydown: the browser may hand them to the page in separate tasks."""
        self.driver.execute_script("""
            var canvas = document.getElementById('screen'), key = arguments[0];
            var code = key.toUpperCase().charCodeAt(0);
            function send(type, numbers) {
              var event = new KeyboardEvent(type, {key: key, bubbles: true,
                                                   shiftKey: key !== key.toLowerCase()});
              Object.keys(numbers).forEach(function (name) {
                Object.defineProperty(event, name, {value: numbers[name]});
              });
              canvas.dispatchEvent(event);
            }
            send('keydown', {keyCode: code, which: code});
            setTimeout(function () {
              send('keypress', {charCode: key.charCodeAt(0), which: key.charCodeAt(0)});
              send('keyup', {keyCode: code, which: code});
            }, 200);""", character)
        time.sleep(0.4)

    def wait_for_picture(self, name, timeout, what):
        """Waits until the canvas shows exactly the picture; returns the seconds it took."""
        expected = self.picture(name)
        started = time.monotonic()
        while browser.canvas_rgb(self.driver) != expected:
            if time.monotonic() - started > timeout:
                browser.fail(self.driver, 'waited %ds for %s (%s)' % (timeout, what, name))
            time.sleep(0.1)
        return time.monotonic() - started

    def saved_scores(self):
        return self.driver.execute_script(
            "return Module.FS.readFile('/saved/highscore.txt', {encoding: 'utf8'})")

    def ended(self):
        return self.driver.execute_script(
            "return document.getElementById('status').textContent.indexOf('ended') >= 0")

    def bytes_on_the_wire(self):
        return self.driver.execute_script(
            "return performance.getEntriesByType('navigation').concat("
            "performance.getEntriesByType('resource'))"
            ".reduce((sum, entry) => sum + entry.transferSize, 0)")

    def rendering(self):
        return self.driver.execute_script(
            "return getComputedStyle(document.getElementById('screen')).imageRendering")

    def scroll(self):
        return self.driver.execute_script('return window.scrollY')


def main():
    site, assets = sys.argv[1], sys.argv[2]
    with browser.serve(site) as url, browser.chromium() as driver:
        player = Player(driver, assets)
        started = time.monotonic()
        driver.get(url)
        player.wait_for_picture('menu.png', 30, 'the menu')
        print('the menu showed %.2f s after the page was asked for, %d bytes on the wire'
              % (time.monotonic() - started, player.bytes_on_the_wire()))

        # A window smaller than the page: the keys of the game must not scroll it.
        driver.set_window_size(500, 450)
        if not driver.execute_script('return document.documentElement.scrollHeight > innerHeight'):
            browser.fail(driver, 'the page fits the small window, so scrolling cannot be tried')
        # Shrunk, the game is drawn smoothly, or whole rows of its text go missing.
        if player.rendering() != 'auto':
            browser.fail(driver, 'the shrunk game is drawn %r' % player.rendering())
        # Count the sounds the browser is asked to play.
        driver.execute_script("""
            window.soundsPlayed = 0;
            const play = HTMLMediaElement.prototype.play;
            HTMLMediaElement.prototype.play = function () {
              window.soundsPlayed++;
              return play.apply(this, arguments);
            };
            const start = AudioBufferSourceNode.prototype.start;
            AudioBufferSourceNode.prototype.start = function () {
              window.soundsPlayed++;
              return start.apply(this, arguments);
            };""")
        player.press(Keys.ENTER)
        play = player.picture('bg.png')
        shown = browser.canvas_rgb(driver)
        if browser.share_equal(shown, play) < 0.9:
            browser.fail(driver, 'Enter did not start play (%.2f of the background shown)'
                         % browser.share_equal(shown, play))
        player.press(Keys.ARROW_DOWN, Keys.SPACE, Keys.ARROW_LEFT, Keys.ARROW_RIGHT, Keys.SPACE)
        if player.scroll() != 0:
            browser.fail(driver, 'the keys of the game scrolled the page to %s' % player.scroll())
        sounds = driver.execute_script('return window.soundsPlayed')
        if any(name.endswith('.wav') for name in os.listdir(assets)) and sounds == 0:
            browser.fail(driver, 'the game played no sound on Enter and Space')
        print('%d sounds played on Enter and two shots' % sounds)
        driver.set_window_size(800, 800)
        time.sleep(0.2)
        if player.rendering() != 'pixelated':
            browser.fail(driver, 'the game at its own size is drawn %r' % player.rendering())

        # The cannon stands still, so only a bomb can end this game.
        took = player.wait_for_picture('gameover.png', 150, 'a bomb to end the game')
        print('a bomb ended the game after %.0f s' % took)

        # The capital is typed as the frames take its keydown, before its keypress arrives.
        player.press_with_a_late_keypress(NAME[0])
        player.press(NAME[1:])
        player.press(Keys.ENTER)
        player.press(Keys.ENTER)
        player.wait_for_picture('addscorebg.png', 5, 'the add-score screen')
        player.press(Keys.ENTER)
        lines = player.saved_scores().splitlines()
        if len(lines) != 1 or not lines[0].endswith(' points - ' + NAME):
            browser.fail(driver, 'stored %r' % lines)
        listed = browser.canvas_rgb(driver)
        first, second = text_pixels(listed, 50, 60, 240, 26), text_pixels(listed, 50, 90, 240, 26)
        if first == 0 or second != 0:
            browser.fail(driver, 'the list shows %d and %d text pixels in its first two rows'
                         % (first, second))
        browser.wait_for(driver, 'return Module.scoresKept > 0', 10, 'the scores to be kept')
        # Loading and a whole game leave the console free of warnings: no picture decoded and
        # read back at every shot, and no window icon asked for.
        troubles = [entry['message'] for entry in driver.get_log('browser')
                    if entry['level'] in ('WARNING', 'SEVERE')]
        if troubles:
            browser.fail(driver, 'the console holds %d warnings: %s' % (len(troubles), troubles))
        print('stored %r, listed in %d text pixels' % (lines[0], first))
        # Hosted as plain files, there is no table: none is promised, and no game waits for one.
        note = browser.wait_for(driver, NOTE, 10, 'the page to say where scores stay')
        if note != 'Scores stay in this browser.' or driver.execute_script(UNSENT):
            browser.fail(driver, 'hosted as plain files the page says %r with %d games waiting'
                         % (note, driver.execute_script(UNSENT)))
        print('hosted as plain files the page says: %s' % note)

        # A wide window: the game as large as its height holds, all of it in sight.
        browser.set_viewport(driver, 1920, 937)
        box = browser.game_box(driver)
        if box['scale'] < 1.9 or not box['inside']:
            browser.fail(driver, 'at 1920x937 the game is at %.3f, within the window: %s'
                         % (box['scale'], box['inside']))
        print('at 1920x937 the game is shown at %.3f (%dx%d)'
              % (box['scale'], box['width'], box['height']))
        driver.execute_cdp_cmd('Emulation.clearDeviceMetricsOverride', {})
        driver.execute_cdp_cmd('Page.addScriptToEvaluateOnNewDocument', {'source': COUNT_AUDIO})

        driver.refresh()
        player.wait_for_picture('menu.png', 30, 'the menu after a reload')

        # Escape in full screen only leaves it; on the menu it ends the game, which the page says
        # at once, and playing again in place brings back the menu and the stored list.
        player.press(Keys.F11)
        browser.wait_for(driver, 'return document.fullscreenElement', 5, 'full screen')
        player.press(Keys.ESCAPE)
        browser.wait_for(driver, 'return !document.fullscreenElement', 5, 'full screen to end')
        time.sleep(0.3)
        if player.ended() or browser.canvas_rgb(driver) != player.picture('menu.png'):
            browser.fail(driver, 'Escape in full screen reached the game')
        player.press(Keys.ESCAPE)
        started = time.monotonic()
        browser.wait_for(driver, "return !document.getElementById('again').hidden", 1,
                         'the page to say at once that the game has ended')
        print('the page said the game had ended %.2f s after Escape: %s'
              % (time.monotonic() - started, player.ended()))
        # The page's button has the keys: Enter and Space both press it.
        measured = []
        for turn in range(PLAY_AGAIN):
            if turn:
                player.press(Keys.ESCAPE)
                browser.wait_for(driver, "return !document.getElementById('again').hidden", 5,
                                 'the game to end')
            focused = driver.switch_to.active_element
            if focused.get_attribute('id') != 'again':
                browser.fail(driver, 'the game ended with the focus on %r'
                             % focused.get_attribute('outerHTML')[:80])
            if turn < len(AGAIN_WINDOWS):
                browser.set_viewport(driver, *AGAIN_WINDOWS[turn])
                focused = driver.switch_to.active_element
            focused.send_keys(Keys.SPACE if turn % 2 else Keys.ENTER)
            # The ended game left the menu on the canvas: the page says when the next one runs.
            browser.wait_for(driver, "return document.getElementById('status').textContent"
                             " === '' && Module.calledRun", 10, 'the game to run again')
            if turn < len(AGAIN_WINDOWS):
                box = browser.game_box(driver)
                keys = driver.switch_to.active_element.get_attribute('id')
                if not box['inside'] or keys != 'screen':
                    browser.fail(driver, 'played again at %dx%d: the game at %r, the keys on %r'
                                 % (AGAIN_WINDOWS[turn] + (box, keys)))
                print('played again from the keyboard at %dx%d: all of the game in view, at %.3f'
                      % (AGAIN_WINDOWS[turn] + (box['scale'],)))
                if turn == len(AGAIN_WINDOWS) - 1:
                    driver.execute_cdp_cmd('Emulation.clearDeviceMetricsOverride', {})
            if turn:
                browser.wait_for(driver, SAME_AS_KEPT, 10, 'the menu after playing again')
            else:
                player.wait_for_picture('menu.png', 10, 'the menu after playing again')
                driver.execute_script(SAME_AS_KEPT)
            if turn in (0, PLAY_AGAIN - 1):
                time.sleep(1)
                measured.append((browser.js_heap(driver), browser.renderer_memory(driver),
                                 browser.listener_counts(driver),
                                 driver.execute_script(LIVE_AUDIO)))
                print('after playing again %d times: JS heap %.1f MB, renderer %.1f MB, '
                      'listeners %s, %d AudioContext running'
                      % (turn + 1, measured[-1][0] / 1e6, measured[-1][1] / 1e6,
                         measured[-1][2], measured[-1][3]))

        (heap, rss, listeners, _), (heap_after, rss_after, listeners_after, audio) = measured
        if heap_after > 1.1 * heap or rss_after > 1.1 * rss or listeners_after != listeners \
                or audio != 1:
            browser.fail(driver, 'playing again %d times left the page holding more'
                         % PLAY_AGAIN)

        player.press(Keys.SPACE)
        time.sleep(0.2)
        if browser.canvas_rgb(driver) != listed:
            browser.fail(driver, 'after a reload and a new game, Space does not show the same list')
        print('after a reload and a new game, Space on the menu shows the same list')

        # A browser without WebAssembly is told so instead of being left with a black box.
        driver.execute_cdp_cmd('Page.addScriptToEvaluateOnNewDocument',
                               {'source': 'delete window.WebAssembly;'})
        driver.refresh()
        said = browser.wait_for(driver, "return document.getElementById('status').className"
                                " === 'trouble' && document.getElementById('status').textContent",
                                10, 'the page to say that the game cannot run')
        if 'WebAssembly' not in said:
            browser.fail(driver, 'without WebAssembly the page says %r' % said)
        print('without WebAssembly the page says: %s' % said)

        driver.execute_cdp_cmd('Emulation.setScriptExecutionDisabled', {'value': True})
        driver.refresh()
        said = driver.find_element(By.TAG_NAME, 'noscript').text
        if 'JavaScript' not in said or driver.find_element(By.TAG_NAME, 'main').is_displayed():
            browser.fail(driver, 'without JavaScript the page says %r, and shows more' % said)
        print('without JavaScript the page says: %s' % said)


if __name__ == '__main__':
    main()
