#!/usr/bin/env python3
"""A driver package's catalog (.cat): the list of its files' hashes that Windows checks a signed
driver package against, as an unsigned PKCS#7 SignedData around a certificate trust list.
tools/sign.sh (osslsigncode) adds the signature.

Usage: catalog.py OUT.cat NAME=PATH ...

Each member is one file: PE files (an "MZ" start that pefile can read) by their Authenticode
SHA-256 hash, which leaves out the checksum, the certificate table's directory entry and the
certificate table itself; every other file by the SHA-256 hash of its bytes. Each member carries
the file's installed NAME and the systems the package is for (OSAttr); the catalog carries
OSAttr too. The bytes depend on the files only (a fixed date, an identifier made from the
hashes), so the build rewrites the catalog only when a file changed. Files with equal bytes are
listed once.
"""
import hashlib
import sys
from datetime import datetime, timezone

import pefile
from asn1crypto import algos, cms, core, x509

# Windows NT 5.0 (2000) to 10.0 (10 and 11): the systems this package installs on.
OS_ATTRIBUTE = "2:5.00,2:5.1,2:5.2,2:6.0,2:6.1,2:6.2,2:6.3,2:10.0"
# The subject interface packages that hash a member: PE images and flat files.
PE_SUBJECT = "{C689AAB8-8E78-11D0-8C47-00C04FC295EE}"
FLAT_SUBJECT = "{DE351A42-8E59-11D0-8C47-00C04FC295EE}"
# The catalog's date: fixed, so that its bytes follow from the files alone.
THIS_UPDATE = datetime(2000, 1, 1, tzinfo=timezone.utc)
# Authenticated ASCII name and value (CRYPTCAT_ATTR_AUTHENTICATED | NAMEASCII | DATAASCII).
NAME_VALUE_FLAGS = 0x10010001
OBSOLETE = "<<<Obsolete>>>"  # what Windows' own tools write where a link once went

SIGNED_DATA = "1.2.840.113549.1.7.2"
CTL = "1.3.6.1.4.1.311.10.1"
CATALOG_LIST = "1.3.6.1.4.1.311.12.1.1"
CATALOG_LIST_MEMBER = "1.3.6.1.4.1.311.12.1.2"
CATALOG_NAME_VALUE = "1.3.6.1.4.1.311.12.2.1"
CATALOG_MEMBER_INFO = "1.3.6.1.4.1.311.12.2.2"
SPC_INDIRECT_DATA = "1.3.6.1.4.1.311.2.1.4"
SPC_PE_IMAGE_DATA = "1.3.6.1.4.1.311.2.1.15"
SPC_FLAT_DATA = "1.3.6.1.4.1.311.2.1.25"


class SpcString(core.Choice):
    _alternatives = [("unicode", core.BMPString, {"implicit": 0}), ("ascii", core.IA5String, {"implicit": 1})]


class SpcLink(core.Choice):
    _alternatives = [("url", core.IA5String, {"implicit": 0}),
                     ("moniker", core.Any, {"implicit": 1}),
                     ("file", SpcString, {"explicit": 2})]


class SpcPeImageData(core.Sequence):
    _fields = [("flags", core.BitString), ("file", SpcLink, {"explicit": 0, "optional": True})]


class SpcAttributeTypeAndOptionalValue(core.Sequence):
    _fields = [("type", core.ObjectIdentifier), ("value", core.Any, {"optional": True})]


class SpcIndirectDataContent(core.Sequence):
    _fields = [("data", SpcAttributeTypeAndOptionalValue), ("message_digest", algos.DigestInfo)]


class CatNameValue(core.Sequence):
    _fields = [("tag", core.BMPString), ("flags", core.Integer), ("value", core.OctetString)]


class CatMemberInfo(core.Sequence):
    _fields = [("guid", core.BMPString), ("cert_version", core.Integer)]


class MemberAttribute(core.Sequence):
    _fields = [("type", core.ObjectIdentifier), ("values", cms.SetOfAny)]


class MemberAttributes(core.SetOf):
    _child_spec = MemberAttribute


class TrustedSubject(core.Sequence):
    _fields = [("identifier", core.OctetString), ("attributes", MemberAttributes, {"optional": True})]


class TrustedSubjects(core.SequenceOf):
    _child_spec = TrustedSubject


class SubjectUsages(core.SequenceOf):
    _child_spec = core.ObjectIdentifier


class CertificateTrustList(core.Sequence):
    _fields = [("subject_usage", SubjectUsages),
               ("list_identifier", core.OctetString, {"optional": True}),
               ("this_update", x509.Time),
               ("subject_algorithm", algos.DigestAlgorithm),
               ("trusted_subjects", TrustedSubjects, {"optional": True}),
               ("extensions", x509.Extensions, {"explicit": 0, "optional": True})]


class CatalogContentInfo(core.Sequence):
    _fields = [("content_type", core.ObjectIdentifier), ("content", CertificateTrustList, {"explicit": 0})]


