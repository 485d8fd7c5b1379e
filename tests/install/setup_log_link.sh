#!/usr/bin/env bash
# Usage: setup_log_link.sh <source dir>
# Root runs the set-up scripts' steps in a checkout that another user owns. Their output reaches
# build/setup.log, and a failure shows its end; but when the owner has made the log a symbolic
# link to one of root's files, nothing is written through it and nothing read from it is shown.
# apt and cmake are stand-ins that print a line. Needs root.
set -euo pipefail
source=$1
source "$(dirname -- "$0")/../skip.sh"
need setpriv
[ "$(id -u)" -eq 0 ] || skip "running the set-up scripts as root needs root"

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
chmod 755 "$work"
mkdir -p "$work/checkout/scripts" "$work/bin"
cp "$source/scripts/common.sh" "$source/scripts/install-packages.sh" "$work/checkout/scripts/"
printf '#!/bin/sh\necho "$(basename "$0") ran"\n' >"$work/bin/apt-get"
cp "$work/bin/apt-get" "$work/bin/cmake"
printf '#!/bin/sh\nexit 1\n' >"$work/bin/dpkg-query" # every package is missing
chmod 755 "$work/bin"/*
chown -R nobody: "$work/checkout"
echo secret >"$work/root-file"
chmod 600 "$work/root-file"

# as_root COMMANDS: runs the commands as root with common.sh sourced in the checkout.
as_root() {
    PATH="$work/bin:$PATH" bash -c 'set -euo pipefail; source "$1/scripts/common.sh"; eval "$2"' \
        sh "$work/checkout" "$1"
}
operations=('step Saying echo said' 'install_packages play' 'build_tree build Building')

if as_root "$(printf '%s; ' "${operations[@]}") step Failing sh -c 'echo why; exit 3'" \
    2>"$work/stderr"; then
    fail "a failing step did not fail"
fi
for line in said 'apt-get ran' 'cmake ran' why; do
    grep -qx "$line" "$work/checkout/build/setup.log" || fail "no \"$line\" in the log"
done
grep -qx '    why' "$work/stderr" || fail "the failure did not show the log's end: $(cat "$work/stderr")"

for operation in "${operations[@]}"; do
    rm -f "$work/checkout/build/setup.log"
    as_root "as_owner ln -sfn '$work/root-file' build/setup.log; $operation" 2>>"$work/stderr" || true
done
[ "$(cat "$work/root-file")" = secret ] || fail "written through the link: $(cat "$work/root-file")"
! grep -q secret "$work/stderr" || fail "the failure showed the file the link leads to"
echo "ok: the steps' output reached the log, and nothing went through a link put in its place"
