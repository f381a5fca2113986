#!/usr/bin/env python3
"""Checks the spoken sentence scripts under content/Spoken/.

Every Script_<n>.txt (topic sentences) and Script<n>.txt (dialogue sentences) is read as
groups of three lines: numbered pinyin, Chinese, English. A file fails when
  - its line count is not a multiple of three or a group has an empty line,
  - a pinyin syllable is not Mandarin, lacks the "." before its tone vowel or its tone digit,
  - the pinyin line has another syllable count than the Chinese line has characters,
  - the Chinese line holds a character outside code page 936 or anything but Chinese
    characters and full-width punctuation,
  - a character is read with a pinyin that is not among its known readings (neutral tone
    allowed; the citation forms of 不 and 一 only),
  - the dialogue scripts do not form an unbroken run from 1.
Readings come from content/Data/readings.txt when given (--readings), else from the Unihan
readings file of the system's unicode-data package, when present.

Usage: check_spoken.py [--readings FILE] [--review] [SPOKEN_FOLDER]
--review also lists every character read otherwise than its most common reading.
Exit code 0 when every file passes, 1 otherwise.
"""
import bz2
import os
import re
import sys
import unicodedata

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from pinyin import VALID as SYLLABLES, tone_vowel_index  # noqa: E402

# Readings that a dictionary lists as tone-sandhi spellings; citation form only.
CITATION_ONLY = {"不": {"bu4"}, "一": {"yi1"}}

PUNCTUATION = set("，。？！：；、“”‘’（）《》…—·")
UNIHAN = "/usr/share/unicode/Unihan_Readings.txt.bz2"
UNIHAN_FIELDS = ("kMandarin", "kHanyuPinyin", "kXHC1983", "kTGHZ2013", "kHanyuPinlu")
MARKS = {"\u0304": 1, "\u0301": 2, "\u030c": 3, "\u0300": 4}


def marked_to_numbered(text):
    """'nǚ' -> 'nv3'; a syllable without a mark gets tone 0."""
    tone = 0
    out = []
    for c in unicodedata.normalize("NFD", text.strip().lower()):
        if c in MARKS:
            tone = MARKS[c]
        elif c == "\u0308":
            out[-1] = "v"
        elif c.isalpha():
            out.append(c)
    return "".join(out) + str(tone)


def load_unihan(path):
    readings, common = {}, {}
    with bz2.open(path, "rt", encoding="utf-8") as f:
        for line in f:
            if not line.startswith("U+"):
                continue
            code, field, value = line.rstrip("\n").split("\t", 2)
            if field not in UNIHAN_FIELDS:
                continue
            ch = chr(int(code[2:], 16))
            found = readings.setdefault(ch, set())
            for item in value.split():
                item = item.split(":", 1)[-1] if field != "kHanyuPinlu" else item.split("(")[0]
                for r in item.split(","):
                    if r:
                        found.add(marked_to_numbered(r))
            if field == "kMandarin":
                common[ch] = marked_to_numbered(value.split()[0])
    return readings, common


def load_readings_file(path):
    """A list of 'character<blank>reading reading ...' lines in numbered pinyin (dots allowed)."""
    readings = {}
    with open(path, encoding="utf-8") as f:
        for line in f:
            parts = line.replace(",", " ").replace("\t", " ").split()
            if len(parts) < 2 or len(parts[0]) != 1:
                continue
            readings.setdefault(parts[0], set()).update(
                p.replace(".", "").lower() for p in parts[1:] if re.fullmatch(r"[a-zA-Z.:]+\d", p))
    return readings, {}


SYLLABLE_RE = re.compile(r"([a-z.]+?)(\d)")


def check_pinyin(line, where, errors):
    """Returns the syllables (plain letters + digit) of a pinyin line; records faults."""
    text = line.strip()
    syllables = []
    pos = 0
    for m in SYLLABLE_RE.finditer(text):
        gap = text[pos:m.start()]
        if gap.strip():
            errors.append(f"{where}: unexpected text {gap.strip()!r} in pinyin")
        pos = m.end()
        spelled, tone = m.group(1), int(m.group(2))
        plain = spelled.replace(".", "")
        if spelled.count(".") != 1:
            errors.append(f"{where}: syllable {spelled}{tone} needs exactly one tone dot")
        elif plain not in SYLLABLES:
            errors.append(f"{where}: {spelled}{tone} is not a Mandarin syllable")
        else:
            expected = tone_vowel_index(plain)
            if spelled.index(".") != expected:
                errors.append(f"{where}: {spelled}{tone}: the dot belongs before "
                              f"{plain[expected]!r} ({plain[:expected]}.{plain[expected:]}{tone})")
        if tone > 4:
            errors.append(f"{where}: {spelled}{tone}: tone digit must be 0 to 4")
        syllables.append(plain + str(tone))
    if text[pos:].strip():
        errors.append(f"{where}: text after the last tone digit: {text[pos:].strip()!r}")
    return syllables


