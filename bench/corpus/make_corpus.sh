#!/usr/bin/env bash
# Builds the recognition benchmark's corpus from synthetic voices and instruments only:
#   bench/corpus/make_corpus.sh RENDER_NOTES OUTDIR
# Voices: espeak-ng French and English voices with several variants say the seven natural
# note names in four takes (pitch and speed varied), once faster, and ten words that are not
# note names. Instruments: the General MIDI SoundFont's piano at two velocities and three
# durations, and six other instruments, pitches 36..83. Noise is mixed by the benchmark.
set -euo pipefail
render=$1
out=$2
mkdir -p "$out"

say() { # voice pitch speed text file
  espeak-ng -v "$1" -p "$2" -s "$3" -w "$out/tmp.wav" "$4"
  sox "$out/tmp.wav" -r 22000 -c 1 -b 16 -e signed-integer "$5"
}

fr_names=(do ré mi fa sol la si)
en_names=(C D E F G A B)
fr_other=(bonjour table chat merci lune porte vert deux rouge pomme)
en_other=(house water seven table yes hello green nine road cat)
# take: pitch speed
takes=("50 150" "42 162" "58 140" "46 145")
fast="50 230"

voices=(fr+m1 fr+m3 fr+f2 fr+f4 en-gb+m2 en-us+f3 en-gb+m7)
for v in "${voices[@]}"; do
  d="$out/voice/$v"
  mkdir -p "$d"
  if [[ $v == fr* ]]; then names=("${fr_names[@]}"); other=("${fr_other[@]}"); else
    names=("${en_names[@]}"); other=("${en_other[@]}"); fi
  for i in "${!names[@]}"; do
    for t in "${!takes[@]}"; do
      read -r p s <<<"${takes[$t]}"
      say "$v" "$p" "$s" "${names[$i]}" "$d/name$i-take$t.wav"
    done
    read -r p s <<<"$fast"
    say "$v" "$p" "$s" "${names[$i]}" "$d/name$i-fast.wav"
  done
  for i in "${!other[@]}"; do
    say "$v" 50 150 "${other[$i]}" "$d/other$i.wav"
  done
done
rm -f "$out/tmp.wav"

sf=/usr/share/sounds/sf2/default-GM.sf2
# name program velocity seconds
for take in "piano 0 100 0.6" "piano-soft 0 45 0.6" "piano-short 0 100 0.25" \
            "piano-long 0 100 1.2" "guitar 24 100 0.6" "flute 73 100 0.6" "violin 40 100 0.6" \
            "trumpet 56 100 0.6" "vibraphone 11 100 0.6" "organ 19 100 0.6"; do
  read -r name program velocity seconds <<<"$take"
  mkdir -p "$out/instrument/$name"
  "$render" "$sf" "$program" "$velocity" "$seconds" "$out/instrument/$name"
done
echo "corpus in $out"
