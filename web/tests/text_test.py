"""The browser's text is the desktop's, pixel for pixel: the full high-score list and the name
typed over the game-over screen, drawn by the browser build in headless Chromium and by the
desktop build headless, must be the same pictures.

usage: text_test.py BROWSER_FOLDER DESKTOP_PROGRAM ASSET_FOLDER FONT_FILE"""

import base64
import os
import shutil
import subprocess
import sys
import tempfile

import browser

FRAMES = ('list.ppm', 'name.ppm')


def frames_on_desktop(program, assets, font):
    folder = tempfile.mkdtemp(prefix='arcade-text-')
    try:
        for name in os.listdir(assets):
            if name.endswith('.png'):
                os.symlink(os.path.join(assets, name), os.path.join(folder, name))
        os.symlink(font, os.path.join(folder, 'arial.ttf'))
        env = dict(os.environ, SDL_VIDEODRIVER='dummy', SDL_AUDIODRIVER='dummy')
        run = subprocess.run([program, folder], env=env, text=True, stdout=subprocess.PIPE,
                             stderr=subprocess.STDOUT, timeout=120)
        if run.returncode != 0:
            browser.fail(None, 'the desktop did not draw its frames:\n' + run.stdout)
        frames = {}
        for name in FRAMES:
            with open(os.path.join(folder, name), 'rb') as picture:
                frames[name] = picture.read()
        return frames
    finally:
        shutil.rmtree(folder, ignore_errors=True)


def frames_in_browser(folder):
    with browser.serve(folder) as url, browser.chromium() as driver:
        driver.get(url)
        browser.wait_for(driver, 'return window.exitStatus !== undefined', 120,
                         'the program to draw its frames')
        status = driver.execute_script('return window.exitStatus')
        if status != 0:
            browser.fail(driver, 'the browser did not draw its frames (status %s):\n%s'
                         % (status, '\n'.join(driver.execute_script('return window.lines'))))
        frames = {}
        for name in FRAMES:
            frames[name] = base64.b64decode(driver.execute_script("""
                const bytes = Module.FS.readFile('/play/' + arguments[0]);
                let text = '';
                for (let i = 0; i < bytes.length; i += 0x8000) {
                  text += String.fromCharCode.apply(null, bytes.subarray(i, i + 0x8000));
                }
                return btoa(text);""", name))
        troubles = [entry['message'] for entry in driver.get_log('browser')
                    if entry['level'] in ('WARNING', 'SEVERE')]
        if troubles:
            browser.fail(driver, 'the console holds %d warnings: %s' % (len(troubles), troubles))
        return frames


def main():
    folder, program, assets, font = sys.argv[1:5]
    if not os.access(program, os.X_OK):
        browser.fail(None, 'no desktop program %s to compare with' % program)
    desktop = frames_on_desktop(program, assets, font)
    web = frames_in_browser(folder)
    failed = False
    for name in FRAMES:
        ours, theirs = web[name], desktop[name]
        if len(ours) != len(theirs):
            print('%s: %d bytes in the browser, %d on the desktop' % (name, len(ours), len(theirs)))
            failed = True
            continue
        differing = sum(1 for i in range(0, len(ours), 3) if ours[i:i + 3] != theirs[i:i + 3])
        print('%s: %d pixels differ from the desktop\'s' % (name, differing))
        if differing:
            kept = os.path.join(tempfile.gettempdir(), 'arcade-text-%d-' % os.getpid())
            for side, picture in (('browser', ours), ('desktop', theirs)):
                with open(kept + side + '-' + name, 'wb') as out:
                    out.write(picture)
            print('kept as %s{browser,desktop}-%s' % (kept, name))
            failed = True
    if failed:
        browser.fail(None, 'the browser\'s text is not the desktop\'s')


if __name__ == '__main__':
    main()
