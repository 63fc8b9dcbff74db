#!/usr/bin/env python3
# Serves Glimmer's page on 127.0.0.1, on a port that is free unless one is asked for, and
# prints its address. The page is static: any web server would do as well, given the same care:
# - only the regular files inside the site, reached through no symbolic link; a folder gives its
#   index.html or nothing, never a listing;
# - every answer, errors too, carries the page's Content-Security-Policy (taken from the meta tag
#   of the site's index.html, with frame-ancestors 'none', which a meta tag cannot give) and
#   X-Content-Type-Options: nosniff;
# - only requests for the host 127.0.0.1 or localhost are answered, so that a web site whose
#   name is made to point at this computer cannot read the page through the browser.
#   serve.py SITE_FOLDER [--port N] [--quiet]
import argparse
import errno
import http.server
import mimetypes
import os
import re
import shutil
import stat
import sys
import urllib.parse

CONTENT_TYPES = {
    ".html": "text/html; charset=utf-8",
    ".js": "text/javascript; charset=utf-8",
    ".css": "text/css; charset=utf-8",
    ".wasm": "application/wasm",
    ".ico": "image/x-icon",
    ".png": "image/png",
    ".webmanifest": "application/manifest+json",
}
LOCAL_HOSTS = ("127.0.0.1", "localhost")
# The policy of a site whose index.html has none: nothing from elsewhere.
FALLBACK_POLICY = "default-src 'self'; object-src 'none'; base-uri 'none'; form-action 'none'"
POLICY_META = re.compile(
    r'<meta\s+http-equiv="Content-Security-Policy"\s+content="([^"]*)"', re.IGNORECASE)


def page_policy(site):
    """The Content-Security-Policy of the site's index.html, as a header gives it."""
    try:
        with open(os.path.join(site, "index.html"), encoding="utf-8") as page:
            found = POLICY_META.search(page.read())
    except (OSError, UnicodeDecodeError):
        found = None
    policy = " ".join(found.group(1).split()) if found else FALLBACK_POLICY
    return policy.rstrip("; ") + "; frame-ancestors 'none'"


def content_type(name):
    extension = os.path.splitext(name)[1].lower()
    return CONTENT_TYPES.get(extension) or mimetypes.guess_type(name)[0] or "application/octet-stream"


class Handler(http.server.BaseHTTPRequestHandler):
    site = None
    policy = None
    quiet = False

    def end_headers(self):
        self.send_header("X-Content-Type-Options", "nosniff")
        self.send_header("Content-Security-Policy", self.policy)
        # The browser asks again each time, so a rebuilt page is what it shows.
        self.send_header("Cache-Control", "no-cache")
        super().end_headers()

    def log_message(self, format, *args):
        if not self.quiet:
            super().log_message(format, *args)

    def do_GET(self):
        self.answer(with_body=True)

    def do_HEAD(self):
        self.answer(with_body=False)

    def local_host(self):
        host = (self.headers.get("Host") or "").strip().lower()
        name, _, port = host.partition(":")
        return name in LOCAL_HOSTS and (not port or port.isdigit())

    def answer(self, with_body):
        if not self.local_host():
            self.send_error(421, "This server answers only for 127.0.0.1 and localhost")
            return
        target = self.path.split("?", 1)[0].split("#", 1)[0]
        try:
            path = urllib.parse.unquote(target, errors="strict")
        except UnicodeDecodeError:
            self.send_error(400)
            return
        parts = path.split("/")
        if not path.startswith("/") or "\0" in path or any(p in (".", "..") for p in parts):
            self.send_error(404)
            return
        names = parts[1:]
        try:
            self.serve(names, target, with_body)
        except (BrokenPipeError, ConnectionResetError):
            pass

    def serve(self, names, target, with_body):
        """Walks from the site down by names, one folder at a time and through no link."""
        folder = os.open(self.site, os.O_RDONLY | os.O_DIRECTORY)
        try:
            for index, name in enumerate(names):
                last = index == len(names) - 1
                if name == "":
                    if not last:
                        break
                    name = "index.html"
                try:
                    mode = os.lstat(name, dir_fd=folder).st_mode
                except OSError:
                    break
                if stat.S_ISDIR(mode) and not last:
                    inner = os.open(name, os.O_RDONLY | os.O_DIRECTORY | os.O_NOFOLLOW, dir_fd=folder)
                    os.close(folder)
                    folder = inner
                elif stat.S_ISDIR(mode) and name != "index.html":
                    # A folder named without its slash: its page's relative links need the slash.
                    self.send_response(301)
                    self.send_header("Location", target + "/")
                    self.send_header("Content-Length", "0")
                    self.end_headers()
                    return
                elif stat.S_ISREG(mode) and last:
                    self.send_file(folder, name, with_body)
                    return
                else:
                    break
        except OSError:
            pass
        finally:
            os.close(folder)
        self.send_error(404)

    def send_file(self, folder, name, with_body):
        fd = os.open(name, os.O_RDONLY | os.O_NOFOLLOW, dir_fd=folder)
        with os.fdopen(fd, "rb") as data:
            size = os.fstat(data.fileno())
            if not stat.S_ISREG(size.st_mode):
                raise OSError(errno.EINVAL, "not a regular file")
            self.send_response(200)
            self.send_header("Content-Type", content_type(name))
            self.send_header("Content-Length", str(size.st_size))
            self.end_headers()
            if with_body:
                shutil.copyfileobj(data, self.wfile)


def main():
    parser = argparse.ArgumentParser(description="Serve Glimmer's page on 127.0.0.1.")
    parser.add_argument("site")
    parser.add_argument("--port", type=int, default=0)
    parser.add_argument("--quiet", action="store_true")
    args = parser.parse_args()
    if not os.path.isdir(args.site):
        print("serve.py: no site at %s (make web-site builds it into build/web/site)" % args.site, file=sys.stderr)
        return 1
    Handler.site = os.path.abspath(args.site)
    Handler.policy = page_policy(args.site)
    Handler.quiet = args.quiet
    try:
        server = http.server.ThreadingHTTPServer(("127.0.0.1", args.port), Handler)
    except OSError as error:
        if error.errno == errno.EADDRINUSE:
            print("serve.py: port %d of 127.0.0.1 is taken; name another with --port, or none for a free one"
                  % args.port, file=sys.stderr)
        else:
            print("serve.py: cannot serve on 127.0.0.1 port %d: %s" % (args.port, error.strerror), file=sys.stderr)
        return 1
    except OverflowError:
        print("serve.py: %d is no port number (1 to 65535)" % args.port, file=sys.stderr)
        return 1
    with server:
        print("Glimmer in the browser: http://127.0.0.1:%d/  (Ctrl+C ends it)" % server.server_port, flush=True)
        try:
            server.serve_forever()
        except KeyboardInterrupt:
            pass
    return 0


if __name__ == "__main__":
    sys.exit(main())
