"""The package's nginx site in front of score servers on this machine: the shipped file with this
machine's ports, plain HTTP on 127.0.0.1 and a site folder; the rest, limits and proxying
included, as shipped. For the tests and the benchmark."""

import os
import re
import subprocess
import time
import urllib.request

SOURCE = os.path.dirname(os.path.dirname(os.path.dirname(os.path.abspath(__file__))))


def write_conf(work, site, port, servers):
    """nginx.conf in work, serving site on port and passing the API to the servers' ports."""
    with open(os.path.join(SOURCE, 'dist', 'nginx', 'arcade-scores.conf')) as shipped:
        text = shipped.read()
    # The redirecting server on port 80 and the certificates are the host's; both go.
    text = re.sub(r'server \{\n    listen 80;.*?\n\}\n', '', text, count=1, flags=re.S)
    text = re.sub(r'\n    (ssl_certificate|ssl_certificate_key|add_header Strict)[^\n]*', '', text)
    text = re.sub(r'\n    listen \[::\][^\n]*', '', text)
    text = text.replace('listen 443 ssl http2;', 'listen 127.0.0.1:%d;' % port)
    text = re.sub(r'\n    server 127\.0\.0\.1:8000 ([^\n]*)',
                  ''.join('\n    server 127.0.0.1:%d \\1' % one for one in servers), text)
    text = text.replace('root /usr/share/arcade-scores/site;', 'root %s;' % site)
    text = text.replace('/usr/share/arcade-scores/nginx/locations.conf',
                        os.path.join(SOURCE, 'dist', 'nginx', 'locations.conf'))
    if ('listen 127.0.0.1:%d;' % port not in text or
            text.count('server 127.0.0.1:') != len(servers)):
        raise RuntimeError('the shipped site no longer reads as expected:\n' + text)
    os.makedirs(os.path.join(work, 'temp'), mode=0o777, exist_ok=True)
    with open(os.path.join(work, 'nginx.conf'), 'w') as conf:
        conf.write('pid %(w)s/nginx.pid;\nerror_log %(w)s/error.log;\n'
                   'worker_rlimit_nofile 20000;\nevents { worker_connections 8192; }\nhttp {\n'
                   '    include /etc/nginx/mime.types;\n    access_log %(w)s/access.log;\n'
                   '    client_body_temp_path %(w)s/temp/body;\n'
                   '    proxy_temp_path %(w)s/temp/proxy;\n'
                   '    fastcgi_temp_path %(w)s/temp/fastcgi;\n'
                   '    uwsgi_temp_path %(w)s/temp/uwsgi;\n    scgi_temp_path %(w)s/temp/scgi;\n'
                   '%(site)s}\n' % {'w': work, 'site': text})


def start(work, site, port, servers):
    """nginx in front of the servers, once it answers; its process. Its workers are not root:
    work must be readable by everyone."""
    write_conf(work, site, port, servers)
    nginx = subprocess.Popen(['nginx', '-p', work, '-c', os.path.join(work, 'nginx.conf'),
                              '-g', 'daemon off;'])
    deadline = time.monotonic() + 20
    while True:
        try:
            urllib.request.urlopen('http://127.0.0.1:%d/api/scores' % port, timeout=5).read()
            return nginx
        except OSError:
            if nginx.poll() is not None or time.monotonic() > deadline:
                nginx.kill()
                raise RuntimeError('nginx did not come up')
            time.sleep(0.1)
