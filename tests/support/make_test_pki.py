#!/usr/bin/python3
"""Test certificates for code signing, written as files into one folder.

    /usr/bin/python3 make_test_pki.py OUTDIR

Needs Debian's python3-cryptography (hence /usr/bin/python3, not the first
python3 on PATH). Writes, all PEM unless named .der:

    root.pem, root.der              "Varnock Test Root": the root a test adds
                                    to the machine's Root store
    other-root.pem, other-root.der  "Varnock Other Root": never trusted
    NAME.pem, NAME-key.pem,         a code-signing certificate, its private
    NAME-chain.pem                  key (PKCS#8, unencrypted) and the chain
                                    (certificate, then its root) for
                                    `osslsigncode sign -certs NAME-chain.pem
                                    -key NAME-key.pem`, for each NAME:
        publisher   "Varnock Test Publisher", below root, valid 2020-2099
        stranger    "Varnock Stranger", below other-root, valid 2020-2099
        expired     "Varnock Expired Publisher", below root, valid in 2020 only

    publisher.p12                   the publisher's key and chain as PKCS#12,
                                    under the password "varnock-test"

From Python, make(folder) writes the same and gives the publisher's paths
(root, root_der, chain, key, pkcs12), its name and the password.

The keys (RSA 2048) and so every file but the PKCS#12 (whose salt is
random) are the same on every run: each key's primes come from a generator
seeded with its name, and RSA PKCS#1 v1.5 signatures have no randomness.
None of this is a secret; nothing of it may sign anything but tests.
"""
import datetime
import os
import random
import sys

from cryptography import x509
from cryptography.hazmat.primitives import hashes, serialization
from cryptography.hazmat.primitives.asymmetric import rsa
from cryptography.hazmat.primitives.serialization import pkcs12
from cryptography.x509.oid import ExtendedKeyUsageOID, NameOID

SMALL_PRIMES = [p for p in range(3, 2000) if all(p % d for d in range(2, int(p ** 0.5) + 1))]


def is_prime(n, rng):
    if any(n % p == 0 for p in SMALL_PRIMES):
        return n in SMALL_PRIMES
    d, s = n - 1, 0
    while d % 2 == 0:
        d, s = d // 2, s + 1
    for _ in range(40):
        x = pow(rng.randrange(2, n - 1), d, n)
        if x in (1, n - 1):
            continue
        for _ in range(s - 1):
            x = pow(x, 2, n)
            if x == n - 1:
                break
        else:
            return False
    return True


def prime(rng, bits, e):
    while True:
        n = rng.getrandbits(bits) | (3 << (bits - 2)) | 1
        if (n - 1) % e and is_prime(n, rng):
            return n


def key_named(name):
    rng = random.Random("varnock test key " + name)
    e = 65537
    p = prime(rng, 1024, e)
    q = prime(rng, 1024, e)
    while q == p:
        q = prime(rng, 1024, e)
    d = pow(e, -1, (p - 1) * (q - 1))
    numbers = rsa.RSAPrivateNumbers(p, q, d, rsa.rsa_crt_dmp1(d, p), rsa.rsa_crt_dmq1(d, q),
                                    rsa.rsa_crt_iqmp(p, q), rsa.RSAPublicNumbers(e, p * q))
    return numbers.private_key()


def day(year, month=1, date=1):
    return datetime.datetime(year, month, date, tzinfo=datetime.timezone.utc)


def certificate(subject, key, issuer, issuer_key, serial, start, end, authority):
    name = x509.Name([x509.NameAttribute(NameOID.COMMON_NAME, subject)])
    issuer_name = x509.Name([x509.NameAttribute(NameOID.COMMON_NAME, issuer)]) if issuer else name
    builder = (x509.CertificateBuilder().subject_name(name).issuer_name(issuer_name)
               .public_key(key.public_key()).serial_number(serial)
               .not_valid_before(start).not_valid_after(end)
               .add_extension(x509.BasicConstraints(ca=authority, path_length=None), critical=True)
               .add_extension(x509.SubjectKeyIdentifier.from_public_key(key.public_key()), critical=False))
    if authority:
        builder = builder.add_extension(x509.KeyUsage(
            digital_signature=False, content_commitment=False, key_encipherment=False,
            data_encipherment=False, key_agreement=False, key_cert_sign=True, crl_sign=True,
            encipher_only=False, decipher_only=False), critical=True)
    else:
        builder = (builder.add_extension(x509.KeyUsage(
            digital_signature=True, content_commitment=False, key_encipherment=False,
            data_encipherment=False, key_agreement=False, key_cert_sign=False, crl_sign=False,
            encipher_only=False, decipher_only=False), critical=True)
            .add_extension(x509.ExtendedKeyUsage([ExtendedKeyUsageOID.CODE_SIGNING]), critical=False)
            .add_extension(x509.AuthorityKeyIdentifier.from_issuer_public_key(issuer_key.public_key()),
                           critical=False))
    return builder.sign(issuer_key, hashes.SHA256())


def write(folder, name, data):
    with open(os.path.join(folder, name), "wb") as f:
        f.write(data)


def pem(cert):
    return cert.public_bytes(serialization.Encoding.PEM)


PASSWORD = "varnock-test"


def make(folder):
    os.makedirs(folder, exist_ok=True)
    roots = {}
    for file, subject, serial in (("root", "Varnock Test Root", 1), ("other-root", "Varnock Other Root", 2)):
        key = key_named(file)
        cert = certificate(subject, key, None, key, serial, day(2020), day(2099, 12, 31), True)
        roots[file] = (subject, key, cert)
        write(folder, file + ".pem", pem(cert))
        write(folder, file + ".der", cert.public_bytes(serialization.Encoding.DER))
    for file, subject, root, serial, end in (
            ("publisher", "Varnock Test Publisher", "root", 11, day(2099, 12, 31)),
            ("stranger", "Varnock Stranger", "other-root", 12, day(2099, 12, 31)),
            ("expired", "Varnock Expired Publisher", "root", 13, day(2021))):
        key = key_named(file)
        issuer, issuer_key, issuer_cert = roots[root]
        cert = certificate(subject, key, issuer, issuer_key, serial, day(2020), end, False)
        write(folder, file + ".pem", pem(cert))
        write(folder, file + "-chain.pem", pem(cert) + pem(issuer_cert))
        write(folder, file + "-key.pem", key.private_bytes(
            serialization.Encoding.PEM, serialization.PrivateFormat.PKCS8, serialization.NoEncryption()))
        if file == "publisher":
            write(folder, file + ".p12", pkcs12.serialize_key_and_certificates(
                subject.encode(), key, cert, [issuer_cert],
                serialization.BestAvailableEncryption(PASSWORD.encode())))
    paths = {"root": "root.pem", "root_der": "root.der", "chain": "publisher-chain.pem",
             "key": "publisher-key.pem", "pkcs12": "publisher.p12"}
    result = {name: os.path.join(folder, file) for name, file in paths.items()}
    result.update(publisher="Varnock Test Publisher", password=PASSWORD)
    return result


def main():
    if len(sys.argv) != 2:
        sys.exit(__doc__)
    make(sys.argv[1])


if __name__ == "__main__":
    main()
