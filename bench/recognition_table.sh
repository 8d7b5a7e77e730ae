#!/usr/bin/env bash
# Prints the recognition table of both paths: makes the synthetic corpus in BUILD/corpus when
# it is missing (espeak-ng, sox and the General MIDI SoundFont), then runs the benchmark.
#   bench/recognition_table.sh [BUILD]      (BUILD defaults to ./build)
set -euo pipefail
build=${1:-build}
cmake --build "$build" --target render_notes recognition_rooms
if [ ! -f "$build/corpus/.complete" ]; then
  rm -rf "$build/corpus"
  bash "$(dirname "$0")/corpus/make_corpus.sh" "$build/bench/render_notes" "$build/corpus"
  touch "$build/corpus/.complete"
fi
"$build/bench/recognition_rooms" "$build/corpus"
