#!/usr/bin/env bash
# The Windows packages under Wine, in a fresh prefix of the test's own. The installer's /S,
# run twice (the second time over the first installation), must install for the user: the
# portable zip's files under %LOCALAPPDATA%\Programs\Vorlandi, a Start-menu shortcut and the
# entry in the user's installed apps with its name, version, publisher and size. The installed
# game must show its window, Quintarel, on a private X server. The entry's QuietUninstallString
# must remove the folder, the shortcut and the entry; the msi, installed and removed by msiexec
# without a user interface, must bring the same files and a shortcut and take them away again.
# Played by keys with a PulseAudio null sink, the installed game must be heard: each sound in
# img/ replaced by a tone whose loudness names it, the number, then the cheer for the right
# answer; the disappointed sound, removed, stays silent and the game plays on.
# At the end no file and no registry key of the game may remain.
#
#   windows_installer.sh OUT VERSION
set -euo pipefail
out=$1 version=$2
source "$(dirname -- "$0")/skip.sh"
source "$(dirname -- "$0")/session.sh"
need wine wineboot winepath wineserver Xvfb xdotool unzip pulseaudio pactl parec python3

installer=$out/vorlandi-$version-windows-installer.exe
msi=$out/vorlandi-$version-windows.msi
zip=$out/vorlandi-$version-windows-portable.zip
bytes=$(stat -c %s -- "$installer") || fail "no $installer"
echo "the installer has $bytes bytes"
[ "$bytes" -lt 15000000 ] || fail "the installer has 15 MB or more"

session_folder
# The prefix and whatever Wine writes to a home folder stay in the test's folder; Wine makes no
# menu entries and asks for no add-on. A TERM, INT or HUP ends the script through its EXIT
# trap, which also ends every process of the prefix.
export WINEPREFIX=$dir/prefix WINEDEBUG=-all HOME=$dir XDG_RUNTIME_DIR=$dir
export WINEDLLOVERRIDES='mscoree,mshtml=;winemenubuilder.exe=d'
unset XDG_DATA_HOME XDG_CONFIG_HOME XDG_CACHE_HOME
trap 'session_stop; wineserver -k 2>/dev/null || true; rm -rf "$dir"' EXIT
trap 'exit 129' HUP
trap 'exit 130' INT
trap 'exit 143' TERM
session_x "$dir" || { cat "$dir/xvfb.log" >&2; exit 1; }
session_sound "$dir"
wineboot -i >"$dir/wine.log" 2>&1 || { cat "$dir/wine.log" >&2; fail "wineboot -i failed"; }
unzip -q "$zip" -d "$dir/zip"
read -r local roaming < <(wine cmd /c 'echo %LOCALAPPDATA% %APPDATA%' | tr -d '\r')
folder=$local\\Programs\\Vorlandi
installed=$(winepath -u "$folder")
shortcut=$(winepath -u "$roaming\\Microsoft\\Windows\\Start Menu\\Programs\\Vorlandi.lnk")
key='HKCU\Software\Microsoft\Windows\CurrentVersion\Uninstall\Vorlandi'

wine "$installer" /S && wine "$installer" /S || fail "the installer failed, the first time or over that"
diff -r -x uninstall.exe "$dir/zip/Vorlandi" "$installed" ||
    fail "$folder does not hold the portable zip's files"
grep -qaF "$folder\\vorlandi.exe" "$shortcut" || fail "no Start-menu shortcut to vorlandi.exe"
declare -A entry
while read -r name _ value; do
    entry[$name]=$value
done < <(wine reg query "$key" | tr -d '\r' | grep -F ' REG_')
[ "${entry[DisplayName]-}" = Vorlandi ] && [ "${entry[DisplayVersion]-}" = "$version" ] &&
    [ -n "${entry[Publisher]-}" ] || fail "$key: $(declare -p entry)"
# The size in KB, against what the folder holds, within 5 percent.
size=$(du -sk --apparent-size "$installed" | cut -f1)
[ $(((entry[EstimatedSize] - size) ** 2 * 400)) -le $((size * size)) ] ||
    fail "EstimatedSize is ${entry[EstimatedSize]-none}, the folder holds $size KB"

