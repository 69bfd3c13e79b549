#!/usr/bin/env python3
"""Serves the built web page on localhost for trying it: python3 tools/serve_site.py [SITE [PORT]]."""
import functools
import http.server
import sys


class SiteHandler(http.server.SimpleHTTPRequestHandler):
    """Static files with the types a browser needs for the WebAssembly module and the fonts."""

    extensions_map = {
        **http.server.SimpleHTTPRequestHandler.extensions_map,
        ".wasm": "application/wasm",
        ".js": "text/javascript",
        ".css": "text/css",
        ".woff2": "font/woff2",
        ".woff": "font/woff",
        ".ttf": "font/ttf",
    }

    def log_message(self, format, *args):
        pass


def make_server(site, port=0):
    """A server on 127.0.0.1 for the folder site; port 0 picks a free one."""
    handler = functools.partial(SiteHandler, directory=site)
    return http.server.ThreadingHTTPServer(("127.0.0.1", port), handler)


if __name__ == "__main__":
    site = sys.argv[1] if len(sys.argv) > 1 else "build-web/site"
    port = int(sys.argv[2]) if len(sys.argv) > 2 else 8000
    with make_server(site, port) as server:
        print(f"Umbrix im Browser: http://localhost:{server.server_address[1]}/  (Strg+C beendet)")
        server.serve_forever()
