# A local stand-in for the suite's statistics server, and the new startup item it
# is asked about by the disable-rate and statistics tests.

import hashlib
import http.server
import json
import ssl
import threading
import time

from .case import WineTestCase
from .suite_input import hex_arg

ITEM_NAME = "Photo Sync Helper"
ITEM_EXE = "C:\\Tools\\PhotoSync\\helper.exe"
# The identifier of the item: the MD5 of its key, lower-cased: kind and name, the
# program's file name, its publisher ("-": the program has no version information)
# and the kind.
ITEM_ID = hashlib.md5(f"1:{ITEM_NAME}helper.exe-1".lower().encode("utf-8")).hexdigest()
INFO_SECTION = ITEM_NAME + ITEM_EXE + "1"
ITEM_ARGS = ("/1", hex_arg(ITEM_NAME), hex_arg(f'"{ITEM_EXE}" /background'),
             hex_arg("HKCU\\Software\\Microsoft\\Windows\\CurrentVersion\\Run"))


def answer(rate, recommendation):
    return json.dumps({"id": ITEM_ID, "prop": rate, "recommendation": recommendation}).encode()


class StatisticsServer:
    # A local HTTP(S) server that records each request and answers as told: `reply`
    # bytes with HTTP `status` after `delay` seconds; with `trickle` set, an answer that
    # never ends, one byte a second.

    def __init__(self, certificate=None):
        self.requests = []
        self.reply, self.delay, self.trickle, self.status = b"", 0.0, False, 200
        owner = self

        class Handler(http.server.BaseHTTPRequestHandler):
            def do_POST(self):
                body = self.rfile.read(int(self.headers.get("Content-Length", "0")))
                owner.requests.append({"path": self.path, "headers": dict(self.headers.items()), "body": body})
                time.sleep(owner.delay)
                self.send_response(owner.status)
                self.send_header("Content-Type", "text/html; charset=UTF-8")
                self.send_header("Content-Length", "100000" if owner.trickle else str(len(owner.reply)))
                self.end_headers()
                try:
                    for _ in range(120 if owner.trickle else 0):
                        self.wfile.write(b" ")
                        self.wfile.flush()
                        time.sleep(1.0)
                except OSError:
                    pass  # the client hung up
                self.wfile.write(b"" if owner.trickle else owner.reply)

            def log_message(self, *args):
                pass

        self.server = http.server.ThreadingHTTPServer(("127.0.0.1", 0), Handler)
        self.server.daemon_threads = True
        scheme = "http"
        if certificate is not None:
            context = ssl.SSLContext(ssl.PROTOCOL_TLS_SERVER)
            context.load_cert_chain(*certificate)
            self.server.socket = context.wrap_socket(self.server.socket, server_side=True)
            scheme = "https"
        self.url = f"{scheme}://127.0.0.1:{self.server.server_address[1]}/proportion.php"
        self.thread = threading.Thread(target=self.server.serve_forever, daemon=True)
        self.thread.start()

    def stop(self):
        self.server.shutdown()
        self.server.server_close()


class StatisticsServerCase(WineTestCase):
    # Tests that screen the new startup item against one local statistics server,
    # started before the class's first test and stopped after its last.

    @classmethod
    def setUpClass(cls):
        super().setUpClass()
        # The item's program: unsigned, without version information, let through.
        cls.prefix.install_stand_ins(ITEM_EXE)
        cls.server = StatisticsServer()

    @classmethod
    def tearDownClass(cls):
        cls.server.stop()
        super().tearDownClass()
