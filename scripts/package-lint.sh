#!/usr/bin/env bash
# Checks what the installed game hands the desktop and the package manager: the desktop file,
# the AppStream metainfo (without the network) and the .deb that `cpack -G DEB` makes, which
# lintian must pass without an error or a hardening tag. Prints the package's name and size.
#   bash scripts/package-lint.sh [BUILD_DIRECTORY]   (default: build)
set -euo pipefail
cd "$(dirname "$0")/.."
source scripts/need-tools.sh
need_tools cpack dpkg-deb desktop-file-validate appstreamcli lintian

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
# lintian as strict as it gets: its exit status is non-zero for errors only, the rest is
# printed for the reader; but a hardening tag of any severity fails too.
findings=$(lintian --fail-on error --pedantic --display-info --display-experimental \
    --tag-display-limit 0 "$package") || { printf '%s\n' "$findings"; exit 1; }
printf '%s\n' "$findings"
if grep -q 'hardening-' <<<"$findings"; then
    echo "package-lint: the program lacks hardening (see ZORBIX_HARDENING)" >&2
    exit 1
fi
echo "package-lint: passed"
