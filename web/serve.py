"""Serves the browser build's folder on http://localhost:PORT/ for playing it locally.

usage: serve.py SITE_FOLDER [PORT]"""

import functools
import http.server
import sys


class Handler(http.server.SimpleHTTPRequestHandler):
    # Browsers compile WebAssembly while it downloads only when it comes with its own type.
    extensions_map = {**http.server.SimpleHTTPRequestHandler.extensions_map,
                      '.wasm': 'application/wasm', '.js': 'text/javascript'}


class QuietHandler(Handler):
    def log_message(self, *args):
        pass


def server(folder, port, quiet=False):
    """A server for folder on the loopback address; port 0 lets the system pick a free one."""
    handler = functools.partial(QuietHandler if quiet else Handler, directory=folder)
    return http.server.ThreadingHTTPServer(('127.0.0.1', port), handler)


def main():
    folder = sys.argv[1]
    port = int(sys.argv[2]) if len(sys.argv) > 2 else 8000
    with server(folder, port) as httpd:
        print('Serving the game on http://localhost:%d/ (Ctrl+C stops)' % port, flush=True)
        try:
            httpd.serve_forever()
        except KeyboardInterrupt:
            pass


if __name__ == '__main__':
    main()
