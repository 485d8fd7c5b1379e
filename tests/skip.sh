# Sourced by the test scripts. A test that cannot run says why and is skipped (status 77, which
# ctest reports as skipped) on a developer's machine; when CI is set it fails instead, so that a
# green CI means that every test ran.

# fail REASON...: ends the test as failed.
fail() {
    echo "FAIL: $*" >&2
    exit 1
}

# skip REASON...: ends the test as skipped, or as failed under CI.
skip() {
    [ -z "${CI:-}" ] || fail "$* (under CI every test must run)"
    echo "SKIPPED: $*" >&2
    exit 77
}

# need PROGRAM...: skips, naming every program that is not on PATH.
need() {
    local missing=() program
    for program; do
        command -v "$program" >/dev/null || missing+=("$program")
    done
    [ ${#missing[@]} -eq 0 ] ||
        skip "${missing[*]} not installed (scripts/install-packages.sh installs it)"
}