class CatalogSignedData(core.Sequence):
    """PKCS#7 SignedData, whose content (unlike CMS's) is not wrapped in an octet string."""
    _fields = [("version", cms.CMSVersion), ("digest_algorithms", cms.DigestAlgorithms),
               ("content_info", CatalogContentInfo), ("signer_infos", cms.SignerInfos)]


class CatalogFile(core.Sequence):
    _fields = [("content_type", core.ObjectIdentifier), ("content", CatalogSignedData, {"explicit": 0})]


def wide(text):
    return (text + "\0").encode("utf-16-le")


def authenticode_hash(data):
    """The Authenticode SHA-256 of a PE image; None when data is no PE image pefile can read."""
    if data[:2] != b"MZ":
        return None
    try:
        pe = pefile.PE(data=data, fast_load=True)
    except pefile.PEFormatError:
        return None
    checksum = pe.OPTIONAL_HEADER.get_field_absolute_offset("CheckSum")
    security = pe.OPTIONAL_HEADER.DATA_DIRECTORY[pefile.DIRECTORY_ENTRY["IMAGE_DIRECTORY_ENTRY_SECURITY"]]
    entry = security.get_file_offset()
    end = security.VirtualAddress if security.VirtualAddress and security.Size else len(data)
    digest = hashlib.sha256()
    for start, stop in ((0, checksum), (checksum + 4, entry), (entry + 8, end)):
        digest.update(data[start:stop])
    return digest.digest()


def name_value(tag, text):
    return CatNameValue({"tag": tag, "flags": NAME_VALUE_FLAGS, "value": wide(text)})


def member(name, data):
    """The catalog entry of one file, tagged with its hash in upper-case hex."""
    digest = authenticode_hash(data)
    if digest is not None:
        subject = PE_SUBJECT
        indirect_type = SPC_PE_IMAGE_DATA
        indirect_value = SpcPeImageData({"flags": (), "file": SpcLink(name="file", value=SpcString(
            name="unicode", value=OBSOLETE))})
    else:
        digest = hashlib.sha256(data).digest()
        subject = FLAT_SUBJECT
        indirect_type = SPC_FLAT_DATA
        indirect_value = SpcLink(name="file", value=SpcString(name="unicode", value=OBSOLETE))
    indirect = SpcIndirectDataContent({
        "data": {"type": indirect_type, "value": core.Any.load(indirect_value.dump())},
        "message_digest": {"digest_algorithm": {"algorithm": "sha256"}, "digest": digest},
    })
    attributes = [
        (CATALOG_NAME_VALUE, name_value("File", name)),
        (CATALOG_NAME_VALUE, name_value("OSAttr", OS_ATTRIBUTE)),
        (CATALOG_MEMBER_INFO, CatMemberInfo({"guid": subject, "cert_version": 512})),
        (SPC_INDIRECT_DATA, indirect),
    ]
    return TrustedSubject({
        "identifier": wide(digest.hex().upper()),
        "attributes": [MemberAttribute({"type": oid, "values": [core.Any.load(value.dump())]})
                       for oid, value in attributes],
    })


def catalog(files, this_update):
    """The unsigned catalog's DER bytes over files, a list of (installed name, bytes)."""
    members, seen = [], set()
    for name, data in files:
        entry = member(name, data)
        if entry["identifier"].native not in seen:
            seen.add(entry["identifier"].native)
            members.append(entry)
    members.sort(key=lambda entry: entry["identifier"].native)
    identity = hashlib.sha256(b"".join(entry["identifier"].native for entry in members)).digest()[:16]
    trust_list = CertificateTrustList({
        "subject_usage": [CATALOG_LIST],
        "list_identifier": identity,
        "this_update": x509.Time(name="utc_time", value=this_update),
        "subject_algorithm": {"algorithm": CATALOG_LIST_MEMBER, "parameters": core.Null()},
        "trusted_subjects": members,
        "extensions": [x509.Extension({"extn_id": CATALOG_NAME_VALUE, "critical": False,
                                       "extn_value": name_value("OSAttr", OS_ATTRIBUTE).dump()})],
    })
    signed = CatalogSignedData({
        "version": "v1",
        "digest_algorithms": [{"algorithm": "sha256"}],
        "content_info": {"content_type": CTL, "content": trust_list},
        "signer_infos": [],
    })
    return CatalogFile({"content_type": SIGNED_DATA, "content": signed}).dump()


def installed_name(path):
    """The file's name in the driver directory: a file built in several languages carries its
    language after a dash ("Q73RES-en.dll"), which the installed file does not."""
    name = path.replace("\\", "/").rsplit("/", 1)[-1]
    stem, dot, extension = name.rpartition(".")
    return (stem.split("-", 1)[0] + dot + extension) if dot else name


def main(argv):
    if len(argv) < 3 or any("=" not in item for item in argv[2:]):
        sys.stderr.write("usage: catalog.py OUT.cat NAME=PATH ...\n")
        return 2
    files = []
    for item in argv[2:]:
        name, path = item.split("=", 1)
        with open(path, "rb") as f:
            files.append((name, f.read()))
    with open(argv[1], "wb") as f:
        f.write(catalog(files, THIS_UPDATE))
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
