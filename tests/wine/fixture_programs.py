"""Windows programs made at test time with the MinGW-w64 tool chain: a trivial
program with the version information given, self-signed certificates (openssl) and
Authenticode signing with them (osslsigncode)."""

import subprocess
import tempfile
from pathlib import Path

COMPILER = "x86_64-w64-mingw32-g++"
RESOURCE_COMPILER = "x86_64-w64-mingw32-windres"

PROGRAM_SOURCE = "int main() { return 0; }\n"

VERSION_RESOURCE = """#include <winver.h>
VS_VERSION_INFO VERSIONINFO
FILEVERSION 1,0,0,0
PRODUCTVERSION 1,0,0,0
FILEOS VOS_NT_WINDOWS32
FILETYPE VFT_APP
BEGIN
  BLOCK "StringFileInfo"
  BEGIN
    BLOCK "040904B0"
    BEGIN
      VALUE "CompanyName", "{company}"
      VALUE "FileDescription", "Screening fixture"
      VALUE "ProductName", "Screening fixture"
    END
  END
  BLOCK "VarFileInfo"
  BEGIN
    VALUE "Translation", 0x0409, 0x04B0
  END
END
"""


def _compile(work, name, source, out, resource=None):
    work = Path(work)
    (work / f"{name}.cpp").write_text(source)
    inputs = [str(work / f"{name}.cpp")]
    if resource is not None:
        (work / f"{name}.rc").write_text(resource)
        subprocess.run([RESOURCE_COMPILER, str(work / f"{name}.rc"), "-O", "coff", "-o", str(work / f"{name}.res")],
                       check=True, capture_output=True)
        inputs.append(str(work / f"{name}.res"))
    command = [COMPILER, "-O1", "-s", "-static", *inputs, "-o", str(out)]
    subprocess.run(command, check=True, capture_output=True)
    return Path(out)


def build_program(out, company):
    """A program that does nothing, whose version information names `company`."""
    with tempfile.TemporaryDirectory() as work:
        return _compile(work, "program", PROGRAM_SOURCE, out,
                        resource=VERSION_RESOURCE.format(company=company.replace('"', '""')))


def self_signed_certificate(folder, subject, *extra):
    """A new key and self-signed certificate in `folder`: (certificate, key) paths."""
    key, certificate = Path(folder) / "key.pem", Path(folder) / "cert.pem"
    subprocess.run(["openssl", "req", "-x509", "-newkey", "rsa:2048", "-nodes", "-utf8", "-keyout", key,
                    "-out", certificate, "-days", "2", "-subj", subject, *extra], check=True, capture_output=True)
    return certificate, key


def sign(unsigned, signed, signer, organization=None):
    """Signs a copy of the program with a new self-signed certificate of `signer`
    (of `organization`, when given)."""
    subject = (f"/O={organization}" if organization else "") + f"/CN={signer}"
    with tempfile.TemporaryDirectory() as work:
        certificate, key = self_signed_certificate(work, subject)
        subprocess.run(["osslsigncode", "sign", "-certs", certificate, "-key", key, "-n", "Fixture",
                        "-in", unsigned, "-out", signed], check=True, capture_output=True)
    return Path(signed)
