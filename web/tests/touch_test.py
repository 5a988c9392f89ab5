"""The page played by touch alone on a phone held upright, as Chromium plays one: the buttons
shown, the game as wide as the screen, a game ended by a bomb, the name typed through the
page's field with the phone's keyboard, stored and listed.

usage: touch_test.py SITE_FOLDER ASSET_FOLDER"""

import sys
import time

from selenium.webdriver.common.by import By

import browser

PHONE = (412, 915)
NAME = 'Zoe K'


def tap(driver, element_id, hold=0.1):
    """A finger on the middle of the element, lifted after hold seconds."""
    x, y = driver.execute_script("""
        const box = document.getElementById(arguments[0]).getBoundingClientRect();
        return [box.left + box.width / 2, box.top + box.height / 2];""", element_id)
    point = [{'x': x, 'y': y}]
    driver.execute_cdp_cmd('Input.dispatchTouchEvent', {'type': 'touchStart', 'touchPoints': point})
    time.sleep(hold)
    driver.execute_cdp_cmd('Input.dispatchTouchEvent', {'type': 'touchEnd', 'touchPoints': []})
    time.sleep(0.2)


def main():
    site, assets = sys.argv[1], sys.argv[2]
    with browser.serve(site) as url, browser.chromium(PHONE) as driver:
        driver.get(url)
        menu = browser.picture_rgb(assets + '/menu.png')
        browser.wait_for(driver, 'return window.Module && Module.calledRun', 30, 'the game')
        deadline = time.monotonic() + 30
        while browser.canvas_rgb(driver) != menu:
            if time.monotonic() > deadline:
                browser.fail(driver, 'no menu')
            time.sleep(0.1)
        width = driver.execute_script(
            "return document.getElementById('screen').getBoundingClientRect().width")
        if driver.execute_script("return document.getElementById('touch').hidden") or \
                width < PHONE[0] * 0.9:
            browser.fail(driver, 'on a phone the buttons are hidden or the game is %d px wide'
                         % width)
        driver.execute_script("document.querySelectorAll('#touch button')"
                              ".forEach((b, i) => { b.id = b.id || 'touch' + i; })")

        tap(driver, 'touch3')  # Enter: play
        tap(driver, 'touch0', hold=0.5)  # held left: the cannon moves away from its start
        tap(driver, 'touch1')  # fire
        gameover = browser.picture_rgb(assets + '/gameover.png')
        deadline = time.monotonic() + 150
        while browser.share_equal(browser.canvas_rgb(driver), gameover) < 0.9:
            if time.monotonic() > deadline:
                browser.fail(driver, 'no bomb ended the game played by touch')
            time.sleep(0.5)

        field = driver.find_element(By.ID, 'name')
        tap(driver, 'name')
        field.send_keys(NAME + 'x')
        field.send_keys('\b')  # rubbed out again, as the phone's keyboard does
        tap(driver, 'touch3')  # confirm the name
        tap(driver, 'touch3')  # on to add the score
        time.sleep(0.5)
        tap(driver, 'touch3')  # store it
        browser.wait_for(driver, 'return Module.scoresKept > 0', 10, 'the score to be stored')
        lines = driver.execute_script(
            "return Module.FS.readFile('/saved/highscore.txt', {encoding: 'utf8'})").splitlines()
        if len(lines) != 1 or not lines[0].endswith(' - ' + NAME):
            browser.fail(driver, 'stored by touch: %r' % lines)
        print('played by touch on a %dx%d phone, the game %d px wide; stored %r'
              % (PHONE[0], PHONE[1], width, lines[0]))


if __name__ == '__main__':
    main()
