#!/usr/bin/env bash
# Writes the pictures of docs/screenshots: the window in Play notes, Listen notes and Chords
# Dictation, its Help menu and About box, the window in French, both dialogs and the statistics
# window (over sample practice), at 100 % and 200 % scale. Runs the built program on a virtual
# X server.
# Usage: scripts/screenshots.sh [BUILD_DIR] [OUT_DIR]
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:-build}
out=${2:-docs/screenshots}
program=$(realpath "$build/src/shell/tessimo")
mkdir -p "$out"
work=$(mktemp -d)
xvfb_pid=
app_pid=
cleanup() {
    [ -n "$app_pid" ] && kill "$app_pid" 2>/dev/null || true
    [ -n "$xvfb_pid" ] && kill "$xvfb_pid" 2>/dev/null || true
    rm -rf "$work"
}
trap cleanup EXIT

exec 3>"$work/display"
Xvfb -displayfd 3 -screen 0 2400x1500x24 -nolisten tcp >"$work/xvfb.log" 2>&1 &
xvfb_pid=$!
for _ in $(seq 100); do
    [ -s "$work/display" ] && break
    sleep 0.05
done
export DISPLAY=":$(head -1 "$work/display")"
export QT_QPA_PLATFORM=xcb

# One run of the program at a scale (1 or 2), in a language, writing pictures with a suffix.
run() {
    local scale=$1 lang=$2 suffix=$3
    rm -rf "$work/cwd" && mkdir -p "$work/cwd"
    (cd "$work/cwd" && exec env QT_SCALE_FACTOR="$scale" LANG="$lang" LANGUAGE= LC_ALL= \
        "$program" >"$work/app.log" 2>&1) &
    app_pid=$!
    local window=
    for _ in $(seq 300); do
        window=$(xdotool search --onlyvisible --name 'Tessimo$' 2>/dev/null | head -1 || true)
        [ -n "$window" ] && break
        sleep 0.05
    done
    [ -n "$window" ] || { echo "no window" >&2; cat "$work/app.log" >&2; exit 1; }
    sleep 1
    eval "$(xdotool getwindowgeometry --shell "$window")"
    local wx=$X wy=$Y
    shot() { import -window "$window" "$out/$1$suffix.png"; }
    button() { # tool-bar button 1..12
        xdotool mousemove $((wx + (29 + 33 * ($1 - 1)) * scale)) $((wy + 37 * scale)) click 1
    }
    if [ "$lang" = C.UTF-8 ]; then
        button 4
        xdotool mousemove $((wx + 500 * scale)) $((wy + 480 * scale)) click 1
        sleep 0.5
        shot window-play-notes
        button 3
        sleep 2.5
        shot window-listen-notes
        button 9
        sleep 3
        shot window-chords-dictation
        xdotool key Escape
        sleep 0.3
        xdotool key alt+h
        sleep 0.5
        import -window root -crop "$((600 * scale))x$((260 * scale))+$wx+$wy" \
            "$out/window-help-menu$suffix.png"
        xdotool key Escape
        sleep 0.3
    else
        button 3
        sleep 2.5
        shot window-french
    fi
    kill "$app_pid"
    wait "$app_pid" 2>/dev/null || true
    app_pid=
    sleep 0.5 # until its window is gone, so the next run finds its own
}

run 1 C.UTF-8 ""
run 2 C.UTF-8 "-200"
run 1 fr_FR.UTF-8 ""
QT_QPA_PLATFORM=offscreen "$build/tools/tessimo_dialog_shots" "$out" >/dev/null
QT_QPA_PLATFORM=offscreen QT_SCALE_FACTOR=2 "$build/tools/tessimo_dialog_shots" "$out" >/dev/null
QT_QPA_PLATFORM=offscreen "$build/tools/tessimo_statistics_shot" "$out" >/dev/null 2>&1
QT_QPA_PLATFORM=offscreen QT_SCALE_FACTOR=2 "$build/tools/tessimo_statistics_shot" "$out" >/dev/null 2>&1
echo "pictures in $out"
