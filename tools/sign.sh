#!/usr/bin/env bash
# Signs a Windows program or a driver package's catalog (.cat) in place with an Authenticode
# SHA-256 signature (osslsigncode):
#
#   bash tools/sign.sh FILE [DESCRIPTION]
#
# The certificate is the maker's, named by the environment and never kept in the repository:
#   Q73_SIGN_PFX                  a PKCS#12 file with the certificate (and its chain) and key, or
#   Q73_SIGN_CERT, Q73_SIGN_KEY   a PEM certificate (and chain) file and its PEM private key;
#   Q73_SIGN_PASSWORD             the password of the PFX or of the key, if it has one (handed
#                                 to osslsigncode on its standard input, never on a command line);
#   Q73_SIGN_TIMESTAMP_URL        an RFC 3161 time-stamp server (optional; without one the
#                                 signature carries no time stamp and ends with the certificate).
# DESCRIPTION is the program's name shown by the signature dialog.
#
# FILE is replaced only by a signed copy that osslsigncode produced without error; on any failure
# it stays as it was and the exit status is not 0. A signature FILE already has is replaced.
set -euo pipefail

fail() { echo "sign.sh: $*" >&2; exit 1; }

[ $# -ge 1 ] && [ $# -le 2 ] || fail "usage: sign.sh FILE [DESCRIPTION]"
file=$1
description=${2:-}
[ -f "$file" ] || fail "no file $file"
command -v osslsigncode >/dev/null || fail "osslsigncode is not installed (Debian package osslsigncode)"

pfx=${Q73_SIGN_PFX:-}
cert=${Q73_SIGN_CERT:-}
key=${Q73_SIGN_KEY:-}
if [ -n "$pfx" ] && { [ -n "$cert" ] || [ -n "$key" ]; }; then
  fail "set either Q73_SIGN_PFX or Q73_SIGN_CERT with Q73_SIGN_KEY, not both"
fi
if [ -n "$pfx" ]; then
  [ -r "$pfx" ] || fail "cannot read the PFX file $pfx (Q73_SIGN_PFX)"
  credentials=(-pkcs12 "$pfx")
elif [ -n "$cert" ] || [ -n "$key" ]; then
  [ -n "$cert" ] && [ -n "$key" ] || fail "set Q73_SIGN_CERT and Q73_SIGN_KEY together"
  [ -r "$cert" ] || fail "cannot read the certificate $cert (Q73_SIGN_CERT)"
  [ -r "$key" ] || fail "cannot read the private key $key (Q73_SIGN_KEY)"
  credentials=(-certs "$cert" -key "$key")
else
  fail "no certificate: set Q73_SIGN_PFX, or Q73_SIGN_CERT and Q73_SIGN_KEY"
fi

options=(-h sha256)
[ -z "$description" ] || options+=(-n "$description")
[ -z "${Q73_SIGN_TIMESTAMP_URL:-}" ] || options+=(-ts "$Q73_SIGN_TIMESTAMP_URL")

# The signed copy is made beside the file and moved over it only when complete. osslsigncode
# replaces a signature the input already has.
work=$(mktemp -d "$(dirname "$file")/.sign.XXXXXX")
trap 'rm -rf "$work"' EXIT
signed=$work/signed

if [ -n "${Q73_SIGN_PASSWORD:-}" ]; then
  printf '%s' "$Q73_SIGN_PASSWORD" |
    osslsigncode sign "${credentials[@]}" -readpass - "${options[@]}" -in "$file" -out "$signed" >/dev/null ||
    fail "signing $file failed"
else
  osslsigncode sign "${credentials[@]}" "${options[@]}" -in "$file" -out "$signed" >/dev/null </dev/null ||
    fail "signing $file failed"
fi
[ -s "$signed" ] || fail "signing $file produced nothing"
chmod --reference="$file" "$signed"
mv -f "$signed" "$file"
echo "sign.sh: signed $file"