def check_chinese(line, where, errors):
    chars = []
    for c in line.strip():
        try:
            c.encode("gbk")
        except UnicodeEncodeError:
            errors.append(f"{where}: {c!r} is outside code page 936")
            continue
        if c in PUNCTUATION:
            continue
        if "\u4e00" <= c <= "\u9fff":
            chars.append(c)
        else:
            errors.append(f"{where}: {c!r} is neither a Chinese character nor punctuation")
    return chars


def check_file(path, readings, common, review, errors, notes):
    name = os.path.basename(path)
    with open(path, encoding="utf-8") as f:
        text = f.read()
    if text.startswith("\ufeff"):
        errors.append(f"{name}: starts with a byte-order mark")
    lines = text.splitlines()
    if len(lines) % 3:
        errors.append(f"{name}: {len(lines)} lines, not groups of three")
    groups = len(lines) // 3
    for g in range(groups):
        pinyin, chinese, english = lines[3 * g:3 * g + 3]
        where = f"{name}:{3 * g + 1}"
        if not pinyin.strip() or not chinese.strip() or not english.strip():
            errors.append(f"{where}: a group with an empty line")
            continue
        if "<<<" in english or not english.isascii():
            errors.append(f"{where}: English line must be plain ASCII without '<<<'")
        syllables = check_pinyin(pinyin, where, errors)
        chars = check_chinese(chinese, f"{name}:{3 * g + 2}", errors)
        if len(syllables) != len(chars):
            errors.append(f"{where}: {len(syllables)} syllables for {len(chars)} characters "
                          f"in {chinese.strip()}")
            continue
        for c, s in zip(chars, syllables):
            allowed = CITATION_ONLY.get(c)
            if allowed is not None:
                if s not in allowed:
                    errors.append(f"{where}: {c} is written {s}; citation form {sorted(allowed)[0]}")
                continue
            if readings is None:
                continue
            known = readings.get(c)
            if not known:
                errors.append(f"{where}: no known reading for {c}")
            elif s not in known and not (s.endswith("0") and any(k[:-1] == s[:-1] for k in known)):
                errors.append(f"{where}: {c} read {s}, known: {' '.join(sorted(known))}")
            elif review and c in common and common[c] != s and not s.endswith("0"):
                notes.append(f"{where}: {c} {s} (most common {common[c]}) in {chinese.strip()}")
    return groups


def main(argv):
    args = argv[1:]
    review = "--review" in args
    args = [a for a in args if a != "--review"]
    readings_path = None
    if "--readings" in args:
        i = args.index("--readings")
        readings_path = args[i + 1]
        del args[i:i + 2]
    root = os.path.dirname(os.path.dirname(os.path.dirname(os.path.abspath(__file__))))
    folder = args[0] if args else os.path.join(root, "content", "Spoken")

    readings, common = None, {}
    if readings_path:
        readings, _ = load_readings_file(readings_path)
        if review and os.path.exists(UNIHAN):
            _, common = load_unihan(UNIHAN)
    elif os.path.exists(UNIHAN):
        readings, common = load_unihan(UNIHAN)
    else:
        print("note: no reading data found; readings not checked")

    errors, notes = [], []
    topic = [f for f in os.listdir(folder) if re.fullmatch(r"Script_\d+\.txt", f)]
    dialogue = [f for f in os.listdir(folder) if re.fullmatch(r"Script\d+\.txt", f)]
    numbers = sorted(int(f[6:-4]) for f in dialogue)
    if numbers != list(range(1, len(numbers) + 1)):
        errors.append(f"dialogue scripts are not numbered 1..n without gaps: {numbers}")
    topics = sorted(int(f[7:-4]) for f in topic)
    if topics != list(range(1, 21)):
        errors.append(f"topic scripts must be Script_1 to Script_20, found {topics}")
    total = 0
    for f in sorted(topic + dialogue, key=lambda s: (s[6] == "_", int(re.sub(r"\D", "", s)))):
        groups = check_file(os.path.join(folder, f), readings, common, review, errors, notes)
        total += groups - 1 if f.startswith("Script_") else groups
    for n in notes:
        print("review:", n)
    for e in errors:
        print("error:", e)
    print(f"{len(topic)} topic scripts, {len(dialogue)} dialogue scripts, {total} sentences, "
          f"{len(errors)} errors")
    return 1 if errors else 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
