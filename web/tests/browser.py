"""What the browser tests share: the site served on a free local port, a headless Chromium driven
by Selenium in a profile of its own, and the game's canvas read back pixel by pixel."""

import base64
import contextlib
import os
import shutil
import subprocess
import sys
import tempfile
import threading
import time

from selenium import webdriver
from selenium.webdriver.chrome.service import Service

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), '..'))
import serve as site_server  # noqa: E402

CHROMIUM_FLAGS = [
    '--headless', '--no-sandbox', '--disable-gpu', '--disable-quic', '--no-first-run',
    '--disable-background-networking', '--disable-component-update', '--disable-sync',
    '--window-size=800,800',
]


@contextlib.contextmanager
def serve(folder):
    """Serves folder on 127.0.0.1 at a port the system picks; yields the page's address."""
    server = site_server.server(folder, 0, quiet=True)
    thread = threading.Thread(target=server.serve_forever, daemon=True)
    thread.start()
    try:
        yield 'http://127.0.0.1:%d/' % server.server_address[1]
    finally:
        server.shutdown()
        server.server_close()


@contextlib.contextmanager
def chromium(phone=None):
    """A headless Chromium with a fresh profile, so no storage is left from another run; given a
    phone's (width, height), one that plays that phone, touch screen and all."""
    profile = tempfile.mkdtemp(prefix='arcade-chromium-')
    options = webdriver.ChromeOptions()
    if phone:
        options.add_experimental_option('mobileEmulation', {'deviceMetrics': {
            'width': phone[0], 'height': phone[1], 'pixelRatio': 2.0, 'touch': True}})
    options.binary_location = os.environ.get('CHROMIUM', '/usr/bin/chromium')
    for flag in CHROMIUM_FLAGS + ['--user-data-dir=' + profile]:
        options.add_argument(flag)
    options.set_capability('goog:loggingPrefs', {'browser': 'ALL'})
    service = Service(os.environ.get('CHROMEDRIVER', '/usr/bin/chromedriver'))
    driver = webdriver.Chrome(service=service, options=options)
    try:
        yield driver
    finally:
        driver.quit()
        shutil.rmtree(profile, ignore_errors=True)


def wait_for(driver, script, timeout, what):
    """Runs script until it returns something true; fails the test after timeout seconds."""
    deadline = time.monotonic() + timeout
    while True:
        value = driver.execute_script(script)
        if value:
            return value
        if time.monotonic() > deadline:
            fail(driver, 'waited %ds for %s' % (timeout, what))
        time.sleep(0.05)


def canvas_rgb(driver):
    """The game's canvas as bytes, three a pixel, rows from the top."""
    encoded = driver.execute_script("""
        // Read through a copy made for reading, so that the test's own readbacks of the game's
        // canvas leave no warning in the console, which must stay free of them.
        const canvas = document.getElementById('screen');
        const copy = document.createElement('canvas');
        copy.width = canvas.width;
        copy.height = canvas.height;
        const context = copy.getContext('2d', {willReadFrequently: true});
        context.drawImage(canvas, 0, 0);
        const data = context.getImageData(0, 0, canvas.width, canvas.height).data;
        const rgb = new Uint8Array(data.length / 4 * 3);
        for (let i = 0, j = 0; i < data.length; i += 4) {
          rgb[j++] = data[i]; rgb[j++] = data[i + 1]; rgb[j++] = data[i + 2];
        }
        let text = '';
        for (let i = 0; i < rgb.length; i += 0x8000) {
          text += String.fromCharCode.apply(null, rgb.subarray(i, i + 0x8000));
        }
        return btoa(text);""")
    return base64.b64decode(encoded)


def picture_rgb(path):
    """A PNG as bytes, three a pixel, decoded by ImageMagick rather than by the browser."""
    return subprocess.run(['convert', path, '-depth', '8', 'rgb:-'], check=True,
                          stdout=subprocess.PIPE).stdout


def share_equal(a, b):
    """The share of pixels that are exactly alike in two pictures of the same size."""
    same = sum(1 for i in range(0, len(a), 3) if a[i:i + 3] == b[i:i + 3])
    return same / (len(a) // 3)


def fail(driver, message):
    print('FAIL:', message, file=sys.stderr)
    if driver is not None:
        for entry in driver.get_log('browser'):
            print('browser:', entry.get('message'), file=sys.stderr)
        keep = os.path.join(tempfile.gettempdir(), 'arcade-web-failure-%d.png' % os.getpid())
        if driver.save_screenshot(keep):
            print('page kept in', keep, file=sys.stderr)
    sys.exit(1)
