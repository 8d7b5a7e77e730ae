#!/usr/bin/env bash
# Runs a command with a private JACK server (dummy back end, no sound hardware) and stops the
# server by its process id afterwards. Clients find it through JACK_DEFAULT_SERVER.
#   with_jack_server.sh COMMAND [ARGS...]
set -euo pipefail

name="tessimo-test-$$"
folder="$(mktemp -d)"
export JACK_DEFAULT_SERVER="$name"
export JACK_NO_AUDIO_RESERVATION=1
export JACK_NO_START_SERVER=1

# A long client time-out: on a busy machine a late client is waited for, not dropped.
JACK_NO_AUDIO_RESERVATION=1 jackd -t 10000 -n "$name" -d dummy -r 44100 -p 256 >"$folder/jackd.log" 2>&1 &
server=$!

stop_server() {
    kill "$server" 2>/dev/null || true
    # Wait (up to 5 s) until the process is gone or a zombie; this machine reaps late.
    for _ in $(seq 50); do
        state="$(awk '/^State:/ {print $2}' "/proc/$server/status" 2>/dev/null || true)"
        if [ -z "$state" ] || [ "$state" = Z ]; then
            break
        fi
        sleep 0.1
    done
    kill -9 "$server" 2>/dev/null || true
    wait "$server" 2>/dev/null || true
    rm -rf "$folder"
}
trap stop_server EXIT

ready=0
for _ in $(seq 50); do
    if ! kill -0 "$server" 2>/dev/null; then
        break
    fi
    if jack_lsp -s "$name" >/dev/null 2>&1; then
        ready=1
        break
    fi
    sleep 0.1
done
if [ "$ready" -ne 1 ]; then
    echo "The JACK server did not start:" >&2
    cat "$folder/jackd.log" >&2
    exit 1
fi

status=0
"$@" || status=$?
if [ "$status" -ne 0 ]; then
    echo "The JACK server said:" >&2
    cat "$folder/jackd.log" >&2
fi
exit "$status"
