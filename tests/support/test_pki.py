#!/usr/bin/python3
"""A throwaway code-signing root and a publisher it issued, for the tests
of signed releases and of the signature check.

    test_pki.py FOLDER [--publisher NAME] [--password PASSWORD]

or, from Python, make(folder, publisher, password), which returns the paths.
FOLDER gets:
    root.pem, root.cer     the root, PEM and DER (for a certificate store)
    publisher.pem          the publisher's chain, leaf first
    publisher.key          its RSA key, PEM (RSA signs deterministically)
    publisher.p12          key and chain as PKCS#12, under PASSWORD
Needs Debian's python3-cryptography (/usr/bin/python3)."""
import argparse
import datetime
import json
from pathlib import Path

from cryptography import x509
from cryptography.hazmat.primitives import hashes, serialization
from cryptography.hazmat.primitives.asymmetric import rsa
from cryptography.hazmat.primitives.serialization import pkcs12
from cryptography.x509.oid import ExtendedKeyUsageOID, NameOID

DEFAULT_PUBLISHER = "Varnock Test Publisher"
DEFAULT_PASSWORD = "varnock-test"
# Wide enough for any commit's time, which is the signing time.
NOT_BEFORE = datetime.datetime(2000, 1, 1, tzinfo=datetime.timezone.utc)
NOT_AFTER = datetime.datetime(2099, 12, 31, tzinfo=datetime.timezone.utc)


def _name(common_name):
    return x509.Name([x509.NameAttribute(NameOID.COMMON_NAME, common_name),
                      x509.NameAttribute(NameOID.ORGANIZATION_NAME, common_name)])


def _certificate(subject, subject_key, issuer, issuer_key, serial, ca):
    builder = (x509.CertificateBuilder()
               .subject_name(subject).issuer_name(issuer)
               .public_key(subject_key.public_key()).serial_number(serial)
               .not_valid_before(NOT_BEFORE).not_valid_after(NOT_AFTER)
               .add_extension(x509.BasicConstraints(ca=ca, path_length=None), critical=True)
               .add_extension(x509.SubjectKeyIdentifier.from_public_key(subject_key.public_key()),
                              critical=False)
               .add_extension(x509.AuthorityKeyIdentifier.from_issuer_public_key(
                   issuer_key.public_key()), critical=False))
    if ca:
        builder = builder.add_extension(x509.KeyUsage(
            digital_signature=False, content_commitment=False, key_encipherment=False,
            data_encipherment=False, key_agreement=False, key_cert_sign=True, crl_sign=True,
            encipher_only=False, decipher_only=False), critical=True)
    else:
        builder = (builder
                   .add_extension(x509.KeyUsage(
                       digital_signature=True, content_commitment=False, key_encipherment=False,
                       data_encipherment=False, key_agreement=False, key_cert_sign=False,
                       crl_sign=False, encipher_only=False, decipher_only=False), critical=True)
                   .add_extension(x509.ExtendedKeyUsage([ExtendedKeyUsageOID.CODE_SIGNING]),
                                  critical=False))
    return builder.sign(issuer_key, hashes.SHA256())


def make(folder, publisher=DEFAULT_PUBLISHER, password=DEFAULT_PASSWORD):
    folder = Path(folder)
    folder.mkdir(parents=True, exist_ok=True)
    root_key = rsa.generate_private_key(public_exponent=65537, key_size=2048)
    leaf_key = rsa.generate_private_key(public_exponent=65537, key_size=2048)
    root_name = _name(publisher + " Root")
    root = _certificate(root_name, root_key, root_name, root_key, 1, ca=True)
    leaf = _certificate(_name(publisher), leaf_key, root_name, root_key, 2, ca=False)
    pem = serialization.Encoding.PEM
    paths = {name: folder / file for name, file in (
        ("root", "root.pem"), ("root_der", "root.cer"), ("chain", "publisher.pem"),
        ("key", "publisher.key"), ("pkcs12", "publisher.p12"))}
    paths["root"].write_bytes(root.public_bytes(pem))
    paths["root_der"].write_bytes(root.public_bytes(serialization.Encoding.DER))
    paths["chain"].write_bytes(leaf.public_bytes(pem) + root.public_bytes(pem))
    paths["key"].write_bytes(leaf_key.private_bytes(
        pem, serialization.PrivateFormat.PKCS8, serialization.NoEncryption()))
    paths["pkcs12"].write_bytes(pkcs12.serialize_key_and_certificates(
        publisher.encode(), leaf_key, leaf, [root],
        serialization.BestAvailableEncryption(password.encode())))
    result = {name: str(path) for name, path in paths.items()}
    result.update(publisher=publisher, password=password)
    return result


def main():
    parser = argparse.ArgumentParser(description=__doc__.split("\n\n")[0])
    parser.add_argument("folder")
    parser.add_argument("--publisher", default=DEFAULT_PUBLISHER)
    parser.add_argument("--password", default=DEFAULT_PASSWORD)
    args = parser.parse_args()
    print(json.dumps(make(args.folder, args.publisher, args.password), indent=2))


if __name__ == "__main__":
    main()
