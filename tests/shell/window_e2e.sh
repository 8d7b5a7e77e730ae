#!/usr/bin/env bash
# Starts the real program on a virtual X server, clicks tool-bar buttons and a piano key, and
# checks screenshots of the result. The screenshots of every mode are kept in SHOTS.
# Usage: window_e2e.sh PROGRAM SHOTS
set -euo pipefail

program=$1
shots=$2
mkdir -p "$shots"
rm -f "$shots"/*.png
work=$(mktemp -d)
xvfb_pid=
app_pid=

cleanup() {
    [ -n "$app_pid" ] && kill "$app_pid" 2>/dev/null || true
    [ -n "$xvfb_pid" ] && kill "$xvfb_pid" 2>/dev/null || true
    rm -rf "$work"
}
trap cleanup EXIT

fail() {
    echo "FAIL: $*" >&2
    [ -f "$work/app.log" ] && sed 's/^/  program: /' "$work/app.log" >&2
    exit 1
}

# A free display number, reported by the server itself.
exec 3>"$work/display"
Xvfb -displayfd 3 -screen 0 1280x800x24 -nolisten tcp >"$work/xvfb.log" 2>&1 &
xvfb_pid=$!
for _ in $(seq 100); do
    [ -s "$work/display" ] && break
    sleep 0.05
done
[ -s "$work/display" ] || fail "Xvfb did not start"
export DISPLAY=":$(head -1 "$work/display")"
export QT_QPA_PLATFORM=xcb

(cd "$work" && exec "$program" >"$work/app.log" 2>&1) &
app_pid=$!

window=
for _ in $(seq 100); do
    window=$(xdotool search --onlyvisible --name '^Tessimo$' 2>/dev/null | head -1 || true)
    [ -n "$window" ] && break
    sleep 0.05
done
[ -n "$window" ] || fail "no window titled Tessimo"
sleep 0.8

geometry=$(xdotool getwindowgeometry "$window")
echo "$geometry" | grep -q 'Geometry: 1000x600' || fail "window is not 1000x600: $geometry"
eval "$(xdotool getwindowgeometry --shell "$window")"
wx=$X
wy=$Y

shot() {
    import -window root "$shots/$1.png"
}

# Number of pixels of exactly one colour inside a rectangle of the window.
count_colour() { # file colour width height x y
    convert "$1" -crop "$3x$4+$(($5 + wx))+$(($6 + wy))" +repage \
        -fill black +opaque "$2" -fill white -opaque "$2" \
        -format '%[fx:round(mean*w*h)]' info:
}

# Mean saturation (0..1) of a rectangle of the window.
saturation() { # file width height x y
    convert "$1" -crop "$2x$3+$(($4 + wx))+$(($5 + wy))" +repage -colorspace HSL \
        -channel G -separate -format '%[fx:mean]' info:
}

# Tool-bar buttons: 33 pixels apart, the first centred at (29, 37) in the window.
button() { # index 1..12
    xdotool mousemove $((wx + 29 + 33 * ($1 - 1))) $((wy + 37)) click 1
}

# The view spans the window between the tool bar and the status bar; its lower 3/8 is the
# keyboard.
view_top=57
view_height=520
key_y=$((view_top + view_height * 15 / 16))

shot 01-start-play-notes
green_before=$(count_colour "$shots/01-start-play-notes.png" 'rgb(0,255,0)' 1000 "$view_height" 0 "$view_top")
about_idle=$(saturation "$shots/01-start-play-notes.png" 16 20 383 27)

# Play notes: a click on a white key sounds it and shows it green, on the key and the staff.
xdotool mousemove $((wx + 500)) $((wy + key_y)) click 1
sleep 0.4
shot 02-play-notes-key-clicked
green_after=$(count_colour "$shots/02-play-notes-key-clicked.png" 'rgb(0,255,0)' 1000 "$view_height" 0 "$view_top")
[ "$green_after" -gt $((green_before + 200)) ] ||
    fail "clicking a key showed no green note (green pixels $green_before -> $green_after)"

# Notes Dictation: the About button greys while the exercise runs.
button 5
sleep 2.5
shot 03-notes-dictation
about_busy=$(saturation "$shots/03-notes-dictation.png" 16 20 383 27)
awk -v a="$about_idle" -v b="$about_busy" 'BEGIN { exit !(b < a / 2) }' ||
    fail "About is not greyed during Notes Dictation (saturation $about_idle -> $about_busy)"

button 3
sleep 2.5
shot 04-listen-notes
green_listen=$(count_colour "$shots/04-listen-notes.png" 'rgb(0,255,0)' 1000 "$view_height" 0 "$view_top")
[ "$green_listen" -gt 100 ] || fail "Listen notes shows no sounding note in green"

button 6
sleep 1
shot 05-play-intervals
button 7
sleep 2.5
shot 06-interval-dictation
button 8
sleep 1
shot 07-play-chords
button 9
sleep 2.5
shot 08-chords-dictation

# Back to Play notes: About is enabled again.
button 4
sleep 0.5
shot 09-play-notes-again
about_back=$(saturation "$shots/09-play-notes-again.png" 16 20 383 27)
awk -v a="$about_idle" -v b="$about_back" 'BEGIN { exit !(b > a * 0.8) }' ||
    fail "About is not enabled again in Play notes (saturation $about_idle -> $about_back)"

# Play notes runs no timer: left alone, the program uses (almost) no processor time.
cpu_ticks() { awk '{ print $14 + $15 }' "/proc/$app_pid/stat"; }
sleep 0.5
before=$(cpu_ticks)
sleep 3
after=$(cpu_ticks)
echo "processor time while idle in Play notes: $(((after - before) * 10)) ms over 3 s"
[ $((after - before)) -le 3 ] || fail "busy while idle: $((after - before)) clock ticks in 3 s"

# The About box opens from its button.
button 12
sleep 0.6
shot 10-about-box
xdotool search --onlyvisible --name '^About tessimo$' >/dev/null || fail "no About box"
xdotool key Escape
sleep 0.3

kill -0 "$app_pid" 2>/dev/null || fail "the program has exited"
echo "screenshots in $shots"
