"""The page played by touch alone on a phone, as Chromium plays one. Upright: the buttons shown,
◀ ▶ together and Fire apart, the game as wide as the screen; on its side after resizes and
turns: the game as large as the height holds, the arrows left of it and Fire right. Two games
ended by a bomb: after each the name field takes the focus with the game's name in it, gives it
back once the name is confirmed, and Fire tapped as the game ends types nothing; the second name
typed over the first is stored exactly as the field shows it.

usage: touch_test.py SITE_FOLDER ASSET_FOLDER"""

import sys
import time

from selenium.webdriver.common.by import By
from selenium.webdriver.common.keys import Keys

import browser

PHONE = (390, 844)
NAMES = ('Zoe K', 'Bob')
FOCUSED = 'return document.activeElement && document.activeElement.id'
FIELD = "return document.getElementById('name').value"
SCORES = "return Module.FS.readFile('/saved/highscore.txt', {encoding: 'utf8'})"


def tap(driver, selector, hold=0.1):
    """A finger on the middle of the element, lifted after hold seconds."""
    x, y = driver.execute_script("""
        const box = document.querySelector(arguments[0]).getBoundingClientRect();
        return [box.left + box.width / 2, box.top + box.height / 2];""", selector)
    point = [{'x': x, 'y': y}]
    driver.execute_cdp_cmd('Input.dispatchTouchEvent', {'type': 'touchStart', 'touchPoints': point})
    time.sleep(hold)
    driver.execute_cdp_cmd('Input.dispatchTouchEvent', {'type': 'touchEnd', 'touchPoints': []})
    time.sleep(0.2)


def centre(driver, selector):
    return driver.execute_script("""
        const box = document.querySelector(arguments[0]).getBoundingClientRect();
        return {x: box.left + box.width / 2, y: box.top + box.height / 2,
                left: box.left, right: box.right};""", selector)


def check_thumbs(driver, landscape):
    """In landscape the arrows left of the game and Fire right of it; upright ◀ ▶ side by side
    and Fire well apart from them."""
    left, right = centre(driver, '[data-key=ArrowLeft]'), centre(driver, '[data-key=ArrowRight]')
    fire, game = centre(driver, '.fire'), centre(driver, '#screen')
    if landscape:
        fine = left['right'] <= game['left'] and right['right'] <= game['left'] and \
            fire['left'] >= game['right']
    else:
        fine = right['left'] - left['right'] < 20 and fire['left'] - right['right'] > 60
    if not fine:
        browser.fail(driver, 'the buttons lie %r %r %r around the game %r'
                     % (left, right, fire, game))


def sizes(driver):
    """The game's size on its side, fresh, after resizes and after turns of the phone: the same
    each time, as large as the height holds, and all of it in sight."""
    seen = []
    for width, height in ((844, 390), (700, 360), (844, 390), (390, 844), (844, 390),
                          (600, 900), (844, 390)):
        browser.set_viewport(driver, width, height, phone=True)
        if (width, height) == (844, 390):
            seen.append(browser.game_box(driver))
    if any(box != seen[0] for box in seen) or seen[0]['scale'] < 0.8 or not seen[0]['inside']:
        browser.fail(driver, 'at 844x390 the game was %r' % seen)
    check_thumbs(driver, landscape=True)
    browser.set_viewport(driver, *PHONE, phone=True)
    return seen[0]


def play_to_the_end(driver, assets):
    gameover = browser.picture_rgb(assets + '/gameover.png')
    tap(driver, '[data-key=Enter]')  # play
    tap(driver, '[data-key=ArrowLeft]', hold=0.5)  # the cannon moves away from its start
    tap(driver, '.fire')
    if driver.execute_script(FOCUSED) == 'name':
        browser.fail(driver, 'the name field kept the focus in play')
    deadline = time.monotonic() + 150
    while browser.share_equal(browser.canvas_rgb(driver), gameover) < 0.9:
        if time.monotonic() > deadline:
            browser.fail(driver, 'no bomb ended the game played by touch')
        time.sleep(0.05)
    # Still firing as the cannon is hit.
    tap(driver, '.fire', hold=0.05)
    tap(driver, '.fire', hold=0.05)


def store(driver, name, games):
    field = driver.find_element(By.ID, 'name')
    browser.wait_for(driver, "return document.activeElement.id === 'name'", 2,
                     'the name field to take the focus')
    before = driver.execute_script(FIELD)
    field.send_keys(Keys.CONTROL, 'a')  # all of the game's name, typed over
    field.send_keys(name + ' x')
    field.send_keys(Keys.BACKSPACE)  # rubbed out again, as the phone's keyboard does
    tap(driver, '[data-key=Enter]')  # confirm the name; the space after it goes
    if driver.execute_script(FOCUSED) == 'name' or driver.execute_script(FIELD) != name:
        browser.fail(driver, 'after the name was confirmed the field shows %r, focused: %s'
                     % (driver.execute_script(FIELD), driver.execute_script(FOCUSED)))
    tap(driver, '[data-key=Enter]')  # on to add the score
    time.sleep(0.5)
    tap(driver, '[data-key=Enter]')  # store it
    browser.wait_for(driver, 'return Module.scoresKept >= %d' % games, 10,
                     'the score to be stored')
    lines = driver.execute_script(SCORES).splitlines()
    if len(lines) != games or not any(line.endswith(' points - ' + name) for line in lines):
        browser.fail(driver, 'stored by touch: %r' % lines)
    return before, [line for line in lines if line.endswith(' - ' + name)][0]


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
        upright = browser.game_box(driver)
        if driver.execute_script("return document.getElementById('fire').hidden") or \
                upright['width'] < PHONE[0] * 0.9 or not upright['inside']:
            browser.fail(driver, 'on a phone the buttons are hidden or the game is %r' % upright)
        check_thumbs(driver, landscape=False)
        browser.wait_for(driver, "return !document.getElementById('hints').hidden", 2,
                         'the menu to name the phone\'s buttons')
        side = sizes(driver)
        print('upright %dx%d the game is %.3f; on its side at 844x390 %.3f, the same after '
              'resizes and turns' % (PHONE[0], PHONE[1], upright['scale'], side['scale']))

        for games, name in enumerate(NAMES, 1):
            if games > 1:
                tap(driver, '[data-key=Enter]')  # from the list back to the menu
            play_to_the_end(driver, assets)
            before, line = store(driver, name, games)
            print('game %d: the field showed %r, then stored %r' % (games, before, line))
            if games > 1 and before != NAMES[0]:
                browser.fail(driver, 'the second game\'s field began with %r' % before)


if __name__ == '__main__':
    main()
