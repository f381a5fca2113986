#!/usr/bin/env bash
# Measures the generated sounds in the data tree with sox: every file the program names is
# there, in the stored format, of a spoken length, and neither silent nor clipped flat; with
# the tone check, the syllables whose tones were once heard wrong show their tones.
# check_sounds.sh <data tree> [tone check tool]
set -uo pipefail
tree=$1
tonecheck=${2:-}
fail=0
passed=0
check() { # <file> <min s> <max s>
  local f=$1 min=$2 max=$3 dur rms peak rate chans bits
  if [ ! -f "$f" ]; then echo "missing: $f"; fail=1; return; fi
  rate=$(soxi -r "$f"); chans=$(soxi -c "$f"); bits=$(soxi -b "$f")
  dur=$(soxi -D "$f")
  read -r rms peak < <(sox "$f" -n stat 2>&1 | awk '/RMS +amplitude/{r=$3} /Maximum amplitude/{m=$3} END{print r, m}')
  if [ "$rate" != 22050 ] || [ "$chans" != 1 ] || [ "$bits" != 16 ]; then
    echo "format $rate Hz / $chans ch / $bits bit: $f"; fail=1; return
  fi
  if ! awk -v d="$dur" -v lo="$min" -v hi="$max" -v r="$rms" -v p="$peak" \
      'BEGIN{exit !(d >= lo && d <= hi && r >= 0.05 && p >= 0.5 && p <= 0.95)}'; then
    echo "out of range (duration $dur s, rms $rms, peak $peak): $f"; fail=1; return
  fi
  passed=$((passed + 1))
}
ps="$tree/Phonetic Symbols"
for s in N/ni3 H/hao3 M/ma1 M/ma2 M/ma3 M/ma4 E/er2 Z/zhuang4 L/lv3 N/nve4 X/xiong2 Y/yi1 A/a1 O/ou3 Z/zhi4 C/chuang1; do
  check "$ps/$s.wav" 0.15 1.2
done
for c in 0 1 2 3 4 5 6 7 8 9 a v i l n b q s w y z d f t; do
  check "$tree/Numbers/$c.wav" 0.15 1.2
done
check "$tree/Numbers/p.wav" 0.5 2.5
for f in right careful carryon; do
  check "$tree/Sound/$f.WAV" 0.2 1.5
done
# Each number recording says its code's reading: its samples are those of that syllable
# (五, 九 and 两 before a third tone rise), and 百分之 is three syllables in a row.
said() { sox "$@" -t raw - 2>/dev/null | md5sum; }
syl() { printf '%s/%s/%s.wav' "$ps" "$(printf '%s' "${1:0:1}" | tr 'a-z' 'A-Z')" "$1"; }
while read -r code readings; do
  case "$code" in ''|'#'*) continue ;; esac
  files=()
  for reading in $readings; do files+=("$(syl "$reading")"); done
  if [ "$(said "$tree/Numbers/$code.wav")" != "$(said "${files[@]}")" ]; then
    echo "Numbers/$code.wav does not say $readings"; fail=1
  fi
done < "$(dirname "$0")/../../tools/number_readings.txt"
if [ -n "$tonecheck" ]; then
  tonefiles=()
  for s in Z/zhong2 Z/zong2 K/kang2 T/tang3 Z/zhang3 D/ding3 M/ming4 M/ma1 M/ma2 M/ma3 M/ma4 N/ni3 H/hao3 S/shi4 \
    W/wu2 J/jiu2 L/liang2 L/liang3 Y/yao1; do
    tonefiles+=("$ps/$s.wav")
  done
  "$tonecheck" "${tonefiles[@]}" || fail=1
fi
count=$(find "$ps" -name '*.wav' | wc -l)
if [ "$count" -lt 1600 ] || [ $((count % 4)) -ne 0 ]; then
  echo "expected four tones for each of about 400 syllables, found $count files"; fail=1
fi
# Every syllable the lessons and scripts spell has its recording; a neutral syllable plays the
# first tone's file.
content="$(dirname "$0")/../../content"
while read -r s; do
  [ -f "$(syl "$s")" ] || { echo "no recording for the course syllable $s"; fail=1; }
done < <({ awk 'FNR % 3 == 1' "$content"/Lessons/Script/*/*.txt "$content"/Spoken/Script?*.txt
  cat "$content"/Spoken/Script.pinyin; } | grep -oE '[a-z.]+[0-4]' | tr -d . | sed 's/0$/1/' | sort -u)
grep -q "eSpeak NG" "$tree/NOTICE-sounds.txt" || { echo "NOTICE-sounds.txt missing or incomplete"; fail=1; }
echo "$passed files measured, $count syllable files"
exit $fail
