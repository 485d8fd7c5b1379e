#!/usr/bin/env bash
# Usage: package_lintian.sh <package dir>
# Runs lintian --pedantic, experimental tags included, on the source and binary packages that
# package_build.sh left. Fails on any error or warning, and on any other tag not listed below.
set -euo pipefail

changes=("$1"/vorlandi_*.changes)
source "$(dirname -- "$0")/../skip.sh"
[ -f "${changes[0]}" ] || skip "no package was built"

# Tags that stay, each as lintian prints it after the package's name, with the reason.
expected=(
    # Debian's rules for games place a game's private executable in /usr/lib/games/<game>;
    # this experimental tag asks for /usr/libexec instead.
    "executable-in-usr-lib [usr/lib/games/vorlandi/vorlandi]"
    # "forse" is Italian for "perhaps", in the exit button's tooltip, not a misspelt "force".
    "spelling-error-in-binary forse force [usr/lib/games/vorlandi/vorlandi]"
    # One source builds on Debian 12 and 13: Debian 12's lintian warns of a Standards-Version
    # newer than the 4.6.2 it knows, where Debian 13's only notes that 4.6.2 is not the latest.
    "out-of-date-standards-version 4.6.2 (released 2022-12-17) (current is 4.7.2)"
)

if ! report=$(lintian --pedantic --display-info --display-experimental --fail-on none \
    "${changes[0]}" 2>&1); then
    echo "$report" >&2
    echo "FAIL: lintian did not run" >&2
    exit 1
fi
# lintian's own warning about running as root is not about the package.
report=$(echo "$report" | grep -v '^running with root privileges' || true)
[ -z "$report" ] || echo "$report"
unexpected=$({ echo "$report" | grep -E '^[EWIPX]: ' || true; } | while read -r line; do
    # Debian 13's lintian adds the line in the file, as in [path:1].
    tag=$(sed -E 's/:[0-9]+\]$/]/' <<<"${line#*: *: }")
    printf '%s\n' "${expected[@]}" | grep -qxF -- "$tag" || echo "$line"
done)
if [ -n "$unexpected" ]; then
    echo "FAIL: lintian reports tags that have no reason to stay:" >&2
    echo "$unexpected" >&2
    exit 1
fi
echo "ok: lintian reports no error, no warning and no unexpected tag"
