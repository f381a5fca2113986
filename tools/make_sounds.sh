#!/usr/bin/env bash
# Builds the program's own recordings into the data tree:
#   Phonetic Symbols/<L>/<syllable><tone>.wav  every toned syllable of the Unihan readings,
#                                              spoken by espeak-ng, set on the standard
#                                              contour of its tone, trimmed and normalised
#   Numbers/<code>.wav                          the number reader's sound codes
#   Sound/right.WAV, careful.WAV, carryon.WAV   the feedback sounds
# then proves the tones by their pitch contours and writes NOTICE-sounds.txt last (the build
# treats that file as the sign that the sounds are complete). Output is byte-reproducible.
#
# make_sounds.sh <data tree> <syllable inventory tool> <tone shaping tool> <tone check tool>
set -euo pipefail
tree=$1
inventory=$2
toneshape=$3
tonecheck=$4
readings=/usr/share/unicode/Unihan_Readings.txt.bz2
espeakdata=$(espeak-ng --version | sed -n 's/.*Data at: *//p')

[ -r "$readings" ] || { echo "make_sounds: $readings is missing (package unicode-data)" >&2; exit 1; }
[ -d "$espeakdata/voices" ] || { echo "make_sounds: no espeak-ng data folder (package espeak-ng)" >&2; exit 1; }
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
start=$(date +%s)

