#!/usr/bin/env python3
# Serves Glimmer's page on 127.0.0.1, on a port that is free unless one is asked for, and
# prints its address. The page is static: any web server would do as well.
#   serve.py SITE_FOLDER [--port N] [--quiet]
import argparse
import functools
import http.server
import sys


class Handler(http.server.SimpleHTTPRequestHandler):
    extensions_map = {
        **http.server.SimpleHTTPRequestHandler.extensions_map,
        ".js": "text/javascript",
        ".wasm": "application/wasm",
        ".ico": "image/x-icon",
    }

    def __init__(self, *args, quiet, **kwargs):
        self.quiet = quiet
        super().__init__(*args, **kwargs)

    def end_headers(self):
        # The browser asks again each time, so a rebuilt page is what it shows.
        self.send_header("Cache-Control", "no-cache")
        super().end_headers()

    def log_message(self, format, *args):
        if not self.quiet:
            super().log_message(format, *args)


def main():
    parser = argparse.ArgumentParser(description="Serve Glimmer's page on 127.0.0.1.")
    parser.add_argument("site")
    parser.add_argument("--port", type=int, default=0)
    parser.add_argument("--quiet", action="store_true")
    args = parser.parse_args()
    handler = functools.partial(Handler, directory=args.site, quiet=args.quiet)
    with http.server.ThreadingHTTPServer(("127.0.0.1", args.port), handler) as server:
        print("Glimmer in the browser: http://127.0.0.1:%d/  (Ctrl+C ends it)" % server.server_port,
              flush=True)
        try:
            server.serve_forever()
        except KeyboardInterrupt:
            pass
    return 0


if __name__ == "__main__":
    sys.exit(main())
