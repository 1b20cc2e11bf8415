#!/usr/bin/env bash
# Makes release VERSION from a clean tree whose project version it is: the source tarball of
# the tracked files, the .deb built from that tarball alone in a fresh folder (so the package
# can only need what the tarball holds), and their SHA-256 sums, all in release/VERSION/; then
# tags the commit vVERSION.
#   bash scripts/release.sh VERSION
set -euo pipefail
cd "$(dirname "$0")/.."
fail() { echo "release: $*" >&2; exit 1; }

version=${1:-}
[[ "$version" =~ ^[0-9]+\.[0-9]+\.[0-9]+$ ]] || fail "usage: bash scripts/release.sh MAJOR.MINOR.PATCH"
[ -z "$(git status --porcelain)" ] || fail "the tree has uncommitted changes"
project_version=$(sed -n 's/^project(Zorbix VERSION \([0-9.]*\) .*/\1/p' CMakeLists.txt)
[ "$project_version" = "$version" ] ||
    fail "the project's version is $project_version, not $version (CMakeLists.txt)"
! git rev-parse -q --verify "refs/tags/v$version" >/dev/null || fail "tag v$version exists"

bash scripts/setup.sh release
name=zorbix-$version
out=release/$version
rm -rf "$out"
mkdir -p "$out"
git archive --format=tar.gz --prefix="$name/" -o "$out/$name.tar.gz" HEAD

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
tar -xzf "$out/$name.tar.gz" -C "$work"
cmake -S "$work/$name" -B "$work/build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
    -DZORBIX_TESTS=OFF -DZORBIX_BENCHMARKS=OFF >/dev/null
cmake --build "$work/build"
(cd "$work/build" && cpack -G DEB -B "$work/package" >/dev/null)
cp "$work/package/zorbix_${version}_amd64.deb" "$out/"

(cd "$out" && sha256sum "$name.tar.gz" "zorbix_${version}_amd64.deb" >SHA256SUMS)
git tag -a "v$version" -m "Zorbix $version"
echo "release: $out/ holds $(ls "$out" | tr '\n' ' ')and the commit is tagged v$version"
