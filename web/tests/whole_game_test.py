"""The desktop's scripted whole game (223 points), built for the browser with the web layer under
it, ends in the same frame there as on the desktop: the same rules, keys and bombs.

usage: whole_game_test.py FOLDER_OF_THE_BROWSER_BUILD [DESKTOP_TEST_PROGRAM]"""

import os
import re
import subprocess
import sys
import time

import browser

ENDED = re.compile(r'The game ended in frame (\d+); level 4 was cleared in frame (\d+)\.')


def frames_on_desktop(program):
    env = dict(os.environ, SDL_VIDEODRIVER='dummy', SDL_AUDIODRIVER='dummy')
    run = subprocess.run([program, '--gtest_filter=WholeGame.*'], env=env, text=True,
                         stdout=subprocess.PIPE, stderr=subprocess.STDOUT, timeout=300)
    found = ENDED.search(run.stdout)
    if run.returncode != 0 or not found:
        browser.fail(None, 'the desktop game did not pass:\n' + run.stdout)
    return found.groups()


def frames_in_browser(folder):
    with browser.serve(folder) as url, browser.chromium() as driver:
        started = time.monotonic()
        driver.get(url)
        status = browser.wait_for(driver, 'return window.exitStatus !== undefined', 300,
                                  'the test program to end')
        status = driver.execute_script('return window.exitStatus')
        output = '\n'.join(driver.execute_script('return window.lines'))
        found = ENDED.search(output)
        if status != 0 or not found:
            browser.fail(driver, 'the game in the browser did not pass (status %s):\n%s'
                         % (status, output))
        print('browser: %.1f s for the whole game' % (time.monotonic() - started))
        return found.groups()


def main():
    web = frames_in_browser(sys.argv[1])
    print('browser: the game ended in frame %s, level 4 cleared in frame %s' % web)
    if len(sys.argv) > 2 and sys.argv[2]:
        desktop = frames_on_desktop(sys.argv[2])
        print('desktop: the game ended in frame %s, level 4 cleared in frame %s' % desktop)
        if web != desktop:
            browser.fail(None, 'the browser and the desktop differ')


if __name__ == '__main__':
    main()
