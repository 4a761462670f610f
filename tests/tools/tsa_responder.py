#!/usr/bin/env python3
"""A local RFC 3161 time-stamping service for the signing tests: answers each POSTed query with
`openssl ts -reply`.  Usage: tsa_responder.py FOLDER; makes a throwaway TSA key and certificate in FOLDER,
prints the port it listens on (127.0.0.1) and serves until killed."""
import http.server
import pathlib
import subprocess
import sys
import tempfile

folder = pathlib.Path(sys.argv[1]).resolve()
folder.mkdir(parents=True, exist_ok=True)
subprocess.run(["openssl", "req", "-x509", "-newkey", "rsa:2048", "-nodes", "-keyout", "tsa.key", "-out", "tsa.crt",
                "-days", "2", "-subj", "/CN=Autorun Test TSA", "-addext", "extendedKeyUsage=critical,timeStamping"],
               cwd=folder, check=True, capture_output=True)
(folder / "serial").write_text("01\n")
(folder / "tsa.cnf").write_text("""[ tsa ]
default_tsa = test_tsa
[ test_tsa ]
serial = serial
signer_cert = tsa.crt
certs = tsa.crt
signer_key = tsa.key
signer_digest = sha256
default_policy = 1.2.3.4.1
digests = sha1, sha256, sha384, sha512
accuracy = secs:1
ess_cert_id_alg = sha256
""")


class Responder(http.server.BaseHTTPRequestHandler):
    def do_POST(self):
        query = self.rfile.read(int(self.headers.get("Content-Length", 0)))
        with tempfile.TemporaryDirectory() as scratch:
            query_file, reply_file = pathlib.Path(scratch, "q.tsq"), pathlib.Path(scratch, "r.tsr")
            query_file.write_bytes(query)
            made = subprocess.run(["openssl", "ts", "-reply", "-config", "tsa.cnf", "-queryfile", str(query_file),
                                   "-out", str(reply_file)], cwd=folder, capture_output=True).returncode == 0
            reply = reply_file.read_bytes() if made else b""
        self.send_response(200 if made else 500)
        self.send_header("Content-Type", "application/timestamp-reply")
        self.send_header("Content-Length", str(len(reply)))
        self.end_headers()
        self.wfile.write(reply)

    def log_message(self, *arguments):
        pass


server = http.server.HTTPServer(("127.0.0.1", 0), Responder)
print(server.server_address[1], flush=True)
server.serve_forever()
