# Authenticode signing of the fixture programs at test time: self-signed
# certificates (openssl) and signed copies (osslsigncode).

import subprocess
import tempfile
from pathlib import Path


# A new key and self-signed certificate in `folder`: (certificate, key) paths.
def self_signed_certificate(folder, subject, *extra):
    key, certificate = Path(folder) / "key.pem", Path(folder) / "cert.pem"
    subprocess.run(["openssl", "req", "-x509", "-newkey", "rsa:2048", "-nodes", "-utf8", "-keyout", key,
                    "-out", certificate, "-days", "2", "-subj", subject, *extra], check=True, capture_output=True)
    return certificate, key


# Signs a copy of the program with a new self-signed certificate of `signer`.
def sign(unsigned, signed, signer):
    with tempfile.TemporaryDirectory() as work:
        certificate, key = self_signed_certificate(work, f"/CN={signer}")
        subprocess.run(["osslsigncode", "sign", "-certs", certificate, "-key", key, "-n", "Fixture",
                        "-in", unsigned, "-out", signed], check=True, capture_output=True)
