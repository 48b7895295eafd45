"""The session's guards, over plain HTTP: the token, the Host header, no
CORS, no file paths from URLs, bad and oversized requests refused while the
session goes on. Needs no browser."""
import os
import shutil
import sys
import unittest

sys.path.insert(0, os.path.dirname(__file__))
import web_session_support as support  # noqa: E402


class GuardTest(unittest.TestCase):
    @classmethod
    def setUpClass(cls):
        cls.folder = support.temp_folder_for_class(cls, "tavrin-web-guard-")
        drawing = os.path.join(cls.folder, "house.dxf")
        shutil.copy(os.path.join(support.EXAMPLES, "house", "house.dxf"), drawing)
        cls.session = support.WebSession(drawing, cls.folder)

    @classmethod
    def tearDownClass(cls):
        cls.session.stop()

    def test_requests_without_the_token_or_from_a_foreign_host_get_403_and_nothing_else(self):
        s = self.session
        port = s.port
        cases = [
            ("no token", dict(path="/", token=False)),
            ("no token, API", dict(path="/api/hello", token=False)),
            ("no token, drawing", dict(path="/api/drawing.bin", token=False)),
            ("no token, script", dict(path="/api/script", token=False)),
            ("wrong token", dict(path="/api/hello?token=" + "0" * len(s.token), token=False)),
            ("token cut short", dict(path="/api/hello?token=" + s.token[:-1], token=False)),
            ("foreign host", dict(path="/api/hello", host=f"attacker.example:{port}")),
            ("foreign host, page", dict(path="/", host="attacker.example")),
            ("other port", dict(path="/api/hello", host=f"127.0.0.1:{port + 1}")),
            ("no port", dict(path="/api/hello", host="localhost")),
        ]
        for name, request in cases:
            with self.subTest(name):
                status, headers, body = s.request("GET", **request)
                self.assertEqual(status, 403)
                self.assertEqual(body, b"")
                self.assertNotIn("Set-Cookie", headers)

    def test_the_token_opens_the_page_and_sets_a_strict_cookie(self):
        s = self.session
        for host in (f"127.0.0.1:{s.port}", f"localhost:{s.port}"):
            with self.subTest(host):
                status, headers, body = s.request("GET", "/", host=host)
                self.assertEqual(status, 200)
                self.assertIn(b'id="command-line"', body)
                cookie = headers.get("Set-Cookie", "")
                self.assertIn(f"tavrin_token={s.token}", cookie)
                for part in ("HttpOnly", "SameSite=Strict", "Path=/"):
                    self.assertIn(part, cookie)
        status, _, _ = s.request("GET", "/api/handles", token=False,
                                 headers={"Cookie": f"tavrin_token={s.token}"})
        self.assertEqual(status, 200)

    def test_no_cors_and_no_file_paths(self):
        s = self.session
        for path in ["/api/hello", "/main.js", "/style.css"]:
            with self.subTest(path):
                status, headers, _ = s.request("GET", path, headers={"Origin": "http://attacker.example"})
                self.assertEqual(status, 200)
                self.assertFalse([h for h in headers if h.lower().startswith("access-control")])
        for path in ["/../../../../etc/passwd", "/%2e%2e/%2e%2e/etc/passwd", "/api/picture/../../etc/passwd",
                     "/house.dxf", "/nothing.js", "/api/nothing"]:
            with self.subTest(path):
                status, _, body = s.request("GET", path)
                self.assertIn(status, (400, 403, 404))
                self.assertNotIn(b"root:", body)

    def test_bad_and_oversized_answers_are_refused_and_the_session_goes_on(self):
        s = self.session
        cases = [("not JSON", "{line: acadtomn", 400), ("no line", '{"other": 1}', 400),
                 ("over 1 MiB", '{"line": "' + "x" * (1024 * 1024 + 16) + '"}', 413)]
        for name, body, want in cases:
            with self.subTest(name):
                status, _, _ = s.request("POST", "/api/answer", body=body)
                self.assertEqual(status, want)
                status, _, _ = s.request("GET", "/api/handles")
                self.assertEqual(status, 200)
        self.assertNotIn("x" * 100, s.script())
        self.assertIsNone(s.process.poll(), "cadhost still serves")


if __name__ == "__main__":
    unittest.main()
