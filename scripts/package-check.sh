#!/usr/bin/env bash
# Builds the Debian package, installs it on this machine, checks its desktop entry and AppStream
# file, starts the installed program the way the desktop entry does on a virtual X server,
# checks its window and its data folder, then removes the package again.
# Usage: scripts/package-check.sh [BUILD_DIR]   (as root, or with sudo)
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:-build}

sudo_cmd=()
if [ "$(id -u)" -ne 0 ]; then
    sudo_cmd=(sudo)
fi

work=$(mktemp -d)
xvfb_pid=
app_pid=
installed=
cleanup() {
    [ -n "$app_pid" ] && kill "$app_pid" 2>/dev/null || true
    [ -n "$xvfb_pid" ] && kill "$xvfb_pid" 2>/dev/null || true
    if [ -n "$installed" ]; then
        DEBIAN_FRONTEND=noninteractive "${sudo_cmd[@]}" apt-get remove -y -qq tessimo >/dev/null || true
    fi
    rm -rf "$work"
}
trap cleanup EXIT
fail() {
    echo "FAIL: $*" >&2
    [ -f "$work/app.log" ] && sed 's/^/  program: /' "$work/app.log" >&2
    exit 1
}

cmake --build "$build"
rm -f "$build"/tessimo_*.deb
(cd "$build" && cpack -G DEB >/dev/null)
deb=$(ls "$build"/tessimo_*.deb)
echo "== $deb"
dpkg-deb -f "$deb" Depends | grep -q 'libqt6widgets6' || fail "no Qt dependency found by shlibdeps"
dpkg-deb -f "$deb" Depends | grep -q 'libfluidsynth' || fail "no FluidSynth dependency found"

DEBIAN_FRONTEND=noninteractive "${sudo_cmd[@]}" apt-get install -y -qq "$(realpath "$deb")" >/dev/null
installed=yes
for f in /usr/bin/tessimo /usr/share/applications/tessimo.desktop \
    /usr/share/metainfo/org.tessimo.Tessimo.metainfo.xml \
    /usr/share/icons/hicolor/scalable/apps/tessimo.svg \
    /usr/share/icons/hicolor/48x48/apps/tessimo.png \
    /usr/share/tessimo/manual/tessimo-en.html /usr/share/tessimo/manual/tessimo-fr.html \
    /usr/share/doc/tessimo/copyright; do
    [ -f "$f" ] || fail "not installed: $f"
done
# Also its errors that are not fatal yet, and its hints.
report=$(desktop-file-validate /usr/share/applications/tessimo.desktop 2>&1) || fail "desktop entry: $report"
[ -z "$report" ] || fail "desktop entry: $report"
appstreamcli validate --no-net /usr/share/metainfo/org.tessimo.Tessimo.metainfo.xml ||
    fail "AppStream file"

# The command of the desktop entry, with a fresh home, from a working directory of its own.
exec_line=$(sed -n 's/^Exec=//p' /usr/share/applications/tessimo.desktop)
read -r -a command <<<"$exec_line"
[ "$(command -v "${command[0]}")" = /usr/bin/tessimo ] || fail "the entry does not start /usr/bin/tessimo"
mkdir -p "$work/home" "$work/cwd"
exec 3>"$work/display"
Xvfb -displayfd 3 -screen 0 1366x768x24 -nolisten tcp >"$work/xvfb.log" 2>&1 &
xvfb_pid=$!
for _ in $(seq 100); do
    [ -s "$work/display" ] && break
    sleep 0.05
done
[ -s "$work/display" ] || fail "Xvfb did not start"
(cd "$work/cwd" && exec env -u XDG_DATA_HOME HOME="$work/home" DISPLAY=":$(head -1 "$work/display")" \
    QT_QPA_PLATFORM=xcb "/usr/bin/${command[0]}" "${command[@]:1}" >"$work/app.log" 2>&1) &
app_pid=$!
window=
for _ in $(seq 300); do
    window=$(DISPLAY=":$(head -1 "$work/display")" xdotool search --onlyvisible --name 'Tessimo$' \
        2>/dev/null | head -1 || true)
    [ -n "$window" ] && break
    kill -0 "$app_pid" 2>/dev/null || fail "the installed program ended at start"
    sleep 0.05
done
[ -n "$window" ] || fail "no window of the installed program"
title=$(DISPLAY=":$(head -1 "$work/display")" xdotool getwindowname "$window")
echo "window: $title"
[ -d "$work/home/.local/share/tessimo" ] || fail "no data folder ~/.local/share/tessimo"
[ -z "$(ls -A "$work/cwd")" ] || fail "files written into the working directory"
kill "$app_pid"
wait "$app_pid" 2>/dev/null || true
app_pid=

DEBIAN_FRONTEND=noninteractive "${sudo_cmd[@]}" apt-get remove -y -qq tessimo >/dev/null
installed=
[ ! -e /usr/bin/tessimo ] || fail "/usr/bin/tessimo is still there after removal"
echo "package check passed"
