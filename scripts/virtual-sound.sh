#!/usr/bin/env bash
# A private PulseAudio daemon with a virtual speaker and a virtual microphone, for tests and
# for trying the program without sound hardware.
#
#   scripts/virtual-sound.sh start [FOLDER]   starts it, prints "PULSE_SERVER=unix:FOLDER/native"
#   scripts/virtual-sound.sh stop FOLDER      stops it by its process id and removes FOLDER
#
# Devices: the null sink "speaker" (default sink; hear it through "speaker.monitor") and the
# remapped source "mic" (default source), fed by whatever is played into the null sink
# "micfeed" (e.g. `paplay -d micfeed word.wav`). Both 22000 Hz mono 16-bit, without rewinds
# (which lose or garble samples on a null sink). Ready when "start" returns, normally in
# 0.1 to 0.2 s.
set -euo pipefail

usage() {
  echo "usage: $0 start [FOLDER] | stop FOLDER" >&2
  exit 2
}

# True while the process is alive and not a zombie (this machine reaps children late).
alive() {
  local state
  state=$(awk '/^State:/ {print $2}' "/proc/$1/status" 2>/dev/null || true)
  [ -n "$state" ] && [ "$state" != Z ] && [ "$state" != X ]
}

start() {
  local folder=${1:-}
  if [ -z "$folder" ]; then
    folder=$(mktemp -d "${TMPDIR:-/tmp}/tessimo-sound-XXXXXX")
  else
    mkdir -p "$folder"
    chmod 700 "$folder"
  fi
  folder=$(cd "$folder" && pwd)
  cat >"$folder/server.pa" <<PA
load-module module-native-protocol-unix auth-anonymous=1 socket=$folder/native
load-module module-null-sink sink_name=speaker rate=22000 channels=1 format=s16le norewinds=1
load-module module-null-sink sink_name=micfeed rate=22000 channels=1 format=s16le norewinds=1
load-module module-remap-source master=micfeed.monitor source_name=mic
set-default-sink speaker
set-default-source mic
PA
  HOME=$folder XDG_RUNTIME_DIR=$folder PULSE_SERVER=unix:$folder/native \
    setsid pulseaudio -n -F "$folder/server.pa" --daemonize=no --use-pid-file=no \
    --exit-idle-time=-1 --log-target="file:$folder/log" </dev/null >/dev/null 2>&1 &
  local pid=$!
  echo "$pid" >"$folder/pid"
  local tries=0
  until PULSE_SERVER=unix:$folder/native pactl info 2>/dev/null | grep -q '^Default Source: mic$'; do
    tries=$((tries + 1))
    if ! alive "$pid" || [ $tries -gt 250 ]; then
      echo "$0: pulseaudio did not start (log: $folder/log)" >&2
      kill -KILL "$pid" 2>/dev/null || true
      exit 1
    fi
    sleep 0.02
  done
  echo "PULSE_SERVER=unix:$folder/native"
}

stop() {
  local folder=${1:-}
  [ -n "$folder" ] && [ -f "$folder/pid" ] || usage
  local pid
  pid=$(cat "$folder/pid")
  kill -CONT "$pid" 2>/dev/null || true # a stopped daemon cannot handle SIGTERM
  kill -TERM "$pid" 2>/dev/null || true
  local tries=0
  while alive "$pid"; do
    tries=$((tries + 1))
    if [ $tries -gt 100 ]; then
      kill -KILL "$pid" 2>/dev/null || true
      break
    fi
    sleep 0.02
  done
  rm -rf "$folder"
}

case "${1:-}" in
  start) start "${2:-}" ;;
  stop) stop "${2:-}" ;;
  *) usage ;;
esac
