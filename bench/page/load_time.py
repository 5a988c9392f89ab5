"""How soon the page shows its menu and how many bytes that takes: the site served by the score
server (arcade-scores, which sends FILE.gz where it lies beside FILE), loaded in headless Chromium
with a fresh profile each time, at full speed on this machine and throttled by Chromium's own
network emulation to 1.6 Mbit/s down with 150 ms latency. The time runs from the page being asked
for to the first frame of the menu on the game's canvas; the bytes are all that came over the wire
until then, headers included.

usage: load_time.py SITE_FOLDER ARCADE_SCORES ASSET_FOLDER"""

import contextlib
import json
import os
import re
import shutil
import statistics
import subprocess
import sys
import tempfile
import time

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), '..', '..', 'web',
                                'tests'))
import browser  # noqa: E402

RUNS = 3
# (name, target in seconds, Network.emulateNetworkConditions or None)
CONDITIONS = [
    ('localhost', 0.5, None),
    ('1.6 Mbit/s, 150 ms', 2.5, {'offline': False, 'latency': 150,
                                 'downloadThroughput': 1.6e6 / 8,
                                 'uploadThroughput': 750e3 / 8}),
]
BEFORE = 'before: 1,052,393 bytes on the wire, the menu after 6.3 s at 1.6 Mbit/s and 150 ms'
SAMPLE_STEP = 16  # every 16th pixel of every 16th row is held against the menu's picture

# Watches the canvas at every animation frame from the page's very start, and notes when it first
# shows the menu and how many bytes had come by then.
WATCHER = """
(function () {
  const expected = %s;
  const step = %d;
  function look() {
    const canvas = document.getElementById('screen');
    if (canvas && canvas.width === 640 && canvas.height === 480) {
      // The same context the game asks for: the first one asked for is the one the canvas keeps.
      const context = canvas.getContext('2d', {willReadFrequently: true});
      const data = context.getImageData(0, 0, 640, 480).data;
      let same = true;
      for (let i = 0, y = 0; y < 480 && same; y += step) {
        for (let x = 0; x < 640; x += step, i += 3) {
          const at = (y * 640 + x) * 4;
          if (data[at] !== expected[i] || data[at + 1] !== expected[i + 1] ||
              data[at + 2] !== expected[i + 2]) {
            same = false;
            break;
          }
        }
      }
      if (same) {
        window.menuShownAt = performance.now();
        window.menuBytes = performance.getEntriesByType('navigation')
          .concat(performance.getEntriesByType('resource'))
          .reduce((sum, entry) => sum + entry.transferSize, 0);
        return;
      }
    }
    requestAnimationFrame(look);
  }
  requestAnimationFrame(look);
})();
"""


@contextlib.contextmanager
def score_server(program, site):
    """arcade-scores on a free port of 127.0.0.1 with an empty table; yields the page's address."""
    work = tempfile.mkdtemp(prefix='arcade-load-time-')
    log_path = os.path.join(work, 'server.log')
    with open(log_path, 'w') as log:
        server = subprocess.Popen([program, '--bind', '127.0.0.1', '--port', '0', '--site', site,
                                   '--db', 'sqlite:' + os.path.join(work, 'scores.sqlite')],
                                  stdout=log, stderr=subprocess.STDOUT)
    try:
        deadline = time.monotonic() + 30
        port = None
        while port is None:
            with open(log_path) as log:
                found = re.search(r'http://127\.0\.0\.1:(\d+)/', log.read())
            if found:
                port = found.group(1)
            elif server.poll() is not None or time.monotonic() > deadline:
                with open(log_path) as log:
                    sys.exit('the score server did not start:\n' + log.read())
            else:
                time.sleep(0.1)
        yield 'http://127.0.0.1:%s/' % port
    finally:
        server.terminate()
        server.wait(timeout=10)
        shutil.rmtree(work, ignore_errors=True)


def samples_of(picture):
    rgb = browser.picture_rgb(picture)
    values = []
    for y in range(0, 480, SAMPLE_STEP):
        for x in range(0, 640, SAMPLE_STEP):
            values.extend(rgb[(y * 640 + x) * 3:(y * 640 + x) * 3 + 3])
    return values


def load_once(url, watcher, network):
    """Seconds to the menu and bytes on the wire by then, in a browser of its own."""
    with browser.chromium() as driver:
        driver.execute_cdp_cmd('Network.enable', {})
        driver.execute_cdp_cmd('Network.setCacheDisabled', {'cacheDisabled': True})
        if network:
            driver.execute_cdp_cmd('Network.emulateNetworkConditions', network)
        driver.execute_cdp_cmd('Page.addScriptToEvaluateOnNewDocument', {'source': watcher})
        driver.get(url)
        browser.wait_for(driver, 'return window.menuShownAt !== undefined', 60, 'the menu')
        return (driver.execute_script('return window.menuShownAt') / 1000,
                driver.execute_script('return window.menuBytes'))


def site_bytes(site):
    plain = packed = 0
    for name in os.listdir(site):
        path = os.path.join(site, name)
        if name.endswith('.gz') or not os.path.isfile(path):
            continue
        plain += os.path.getsize(path)
        packed += os.path.getsize(path + '.gz') if os.path.exists(path + '.gz') else \
            os.path.getsize(path)
    return plain, packed


def main():
    site, server, assets = sys.argv[1:4]
    watcher = WATCHER % (json.dumps(samples_of(os.path.join(assets, 'menu.png'))), SAMPLE_STEP)
    plain, packed = site_bytes(site)
    print('page load: the site holds %s bytes, %s with its large files compressed'
          % (format(plain, ','), format(packed, ',')))
    missed = False
    with score_server(server, site) as url:
        for name, target, network in CONDITIONS:
            runs = [load_once(url, watcher, network) for _ in range(RUNS)]
            seconds = statistics.median(run[0] for run in runs)
            wire = max(run[1] for run in runs)
            met = seconds <= target
            missed = missed or not met
            print('page load, %s: the menu after %.2f s (median of %s), %s bytes on the wire; '
                  'target %.1f s %s' % (name, seconds, ', '.join('%.2f' % run[0] for run in runs),
                                        format(wire, ','), target, 'met' if met else 'MISSED'))
    print('page load, %s' % BEFORE)
    if missed:
        print('page load: a target was missed')


if __name__ == '__main__':
    main()
