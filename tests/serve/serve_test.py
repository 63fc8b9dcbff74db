#!/usr/bin/env python3
"""web/serve.py answering real HTTP requests on a site made for the test: only the regular files
inside the site, through no link, no folder listings, the safety headers on every answer, only
the local host names, and one line, no traceback, for a taken port or a missing site.

    serve_test.py SERVE_PY SCRATCH
"""
import http.client
import os
import shutil
import socket
import subprocess
import sys
import unittest

SERVE = None
SCRATCH = None
POLICY = "default-src 'self'; script-src 'self'; object-src 'none'"


def start(site, *arguments):
    process = subprocess.Popen([sys.executable, SERVE, site, "--quiet", *arguments], stdout=subprocess.PIPE,
                               stderr=subprocess.PIPE, text=True)
    line = process.stdout.readline()
    return process, line


class Answers(unittest.TestCase):
    @classmethod
    def setUpClass(cls):
        cls.site = os.path.join(SCRATCH, "site")
        outside = os.path.join(SCRATCH, "outside")
        shutil.rmtree(SCRATCH, ignore_errors=True)
        os.makedirs(os.path.join(cls.site, "pictures"))
        os.makedirs(os.path.join(cls.site, "docs"))
        os.makedirs(outside)
        with open(os.path.join(cls.site, "index.html"), "w") as page:
            page.write('<!doctype html><meta http-equiv="Content-Security-Policy"\n  content="%s" />'
                       "<title>t</title>" % POLICY)
        for name, text in (("app.js", "export {};"), ("docs/index.html", "<p>docs</p>"),
                           ("pictures/a.txt", "a"), (os.path.join("..", "outside", "secret.txt"), "secret")):
            with open(os.path.join(cls.site, name), "w") as out:
                out.write(text)
        os.symlink(outside, os.path.join(cls.site, "outlink"))
        os.symlink(os.path.join(outside, "secret.txt"), os.path.join(cls.site, "secret.txt"))
        os.symlink(os.path.join(cls.site, "app.js"), os.path.join(cls.site, "inner.js"))
        cls.server, line = start(cls.site)
        cls.port = int(line.split("http://127.0.0.1:")[1].split("/")[0])

    @classmethod
    def tearDownClass(cls):
        cls.server.terminate()
        cls.server.communicate()

    def ask(self, path, host=None, method="GET"):
        connection = http.client.HTTPConnection("127.0.0.1", self.port, timeout=10)
        connection.putrequest(method, path, skip_host=True)
        connection.putheader("Host", host if host is not None else "127.0.0.1:%d" % self.port)
        connection.endheaders()
        answer = connection.getresponse()
        body = answer.read()
        connection.close()
        return answer, body

    def assert_safety_headers(self, answer, what):
        self.assertEqual(answer.getheader("X-Content-Type-Options"), "nosniff", what)
        policy = answer.getheader("Content-Security-Policy") or ""
        self.assertTrue(policy.startswith(POLICY), "%s: the policy is '%s'" % (what, policy))
        self.assertIn("frame-ancestors 'none'", policy, what)

    def test_files_inside_the_site(self):
        for path, host, text, kind in (("/", None, b"<title>t</title>", "text/html"),
                                       ("/app.js?v=1", "localhost:%d" % self.port, b"export {};", "text/javascript"),
                                       ("/docs/", "localhost", b"<p>docs</p>", "text/html"),
                                       ("/pictures/a.txt", None, b"a", "text/plain")):
            answer, body = self.ask(path, host)
            self.assertEqual(answer.status, 200, path)
            self.assertIn(text, body, path)
            self.assertTrue(answer.getheader("Content-Type").startswith(kind), path)
            self.assert_safety_headers(answer, path)
        answer, body = self.ask("/app.js", method="HEAD")
        self.assertEqual((answer.status, body, answer.getheader("Content-Length")), (200, b"", "10"))

    def test_nothing_else(self):
        for path in ("/outlink/secret.txt", "/secret.txt", "/inner.js", "/pictures/", "/pictures", "/docs",
                     "/../outside/secret.txt", "/%2e%2e/outside/secret.txt", "/pictures/..%2f..%2foutside%2fsecret.txt",
                     "/missing.js", "/app.js/", "/%00"):
            answer, body = self.ask(path)
            self.assertIn(answer.status, (301, 400, 404), path)
            self.assertNotIn(b"secret", body, path)
            self.assertNotIn(b"a.txt", body, path)
            self.assert_safety_headers(answer, path)
        # A folder with its own page is reached by its name with a slash, as a browser resolves
        # the page's relative links.
        answer, _ = self.ask("/docs")
        self.assertEqual((answer.status, answer.getheader("Location")), (301, "/docs/"))

    def test_only_local_host_names(self):
        for host in ("evil.example", "evil.example:%d" % self.port, "127.0.0.1.evil.example", ""):
            answer, body = self.ask("/", host)
            self.assertEqual(answer.status, 421, host)
            self.assertNotIn(b"<title>t</title>", body, host)
            self.assert_safety_headers(answer, host)
        answer, _ = self.ask("/", "LOCALHOST:%d" % self.port)
        self.assertEqual(answer.status, 200)


class Failures(unittest.TestCase):
    def assert_one_line(self, arguments, expected):
        process = subprocess.run([sys.executable, SERVE, *arguments], capture_output=True, text=True, timeout=30)
        self.assertEqual(process.returncode, 1, process.stderr)
        self.assertEqual(process.stdout, "")
        self.assertEqual(len(process.stderr.splitlines()), 1, process.stderr)
        self.assertIn(expected, process.stderr)

    def test_taken_port(self):
        with socket.socket() as taken:
            taken.bind(("127.0.0.1", 0))
            taken.listen()
            port = taken.getsockname()[1]
            site = os.path.join(SCRATCH, "empty-site")
            os.makedirs(site, exist_ok=True)
            self.assert_one_line([site, "--port", str(port)], "port %d of 127.0.0.1 is taken" % port)

    def test_missing_site(self):
        missing = os.path.join(SCRATCH, "no-such-site")
        self.assert_one_line([missing], "no site at %s" % missing)
        with open(os.path.join(SCRATCH, "a-file"), "w"):
            pass
        self.assert_one_line([os.path.join(SCRATCH, "a-file")], "no site at")


if __name__ == "__main__":
    SERVE, SCRATCH = sys.argv[1], os.path.abspath(sys.argv[2])
    unittest.main(argv=sys.argv[:1], verbosity=2)
