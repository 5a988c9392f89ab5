"""Takes docs/browser.png: the page in headless Chromium a few seconds into a game, the cannon
firing as it moves.

usage: screenshot.py SITE_FOLDER OUTPUT_PNG"""

import os
import sys
import time

from selenium.webdriver.common.action_chains import ActionChains
from selenium.webdriver.common.by import By
from selenium.webdriver.common.keys import Keys

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), 'tests'))
import browser  # noqa: E402


def main():
    site, output = sys.argv[1], sys.argv[2]
    with browser.serve(site) as url, browser.chromium() as driver:
        driver.set_window_size(800, 900)
        driver.get(url)
        browser.wait_for(driver, "return document.getElementById('status').textContent === ''",
                         30, 'the game to start')
        canvas = driver.find_element(By.ID, 'screen')
        canvas.send_keys(Keys.ENTER)
        # Walk right while firing, then hold still and fire, so that bullets are in the air.
        actions = ActionChains(driver)
        actions.key_down(Keys.ARROW_RIGHT)
        for _ in range(6):
            actions.send_keys(Keys.SPACE).pause(0.25)
        actions.key_up(Keys.ARROW_RIGHT)
        for _ in range(8):
            actions.send_keys(Keys.SPACE).pause(0.15)
        actions.perform()
        driver.save_screenshot(output)


if __name__ == '__main__':
    main()
