#!/usr/bin/env bash
# Starts the real program on a virtual X server, clicks tool-bar buttons and a piano key, and
# checks screenshots of the result. The screenshots of every mode are kept in SHOTS.
# Usage: window_e2e.sh PROGRAM SHOTS synth
#        window_e2e.sh PROGRAM SHOTS voice SETTINGS_WRITER
# "synth" runs the mouse exercises with the default settings; "voice" starts with a user in
# Voice mode who has one note selected, records it by saying "do" three times into the virtual
# microphone of a private sound server (scripts/virtual-sound.sh) and recognises.
set -euo pipefail

program=$(realpath "$1")
shots=$2
scenario=$3
mkdir -p "$shots"
rm -f "$shots"/*.png
work=$(mktemp -d)
if [ "$scenario" = voice ]; then
    "$4" "$work/config.dat" 0 60 || { echo "FAIL: cannot write the settings" >&2; exit 1; }
fi
xvfb_pid=
app_pid=
noise_pid=
sound_dir=
virtual_sound=$(dirname "$(realpath "$0")")/../../scripts/virtual-sound.sh

cleanup() {
    [ -n "$app_pid" ] && kill "$app_pid" 2>/dev/null || true
    [ -n "$xvfb_pid" ] && kill "$xvfb_pid" 2>/dev/null || true
    [ -n "$noise_pid" ] && kill "$noise_pid" 2>/dev/null || true
    [ -n "$sound_dir" ] && bash "$virtual_sound" stop "$sound_dir" 2>/dev/null || true
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

if [ "$scenario" = voice ]; then
    # A private server with a virtual microphone, a quiet room on it all along, and the word.
    sound_dir="$work/sound"
    export "$(bash "$virtual_sound" start "$sound_dir")" || fail "no private sound server"
    sox -n -r 22000 -c 1 -b 16 -e signed-integer -t raw "$work/room.raw" synth 120 whitenoise \
        vol 0.003 || fail "sox cannot make the room noise"
    pacat --playback -d micfeed --raw --format=s16le --rate=22000 --channels=1 \
        "$work/room.raw" >/dev/null 2>&1 &
    noise_pid=$!
    espeak-ng -v fr -w "$work/do.wav" do && sox "$work/do.wav" -r 22000 -c 1 -b 16 \
        -e signed-integer -t raw "$work/do.raw" pad 0.1 0.3 || fail "cannot make the word"
fi
say_do() {
    pacat --playback -d micfeed --raw --format=s16le --rate=22000 --channels=1 \
        "$work/do.raw" >/dev/null 2>&1 &
}

(cd "$work" && exec "$program" >"$work/app.log" 2>&1) &
app_pid=$!

window=
for _ in $(seq 300); do
    window=$(xdotool search --onlyvisible --name ' — Tessimo$' 2>/dev/null | head -1 || true)
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

# Number of dark (text) pixels inside a rectangle of the window.
dark_pixels() { # file width height x y
    convert "$1" -crop "$2x$3+$(($4 + wx))+$(($5 + wy))" +repage -colorspace Gray \
        -threshold 40% -negate -format '%[fx:round(mean*w*h)]' info:
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

case "$scenario" in
synth)
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
sleep 1.2
shot 03-notes-dictation
about_busy=$(saturation "$shots/03-notes-dictation.png" 16 20 383 27)
awk -v a="$about_idle" -v b="$about_busy" 'BEGIN { exit !(b < a / 2) }' ||
    fail "About is not greyed during Notes Dictation (saturation $about_idle -> $about_busy)"

button 3
sleep 1.2
shot 04-listen-notes
green_listen=$(count_colour "$shots/04-listen-notes.png" 'rgb(0,255,0)' 1000 "$view_height" 0 "$view_top")
[ "$green_listen" -gt 100 ] || fail "Listen notes shows no sounding note in green"

button 6
sleep 1
shot 05-play-intervals
button 7
sleep 1.2
shot 06-interval-dictation
button 8
sleep 1
shot 07-play-chords
button 9
sleep 1.2
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
sleep 2
after=$(cpu_ticks)
echo "processor time while idle in Play notes: $(((after - before) * 1000 / $(getconf CLK_TCK))) ms over 2 s"
[ $((after - before)) -le 3 ] || fail "busy while idle: $((after - before)) clock ticks in 2 s"

# The About box opens from its button.
button 12
sleep 0.6
shot 10-about-box
xdotool search --onlyvisible --name '^About tessimo$' >/dev/null || fail "no About box"
xdotool key Escape
sleep 0.3

# The Caps Lock and Num Lock indicators show "MAJ" and "NUM" while their keys are on.
shot 11-locks-off
xdotool key Caps_Lock key Num_Lock
sleep 0.4
shot 12-locks-on
xdotool key Caps_Lock key Num_Lock
for pane in 852 893; do
    off=$(dark_pixels "$shots/11-locks-off.png" 38 14 "$pane" 582)
    on=$(dark_pixels "$shots/12-locks-on.png" 38 14 "$pane" 582)
    [ "$on" -gt $((off + 20)) ] || fail "no lock indicator text at x $pane ($off -> $on dark pixels)"
done

# The profile and configuration dialogs open from their buttons and close with Escape.
button 1
sleep 0.8
shot 13-profile-dialog
xdotool search --onlyvisible --name '^Profile Dialog$' >/dev/null || fail "no profile dialog"
xdotool key Escape
sleep 0.3
button 2
sleep 1.2
shot 14-configuration-dialog
xdotool search --onlyvisible --name '^Configuration$' >/dev/null || fail "no configuration dialog"
xdotool key Escape
sleep 0.5
shot 15-after-configuration
;;
voice)
shot 01-voice-start
# Voice mode without recordings: only Record can start; Recognize waits for the recordings.
rec_idle=$(saturation "$shots/01-voice-start.png" 16 20 318 27)
recognize_idle=$(saturation "$shots/01-voice-start.png" 16 20 351 27)
about_idle=$(saturation "$shots/01-voice-start.png" 16 20 383 27)
awk -v r="$rec_idle" 'BEGIN { exit !(r > 0.4) }' || fail "Record is greyed in Voice mode ($rec_idle)"

button 10
for _ in $(seq 40); do
    xdotool search --onlyvisible --name '^Record activity$' >/dev/null 2>&1 && break
    sleep 0.05
done
xdotool search --onlyvisible --name '^Record activity$' >/dev/null || fail "no Record confirmation"
sleep 0.3
shot 02-record-confirmation
xdotool key Return
started=$(date +%s%N)
at() { # wait until SECONDS after the confirmation
    local target=$(( started + $(awk -v s="$1" 'BEGIN { printf "%.0f", s * 1e9 }') ))
    local now
    now=$(date +%s%N)
    [ "$now" -lt "$target" ] && sleep "$(awk -v d=$((target - now)) 'BEGIN { print d / 1e9 }')"
    return 0
}
at 0.7
shot 03-record-countdown
red=$(count_colour "$shots/03-record-countdown.png" 'rgb(255,0,0)' 200 150 0 "$view_top")
[ "$red" -gt 200 ] || fail "no red countdown digit ($red red pixels)"
# Each word's capture runs from 4.5 s, 6.0 s and 7.5 s for 1.2 s.
at 4.65
say_do
at 5.3
shot 04-record-word
at 6.15
say_do
at 7.65
say_do
# Three recordings of the one name: recording ends at 9 s, the replay (1.2 s a word) at 13.8 s.
at 10.6
shot 05-record-replay
at 15.0
shot 06-after-recording
recognize_now=$(saturation "$shots/06-after-recording.png" 16 20 351 27)
about_now=$(saturation "$shots/06-after-recording.png" 16 20 383 27)
awk -v a="$about_idle" -v b="$about_now" 'BEGIN { exit !(b > a * 0.8) }' ||
    fail "About is not enabled after the replay ($about_idle -> $about_now)"
awk -v a="$recognize_idle" -v b="$recognize_now" 'BEGIN { exit !(b > a + 0.04) }' ||
    fail "Recognize is not enabled after recording ($recognize_idle -> $recognize_now)"
[ -s "$work/record.dat" ] || fail "no template file after recording"

button 11
sleep 1.5
shot 07-recognize
about_busy=$(saturation "$shots/07-recognize.png" 16 20 383 27)
awk -v a="$about_idle" -v b="$about_busy" 'BEGIN { exit !(b < a / 2) }' ||
    fail "About is not greyed during Recognize (saturation $about_idle -> $about_busy)"
blue=$(count_colour "$shots/07-recognize.png" 'rgb(100,100,200)' 1000 "$view_height" 0 "$view_top")
[ "$blue" -gt 50 ] || fail "Recognize shows no expected note in blue ($blue blue pixels)"
button 4
sleep 0.5
shot 08-play-notes-voice
;;
*)
    fail "unknown scenario $scenario"
    ;;
esac

kill -0 "$app_pid" 2>/dev/null || fail "the program has exited"
echo "screenshots in $shots"