# Sound k is a tone of peak k * 900: the numbers 1 to 30, then brava1.wav 31 and brava.wav 32.
python3 - "$installed/img" <<'EOF'
import math, os, sys, wave
tones = {f"{n}.wav": n for n in range(1, 31)} | {"brava1.wav": 31, "brava.wav": 32}
for name, k in tones.items():
    with wave.open(os.path.join(sys.argv[1], name), "wb") as out:
        out.setnchannels(1), out.setsampwidth(2), out.setframerate(22050)
        # Faded in and out over 20 ms, so that resampling adds no overshoot to the peak.
        fade = lambda i: min(1, i / 441, (8819 - i) / 441)
        out.writeframes(b"".join(round(k * 900 * fade(i) * math.sin(i * math.tau * 440 / 22050))
                                 .to_bytes(2, "little", signed=True) for i in range(8820)))
EOF
rm "$installed/img/no.wav"
# heard KEYS...: presses the keys in the game's window and sets k to the sound that follows, 0
# for silence; heard alone, to what has reached the sink since the game started.
heard() {
    [ $# = 0 ] || xdotool key --delay 100 "$@"
    sleep 1.5
    k=$((($(session_recorded "$dir/heard.raw") + 450) / 900))
    session_record "$dir/heard.raw"
}
session_record "$dir/heard.raw"
wine "$folder\\vorlandi.exe" >"$dir/game.log" 2>&1 &
game=$!
session_pids+=("$game")
until_true 60 xdotool search --name '^Quintarel$' ||
    { cat "$dir/game.log" >&2; fail "the installed game shows no window titled Quintarel"; }
window=$(xdotool search --name '^Quintarel$' | head -n1)
heard
# Wine takes the keyboard focus from a click: on the gradient, where no control is.
xdotool mousemove --window "$window" 670 200 click 1
number=$k
echo "installed by the installer, the game shows its window and says $number"
[ "$number" -ge 1 ] && [ "$number" -le 30 ] || fail "the game's first sound was $number"
heard $(sed 's/./& /g' <<<"$number") Return
[ "$k" = $((number >= 25 ? 32 : 31)) ] || fail "the right answer $number brought sound $k"
for keys in Return "0 Return" Return; do
    heard $keys
    # A new exercise speaks its number; the wrong answer's sound is missing, so nothing plays.
    if [ "$keys" = Return ]; then [ "$k" -ge 1 ] && [ "$k" -le 30 ]; else [ "$k" = 0 ]; fi ||
        fail "the keys $keys brought sound $k"
done
echo "heard: the number, the cheer, the next number, silence for the missing sound, a number"
kill "$game"
wait "$game" || true

# What is left of the game in the prefix: files and folders by their names, and registry
# entries, which are in the prefix's .reg files once its server has ended. The uninstaller
# copies itself to the temporary folder, starts that copy and returns; the server ends when
# that copy, which removes the folder, is done.
nothing_left() {
    wineserver -w
    left=$(find "$WINEPREFIX/drive_c" -iname '*vorlandi*'; grep -iH vorlandi "$WINEPREFIX"/*.reg || :)
    [ -z "$left" ] || fail "left after $1: $left"
}
IFS='"' read -r _ uninstaller arguments <<<"${entry[QuietUninstallString]-}"
read -r -a arguments <<<"$arguments"
wine "$uninstaller" "${arguments[@]}" || fail "the uninstaller failed"
nothing_left uninstalling

# msiexec takes the package by its Windows path: a Unix one would read as an option. Windows
# puts a per-machine package's shortcut in the Start menu of all users, Wine's msiexec in the
# installing user's.
wine msiexec /i "$(winepath -w "$msi")" /qn || fail "msiexec /i failed"
diff -r "$dir/zip/Vorlandi" "$WINEPREFIX/drive_c/Program Files/Vorlandi" ||
    fail "the msi did not install the portable zip's files"
grep -qsaF 'C:\Program Files\Vorlandi\vorlandi.exe' "$shortcut" \
    "$WINEPREFIX/drive_c/ProgramData/Microsoft/Windows/Start Menu/Programs/Vorlandi.lnk" ||
    fail "the msi made no Start-menu shortcut to vorlandi.exe"
wine msiexec /x "$(winepath -w "$msi")" /qn || fail "msiexec /x failed"
nothing_left "msiexec /x"
echo "the installer, its uninstaller and the msi bring the game and leave nothing of it"
