#!/usr/bin/env bash
# Builds the release of both programs (no tests) in build/release, signs
# them when a certificate is given, and writes
# build/release/varnock-<version>-win64.zip, its winget manifest
# (build/release/winget/, three files) and Scoop manifest
# (build/release/scoop/varnock.json), its bill of materials
# (build/release/varnock-<version>.spdx.json), and build/release/SHA256SUMS
# of them all, whose paths are all it prints on standard output; the
# programs' sizes go to standard error. The archive carries the notices of
# the libraries linked into the programs, THIRD-PARTY-NOTICES.txt, taken
# from the installed toolchain's copyright files.
# The same commit gives the same bytes in any folder, at any time, in any
# time zone: the archive, the signatures, the manifests and the bill of
# materials take their one time, the last commit's, and the programs carry
# none.
#
# VARNOCK_RELEASE_URL is the address the archive will be published at, which
# the manifests name (https://www.halberwick.example/varnock/<archive>
# unless told).
#
# Signing, with either
#   VARNOCK_SIGN_CERT (PEM chain, leaf first) and VARNOCK_SIGN_KEY (PEM key), or
#   VARNOCK_SIGN_PKCS12 and VARNOCK_SIGN_PASSWORD
#   (the password also opens an encrypted PEM key);
# VARNOCK_SIGN_TIMESTAMP_URL adds an RFC 3161 timestamp from that server
# (the archive is then no longer reproducible: the timestamp is the server's).
set -euo pipefail
source "$(dirname "$0")/common.sh"

ensure_packages
release_dir=$BUILD_DIR/release

if [ -z "${SOURCE_DATE_EPOCH:-}" ]; then
  SOURCE_DATE_EPOCH=$(git -C "$VARNOCK_ROOT" log -1 --format=%ct) || {
    log "not a git checkout: set SOURCE_DATE_EPOCH to the release's time"
    exit 1
  }
fi
export SOURCE_DATE_EPOCH

sign=()
if [ -n "${VARNOCK_SIGN_PKCS12:-}" ] && [ -n "${VARNOCK_SIGN_CERT:-}${VARNOCK_SIGN_KEY:-}" ]; then
  log "give either VARNOCK_SIGN_CERT and VARNOCK_SIGN_KEY or VARNOCK_SIGN_PKCS12, not both"
  exit 1
elif [ -n "${VARNOCK_SIGN_PKCS12:-}" ]; then
  sign=(-pkcs12 "$VARNOCK_SIGN_PKCS12" -readpass -)
elif [ -n "${VARNOCK_SIGN_CERT:-}${VARNOCK_SIGN_KEY:-}" ]; then
  if [ -z "${VARNOCK_SIGN_CERT:-}" ] || [ -z "${VARNOCK_SIGN_KEY:-}" ]; then
    log "VARNOCK_SIGN_CERT and VARNOCK_SIGN_KEY go together"
    exit 1
  fi
  sign=(-certs "$VARNOCK_SIGN_CERT" -key "$VARNOCK_SIGN_KEY")
fi
[ ${#sign[@]} -gt 0 ] && [ -n "${VARNOCK_SIGN_TIMESTAMP_URL:-}" ] && sign+=(-ts "$VARNOCK_SIGN_TIMESTAMP_URL")

log "building the release in $release_dir"
cmake -S "$VARNOCK_ROOT" -B "$release_dir" --preset mingw -DBUILD_TESTING=OFF >/dev/null
# Progress to standard error: standard output is the paths alone.
cmake --build "$release_dir" -j2 --target varnock_app varnock-report >&2

# The name the package target gives the archive, version included.
name=$(sed -n 's/^set(CPACK_PACKAGE_FILE_NAME "\(.*\)")$/\1/p' "$release_dir/CPackConfig.cmake")
version=$(sed -n 's/^set(CPACK_PACKAGE_VERSION "\(.*\)")$/\1/p' "$release_dir/CPackConfig.cmake")
archive=$release_dir/$name.zip
url=${VARNOCK_RELEASE_URL:-https://www.halberwick.example/varnock/$name.zip}
stage=$release_dir/stage
sbom=$release_dir/varnock-$version.spdx.json
rm -rf "$stage" "$archive" "$sbom" "$release_dir/SHA256SUMS" "$release_dir/winget" "$release_dir/scoop"
mkdir -p "$stage"

# sign_or_copy FROM NAME DESCRIPTION: FROM into the stage as NAME, signed
# when a certificate was given. The signing time is the commit's, so the
# same key signs to the same bytes.
sign_or_copy() {
  if [ ${#sign[@]} -eq 0 ]; then
    cp "$1" "$stage/$2"
    return
  fi
  log "signing $2"
  printf '%s' "${VARNOCK_SIGN_PASSWORD:-}" |
    osslsigncode sign "${sign[@]}" -h sha256 -n "$3" -time "$SOURCE_DATE_EPOCH" \
      -in "$1" -out "$stage/$2" >/dev/null
}
sign_or_copy "$release_dir/bin/Varnock.exe" Varnock.exe Varnock
sign_or_copy "$release_dir/tools/varnock-report.exe" varnock-report.exe "Varnock report"
cp "$release_dir/packaging/README.txt" "$VARNOCK_ROOT/docs/report.schema.json" "$stage/"
# What the compiler that built them linked in: the notices, and the list the
# bill of materials takes (not in the archive).
compiler=$(sed -n 's/^set(CMAKE_CXX_COMPILER "\(.*\)")$/\1/p' "$release_dir"/CMakeFiles/*/CMakeCXXCompiler.cmake | tail -1)
[ -n "$compiler" ] || { log "the release build names no C++ compiler"; exit 1; }
/usr/bin/python3 "$VARNOCK_ROOT/scripts/release_components.py" "$compiler" "$version" \
  "$stage/THIRD-PARTY-NOTICES.txt" "$stage/components.json"

/usr/bin/python3 "$VARNOCK_ROOT/scripts/release_zip.py" "$SOURCE_DATE_EPOCH" "$archive" \
  "$stage/Varnock.exe" "$stage/varnock-report.exe" "$stage/README.txt" "$stage/report.schema.json" \
  "$stage/THIRD-PARTY-NOTICES.txt"
# The manifests' paths, relative to the release folder, one a line.
listing=$(/usr/bin/python3 "$VARNOCK_ROOT/scripts/release_manifests.py" "$version" "$SOURCE_DATE_EPOCH" \
  "$archive" "$url" "$release_dir")
mapfile -t manifests <<<"$listing"
/usr/bin/python3 "$VARNOCK_ROOT/scripts/release_sbom.py" "$version" "$SOURCE_DATE_EPOCH" \
  "$archive" "$url" "$stage/components.json" "$sbom"
(cd "$release_dir" && sha256sum "$(basename "$archive")" "${manifests[@]}" "$(basename "$sbom")" >SHA256SUMS)
# The programs' sizes as the README gives them, on standard error.
for program in Varnock.exe varnock-report.exe; do
  log "$program: $(stat -c %s "$stage/$program" | sed ':a; s/\B[0-9]\{3\}\>/,&/; ta') bytes"
done
echo "$archive"
for manifest in "${manifests[@]}"; do echo "$release_dir/$manifest"; done
echo "$sbom"
echo "$release_dir/SHA256SUMS"
