#!/usr/bin/env bash
# Builds the Debian package twice from copies of the source tree that differ in everything a
# build should not depend on: the folder's path, the time of day and time zone, the locale and
# the umask. Prints whether the two .deb files are identical, and if not, which files in them
# differ. Takes two package builds' time (a few minutes each).
#   bench/package_reproducible.sh
set -euo pipefail
root=$(cd "$(dirname -- "$0")/.." && pwd)
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

# build NAME FOLDER TZ LOCALE UMASK: builds the package from a copy of the tree in FOLDER.
build() {
    local name=$1 folder=$work/$2
    mkdir -p "$folder"
    git -C "$root" ls-files -z --cached --others --exclude-standard |
        tar -C "$root" --null -T - -cf - | tar -C "$folder" -xf -
    echo "Building the package in $folder (TZ=$3, LC_ALL=$4, umask $5)"
    (cd "$folder" && umask "$5" && TZ=$3 LC_ALL=$4 DEB_BUILD_OPTIONS="nocheck parallel=2" \
        DEB_BUILD_PROFILES=nocheck dpkg-buildpackage -us -uc -b >"$work/$name.log" 2>&1) ||
        { tail -n 30 "$work/$name.log" >&2; echo "the build in $folder failed" >&2; exit 1; }
    mkdir -p "$work/$name"
    mv "$folder"/../vorlandi_*.deb "$work/$name/"
}
build first a/vorlandi UTC C.UTF-8 022
build second build-path-of-another-length/b/vorlandi Pacific/Kiritimati C 002

first=("$work"/first/vorlandi_*.deb)
second=("$work"/second/vorlandi_*.deb)
if cmp -s "${first[0]}" "${second[0]}"; then
    echo "identical: $(basename -- "${first[0]}") ($(sha256sum <"${first[0]}" | cut -c1-16)…)"
    exit 0
fi
echo "different: the two builds of $(basename -- "${first[0]}") differ"
for name in first second; do
    mkdir -p "$work/$name/tree"
    dpkg-deb -R "$work/$name"/vorlandi_*.deb "$work/$name/tree"
done
diff -rq "$work/first/tree" "$work/second/tree" || true
exit 1
