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


def wait_for(driver, script, timeout, what, *arguments):
    """Runs script (given the arguments) until it returns something true; fails the test after
    timeout seconds."""
    deadline = time.monotonic() + timeout
    while True:
        value = driver.execute_script(script, *arguments)
        if value:
            return value
        if time.monotonic() > deadline:
            fail(driver, 'waited %ds for %s' % (timeout, what))
        time.sleep(0.05)


def set_viewport(driver, width, height, phone=False):
    """The page's window as width x height CSS pixels, as a phone of that size would have it
    (turned on its side when wider than tall) where phone is true."""
    metrics = {'width': width, 'height': height, 'deviceScaleFactor': 2 if phone else 1,
               'mobile': phone}
    if phone:
        metrics['screenOrientation'] = {
            'type': 'landscapePrimary' if width > height else 'portraitPrimary',
            'angle': 90 if width > height else 0}
    driver.execute_cdp_cmd('Emulation.setDeviceMetricsOverride', metrics)
    time.sleep(0.3)


def game_box(driver):
    """Where the game shows on the page: its scale, and whether all of it lies within the
    window."""
    return driver.execute_script("""
        const box = document.getElementById('screen').getBoundingClientRect();
        return {scale: box.height / 480, width: box.width, height: box.height,
                inside: box.left >= 0 && box.top >= 0 && box.right <= innerWidth + 0.5 &&
                        box.bottom <= innerHeight + 0.5,
                window: [innerWidth, innerHeight]};""")


def js_heap(driver):
    """The bytes the page's JavaScript holds after a collection of its garbage."""
    driver.execute_cdp_cmd('HeapProfiler.collectGarbage', {})
    return driver.execute_cdp_cmd('Runtime.getHeapUsage', {})['usedSize']


def listener_counts(driver):
    """The event listeners on the window, the document and the game's canvas."""
    counts = {}
    for name, expression in (('window', 'window'), ('document', 'document'),
                             ('canvas', "document.getElementById('screen')")):
        found = driver.execute_cdp_cmd('Runtime.evaluate', {'expression': expression})
        listeners = driver.execute_cdp_cmd('DOMDebugger.getEventListeners', {
            'objectId': found['result']['objectId']})['listeners']
        counts[name] = len(listeners)
    return counts


def renderer_memory(driver):
    """The resident bytes of the browser's renderer processes, those that run pages."""
    def children(pid):
        found = []
        try:
            for thread in os.listdir('/proc/%d/task' % pid):
                with open('/proc/%d/task/%s/children' % (pid, thread)) as listed:
                    found.extend(int(child) for child in listed.read().split())
        except OSError:
            pass
        return found
    total = 0
    waiting = [driver.service.process.pid]
    while waiting:
        pid = waiting.pop()
        waiting.extend(children(pid))
        try:
            with open('/proc/%d/cmdline' % pid, 'rb') as command:
                if b'--type=renderer' not in command.read():
                    continue
            with open('/proc/%d/status' % pid) as state:
                for line in state:
                    if line.startswith('VmRSS:'):
                        total += int(line.split()[1]) * 1024
        except OSError:
            pass
    return total


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