# Our own variant of the voice: a female voice with a steady source (no roughness, flutter,
# breath or echo), because tone_shape moves its pitch period by period and a rough or echoed
# source would carry the old pitch along. espeak-ng reads variants only from its data folder,
# so it gets a copy of that folder made of links, plus the variant.
espeak_home="$work/espeak"
mkdir -p "$espeak_home/espeak-ng-data/voices/!v"
for entry in "$espeakdata"/*; do
  [ "$(basename "$entry")" = voices ] || ln -s "$entry" "$espeak_home/espeak-ng-data/"
done
cat > "$espeak_home/espeak-ng-data/voices/!v/velmora" <<'VARIANT'
language variant
name velmora
gender female

pitch 190 240
flutter 0
roughness 0
formant 0 105  80 150
formant 1 110  80 160
formant 2 110  70 150
formant 3 110  70 150
formant 4 115  80 150
formant 5 115  80 150
formant 6 110  70 150
formant 7 110  70 150
formant 8 110  70 150
consonants 125 125
VARIANT
voice=cmn-latn-pinyin+velmora

# One toned syllable, text "<syllable><tone>", into <out>. espeak-ng speaks it; tone_shape
# lays the standard contour of the tone over the part a listener hears (espeak-ng puts much of
# its contour into a quiet nasal ending, where zhong2 or tang3 are heard as the wrong tone);
# sox trims the silence at both ends, fades the edges against clicks, normalises to -1 dBFS and
# leaves a short tail so syllables played one after another do not run together. -D: no
# dither, reproducible bytes.
speak() {
  local text=$1 out=$2 raw shaped
  raw=$(mktemp --suffix=.wav)
  shaped=$(mktemp --suffix=.wav)
  espeak-ng --path="$espeak_home" -v "$voice" -w "$raw" "$text"
  "$toneshape" "${text: -1}" "$raw" "$shaped"
  sox -D "$shaped" "$out.part.wav" silence 1 0.01 1% reverse silence 1 0.01 1% \
    fade t 0.01 reverse fade t 0.005 norm -1 pad 0 0.05
  mv "$out.part.wav" "$out"
  rm -f "$raw" "$shaped"
}
syllable_job() {
  local syl=$1 letter dir
  letter=$(printf '%s' "${syl:0:1}" | tr 'a-z' 'A-Z')
  dir="$tree/Phonetic Symbols/$letter"
  speak "$syl" "$dir/$syl.wav"
}
export -f speak syllable_job
export tree voice espeak_home toneshape

# The syllable inventory, from open data.
bzcat "$readings" | "$inventory" > "$work/syllables.txt"
count=$(wc -l < "$work/syllables.txt")
for l in $(cut -c1 "$work/syllables.txt" | sort -u | tr 'a-z' 'A-Z'); do
  mkdir -p "$tree/Phonetic Symbols/$l"
done
while read -r s; do
  printf '%s1\n%s2\n%s3\n%s4\n' "$s" "$s" "$s" "$s"
done < "$work/syllables.txt" > "$work/jobs.txt"
xargs -P "$(nproc)" -n 32 bash -c 'for j; do syllable_job "$j"; done' _ < "$work/jobs.txt"

# Number sounds: one recording per sound code, made with sox from the syllable recordings.
# The codes v, i and l stand for 五, 九 and 两 before a third tone (百, or 点 after the last
# integer digit), where the third tone is spoken rising; n is 两 before 千, 万, 亿 and 兆, and a
# is 1 in a telephone number (yao1).
mkdir -p "$tree/Numbers"
syl() { printf '%s/Phonetic Symbols/%s/%s.wav' "$tree" "$(printf '%s' "${1:0:1}" | tr 'a-z' 'A-Z')" "$1"; }
while read -r code readings; do
  case "$code" in ''|'#'*) continue ;; esac
  files=()
  for reading in $readings; do files+=("$(syl "$reading")"); done
  sox -D "${files[@]}" "$tree/Numbers/$code.wav"
done < "$(dirname "$0")/number_readings.txt"

# Feedback sounds, synthesised: a bright rising chime for a right answer, a low falling pair
# for a wrong one, a gentle three-note figure for "carry on".
mkdir -p "$tree/Sound"
note() { sox -D -n -r 22050 -b 16 -c 1 "$1" synth "$2" "$3" "$4" vol "$5" fade t 0.01 "$2" 0.06; }
note "$work/r1.wav" 0.12 sine 1046.5 0.6
note "$work/r2.wav" 0.30 sine 1568 0.6
sox -D "$work/r1.wav" "$work/r2.wav" "$tree/Sound/right.WAV" norm -3
note "$work/c1.wav" 0.20 square 392 0.25
note "$work/c2.wav" 0.32 square 294 0.25
sox -D "$work/c1.wav" "$work/c2.wav" "$tree/Sound/careful.WAV" lowpass 2000 norm -3
note "$work/o1.wav" 0.16 triangle 523.3 0.5
note "$work/o2.wav" 0.16 triangle 659.3 0.5
note "$work/o3.wav" 0.30 triangle 784 0.5
sox -D "$work/o1.wav" "$work/o2.wav" "$work/o3.wav" "$tree/Sound/carryon.WAV" norm -3

# Every syllable file must stay level, rise, dip and rise again, or fall as its tone says,
# far enough to be heard (tone_check). Files outside the rules are listed with the reason; more
# than 0.5 % of them fail the build.
find "$tree/Phonetic Symbols" -name '*.wav' -print0 | sort -z \
  | xargs -0 -P "$(nproc)" -n 64 "$tonecheck" > "$work/tones.txt" || true
total=$(wc -l < "$work/jobs.txt")
missed=$(wc -l < "$work/tones.txt")
if [ "$missed" -gt 0 ]; then
  echo "make_sounds: $missed of $total files outside the tone contour rules:"
  sort "$work/tones.txt" | sed 's/^/  /'
fi
if [ $(( missed * 1000 )) -gt $(( total * 5 )) ]; then
  echo "make_sounds: too many syllable files do not show their tone (more than 0.5 %)" >&2
  exit 1
fi

cat > "$tree/NOTICE-sounds.txt.part" <<NOTICE
Sounds of Velmora

The syllable recordings in "Phonetic Symbols" ($count syllables, four tones each) and the number
recordings in "Numbers" were generated for this program with eSpeak NG (voice cmn-latn-pinyin,
a female variant of our own), set on the standard pitch contour of each tone by the program's
own tool and processed with SoX. The syllable inventory comes from
the kMandarin readings of the Unicode Han Database (Unihan), from the Debian package
unicode-data. The feedback sounds in "Sound" were synthesised with SoX.

eSpeak NG: https://github.com/espeak-ng/espeak-ng (GPL-3.0-or-later)
SoX: https://sox.sourceforge.net (GPL-2.0-or-later)
Unihan: https://www.unicode.org/reports/tr38/ (Unicode License v3)
NOTICE
mv "$tree/NOTICE-sounds.txt.part" "$tree/NOTICE-sounds.txt"
echo "make_sounds: $count syllables, $(wc -l < "$work/jobs.txt") syllable files, tones checked, $(( $(date +%s) - start )) s"
