#!/usr/bin/env bash
# Records the dialogue tool's lines into the data tree: Spoken/Sound/<name>.wav for every line
# of the dialogue script, named as the program names them (dialog_lines lists the names and
# syllables), plus b.wav, the goodbye. Each recording joins the syllable recordings of
# "Phonetic Symbols" (made before by make_sounds.sh) in the line's order, a neutral syllable
# softer and shorter, with a short pause where the Chinese line has an inner mark. sox -D keeps
# the bytes reproducible; NOTICE-dialogs.txt is written last.
#
# make_dialog_sounds.sh <data tree> <dialog_lines tool> <Script.txt> <Script.pinyin>
set -euo pipefail
tree=$1
lines_tool=$2
script=$3
pinyin=$4
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
out="$tree/Spoken/Sound"
rm -rf "$out"
mkdir -p "$out" "$work/neutral"

"$lines_tool" "$script" "$pinyin" > "$work/lines.txt"
sox -D -n -r 22050 -b 16 -c 1 "$work/pause.wav" trim 0 0.18

# One recording: <name> <syllable>... with "|" for a pause.
record() {
  local name=$1 item plain letter file parts=()
  shift
  for item in "$@"; do
    if [ "$item" = "|" ]; then
      parts+=("$work/pause.wav")
      continue
    fi
    plain=${item//./}
    letter=$(printf '%s' "${plain:0:1}" | tr 'a-z' 'A-Z')
    if [ "${plain: -1}" = 0 ]; then
      file="$tree/Phonetic Symbols/$letter/${plain%0}1.wav"
      [ -f "$file" ] || { echo "make_dialog_sounds: no recording for $item ($name)" >&2; return 1; }
      # A neutral syllable: the level tone, softer and at most 0.3 s long.
      if [ ! -f "$work/neutral/$plain.wav" ]; then
        sox -V1 -D "$file" "$work/neutral/$plain.part.wav" trim 0 0.3 vol 0.6 fade t 0 -0 0.04
        mv "$work/neutral/$plain.part.wav" "$work/neutral/$plain.wav"
      fi
      parts+=("$work/neutral/$plain.wav")
    else
      file="$tree/Phonetic Symbols/$letter/$plain.wav"
      [ -f "$file" ] || { echo "make_dialog_sounds: no recording for $item ($name)" >&2; return 1; }
      parts+=("$file")
    fi
  done
  if [ "${#parts[@]}" -eq 1 ]; then
    sox -D "${parts[0]}" "$out/$name.part.wav" norm -1
  else
    sox -D "${parts[@]}" "$out/$name.part.wav" norm -1
  fi
  mv "$out/$name.part.wav" "$out/$name"
}
export -f record
export tree work out

# Neutral syllables are made on first use: make them all first, so parallel jobs only read.
cut -f2 "$work/lines.txt" | tr ' ' '\n' | grep '0$' | sort -u | while read -r s; do
  record "_neutral_probe.wav" "$s"
done
rm -f "$out/_neutral_probe.wav"
tr '\t' ' ' < "$work/lines.txt" | xargs -P "$(nproc)" -L 1 bash -c 'record "$@"' _
count=$(find "$out" -name '*.wav' | wc -l)
[ "$count" -eq "$(wc -l < "$work/lines.txt")" ] || { echo "make_dialog_sounds: recordings missing" >&2; exit 1; }

cat > "$tree/NOTICE-dialogs.txt.part" <<NOTICE
Dialogue recordings of Velmora

The recordings in "Spoken/Sound" ($count files) join the program's own syllable recordings (see
NOTICE-sounds.txt) with SoX, one per line of the dialogue script.
NOTICE
mv "$tree/NOTICE-dialogs.txt.part" "$tree/NOTICE-dialogs.txt"
echo "make_dialog_sounds: $count dialogue recordings"
