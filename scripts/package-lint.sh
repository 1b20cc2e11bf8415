#!/usr/bin/env bash
# Checks what the installed game hands the desktop and the package manager: the desktop file,
# the AppStream metainfo (without the network) and the .deb that `cpack -G DEB` makes, which
# lintian must pass without an error. Prints the package's name and size.
#   bash scripts/package-lint.sh [BUILD_DIRECTORY]   (default: build)
set -euo pipefail
cd "$(dirname "$0")/.."

build=$(realpath "${1:-build}")
stage=$(mktemp -d)
trap 'rm -rf "$stage"' EXIT

DESTDIR="$stage" cmake --install "$build" --prefix /usr >/dev/null
desktop-file-validate "$stage"/usr/share/applications/*.desktop
appstreamcli validate --no-net --pedantic "$stage"/usr/share/metainfo/*.metainfo.xml

(cd "$build" && cpack -G DEB -B "$stage/package" >/dev/null)
package=$(ls "$stage"/package/*.deb)
echo "package-lint: $(basename "$package"), $(stat -c %s "$package") bytes"
dpkg-deb --info "$package" | grep -E '^ (Depends|Installed-Size):'
# lintian's exit status is non-zero for errors only; its warnings are printed for the reader.
lintian --fail-on error --tag-display-limit 0 "$package"
echo "package-lint: passed"
