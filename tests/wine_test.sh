#!/usr/bin/env bash
# How ctest runs the Windows build's programs: under Wine, on a private X server, with TZ for
# Wine alone. Wine takes the Windows time zone from TZ, as Windows takes it from its own
# settings; the program itself does not see TZ, which Windows' C runtime would read by rules of
# its own, with the summer time of the United States.
#   wine_test.sh PROGRAM [ARGUMENT...]
set -uo pipefail
source "$(dirname -- "$0")/session.sh"
session_folder
session_x "$dir" || { cat "$dir/xvfb.log" >&2; exit 1; }
wine cmd /c "set TZ=&& $(winepath -w "$1") ${*:2}"
