#!/usr/bin/env bash
# Usage: fresh-root.sh RELEASE COMMAND...
# Runs COMMAND, as root, in a copy of this checkout inside a fresh minimal root of the Debian
# release RELEASE (bookworm, trixie), made with debootstrap from the archive this machine uses.
# Needs root.
#
# The root lives in a folder of its own under /var/tmp, outside the checkout: the package test
# copies the checkout, and a device node inside it would be read as an endless file. /proc, /dev,
# /dev/pts and a private /dev/shm are mounted into it inside a mount namespace of this script's
# own, so that even a killed run leaves no mount behind; a normal end also unmounts each by its
# path and removes the root. A root left by a killed run is removed by the next one.
set -euo pipefail
[ $# -ge 2 ] || { echo "usage: $0 RELEASE COMMAND..." >&2; exit 2; }
[ "$(id -u)" -eq 0 ] || { echo "$0 must run as root" >&2; exit 1; }
release=$1
shift
checkout=$(cd "$(dirname -- "$0")/.." && pwd)
prefix=/var/tmp/vorlandi-fresh-root.

# Removes a root and everything in it, but never crosses into a mounted file system: were a
# mount still there, its files (the machine's /dev) would be left alone.
remove_root() {
    rm -rf --one-file-system -- "$1"
}

if [ -z "${VORLANDI_IN_NAMESPACE:-}" ]; then
    # Roots that a killed run left: their mounts went with its namespace, and the lock that
    # every process of a run holds with it. A root without a lock is left a minute, the time a
    # run takes to take its lock.
    for old in "$prefix"*; do
        [ -d "$old" ] && [ "$(stat -c %u "$old")" -eq 0 ] || continue
        if [ -f "$old/lock" ]; then
            flock -n "$old/lock" true || continue
        elif [ -z "$(find "$old" -maxdepth 0 -mmin +1)" ]; then
            continue
        fi
        remove_root "$old"
    done
    command -v debootstrap >/dev/null || {
        echo "Installing debootstrap"
        DEBIAN_FRONTEND=noninteractive apt-get install -y --no-install-recommends debootstrap \
            >/dev/null
    }
    export VORLANDI_IN_NAMESPACE=1
    exec unshare --mount --propagation private -- "$0" "$release" "$@"
fi

top=$(mktemp -d "${prefix}XXXXXX")
# Held by this run and everything it starts, for as long as any of them runs.
exec 9>"$top/lock"
flock 9
fs=$top/root
mounted=()
cleanup() {
    local i process
    # Whatever still runs in the root, such as a server a test left, ends with it.
    for process in /proc/[0-9]*; do
        [ "$(readlink "$process/root" 2>/dev/null)" != "$fs" ] ||
            kill -KILL "${process#/proc/}" 2>/dev/null || true
    done
    for ((i = ${#mounted[@]} - 1; i >= 0; i--)); do
        umount "${mounted[i]}" || umount -l "${mounted[i]}" || true
    done
    # Removes the root only when nothing is mounted in it any longer. (grep reads all that
    # findmnt says: stopping early would fail the pipe, and the test with it.)
    findmnt -rn -o TARGET | grep -F "$top" >/dev/null || remove_root "$top"
}
trap cleanup EXIT
trap 'exit 130' INT TERM HUP

# The first Debian mirror that apt names, in either format of its lists.
mirror=$(cat /etc/apt/sources.list /etc/apt/sources.list.d/*.{sources,list} 2>/dev/null |
    sed -n -e 's/^URIs: *\(http[^ ]*\/debian\)$/\1/p' -e 's/^deb \(http[^ ]*\/debian\) .*/\1/p' |
    head -n 1) || true
mirror=${mirror:-http://deb.debian.org/debian}
echo "Making a fresh Debian $release root in $fs from $mirror"
log=$top/debootstrap.log
debootstrap --variant=minbase "$release" "$fs" "$mirror" >"$log" 2>&1 || {
    tail -n 30 "$log" >&2
    exit 1
}

mount_into() { # mount_into TARGET MOUNT-ARGUMENTS...
    local target=$fs$1
    shift
    mount "$@" "$target"
    mounted+=("$target")
}
mount_into /proc -t proc proc
mount_into /dev --bind /dev
mount_into /dev/pts --bind /dev/pts
mount_into /dev/shm -t tmpfs -o mode=1777,nosuid,nodev tmpfs

cp /etc/resolv.conf "$fs/etc/resolv.conf"
# Packages installed in the root must not start services.
printf '#!/bin/sh\nexit 101\n' >"$fs/usr/sbin/policy-rc.d"
chmod 755 "$fs/usr/sbin/policy-rc.d"

# The checkout as it stands, tracked files only: no build folder and no device node.
mkdir "$fs/root/vorlandi"
git -C "$checkout" ls-files -z | tar -C "$checkout" --null -T - -cf - |
    tar -C "$fs/root/vorlandi" -xf -

echo "Running $* in Debian $release"
chroot "$fs" /usr/bin/env -i HOME=/root LANG=C.UTF-8 TERM=dumb ${CI:+CI=$CI} \
    PATH=/usr/local/sbin:/usr/local/bin:/usr/sbin:/usr/bin:/sbin:/bin \
    /bin/bash -c 'cd /root/vorlandi && exec "$@"' bash "$@"
