#!/usr/bin/env python3
"""Checks the new-word files of the 91 lessons (content/Lessons/Script/Lesson_<n>/icwp.txt).

Fails (exit 1) on:
- a missing file, or a group that is not three non-empty lines;
- a syllable that is not Mandarin pinyin, lacks its tone dot or digit, or has its dot before
  the wrong vowel; a word whose syllable count differs from its character count;
- a line that code page 936 cannot hold;
- a reading that is not among the character's known readings (when the Unihan readings file
  is installed; the neutral tone is always allowed); a tone-change spelling of 不 or 一;
- a word taught twice in the same reading; a lesson with fewer than 8 or more than 16 words,
  fewer than two distinct meanings, two words sharing a meaning, or (after lesson 1) no new
  character;
- a syllabus without exactly one row per lesson, or with a title used twice; a lesson text
  (lifr.txt, where written) whose first heading is not the lesson's syllabus title.
Prints one summary line per lesson with -v. Standard library only.
"""

import bz2
import pathlib
import re
import sys
import unicodedata

sys.dont_write_bytecode = True  # keep the source tree free of caches
from pinyin import DOTTED, VALID, tone_vowel_index

HERE = pathlib.Path(__file__).resolve().parent
ROOT = HERE.parent.parent
LESSONS = 91
UNIHAN = pathlib.Path("/usr/share/unicode/Unihan_Readings.txt.bz2")
READING_FIELDS = ("kMandarin", "kHanyuPinyin", "kXHC1983", "kTGHZ2013")
# Words are spelt in citation form: the tone changes of these two in speech are not written.
CITATION = {"不": ("bu", 4), "一": ("yi", 1)}

_MARKS = {}
for plain, marked in (("a", "āáǎà"), ("o", "ōóǒò"), ("e", "ēéěè"), ("i", "īíǐì"),
                      ("u", "ūúǔù"), ("v", "ǖǘǚǜ")):
    for tone, ch in enumerate(marked, 1):
        _MARKS[ch] = (plain, tone)


def marked_to_plain(syl):
    """'hǎo' -> ('hao', 3); 'lǜ' -> ('lv', 4); unmarked gives tone 0."""
    tone, out = 0, ""
    for ch in syl:
        if ch in _MARKS:
            letter, tone = _MARKS[ch]
            out += letter
        elif ch == "ü":
            out += "v"
        else:
            out += ch
    return out, tone


def load_readings():
    if not UNIHAN.exists():
        return None
    readings = {}
    with bz2.open(UNIHAN, "rt", encoding="utf-8") as f:
        for line in f:
            if not line.startswith("U+"):
                continue
            code, field, value = line.rstrip("\n").split("\t", 2)
            if field not in READING_FIELDS:
                continue
            ch = chr(int(code[2:], 16))
            for item in value.split():
                item = item.split(":", 1)[-1]
                for syl in item.split(","):
                    readings.setdefault(ch, set()).add(marked_to_plain(syl))
    return readings


def is_han(ch):
    return unicodedata.name(ch, "").startswith("CJK UNIFIED IDEOGRAPH")


def check_syllable(syl):
    m = DOTTED.match(syl)
    if not m:
        return None, "syllable %r lacks its tone dot or digit or has stray letters" % syl
    head, vowel, tail, digit = m.groups()
    letters = head + vowel + tail
    if letters not in VALID:
        return None, "%r is not a Mandarin syllable" % letters
    if tone_vowel_index(letters) != len(head):
        return None, "tone dot of %r stands before the wrong vowel" % syl
    return (letters, int(digit)), None


def check_lesson(n, path, readings, errors):
    def err(msg):
        errors.append("Lesson %d: %s" % (n, msg))

    if not path.exists():
        err("missing %s" % path)
        return []
    raw = path.read_bytes()
    try:
        text = raw.decode("utf-8")
    except UnicodeDecodeError:
        err("not UTF-8")
        return []
    if text.startswith("\ufeff"):
        err("starts with a byte-order mark")
    lines = text.split("\n")
    if lines and lines[-1] == "":
        lines.pop()
    if len(lines) % 3:
        err("%d lines, not a multiple of three" % len(lines))
    words = []
    for g in range(len(lines) // 3):
        py, zh, en = lines[3 * g:3 * g + 3]
        where = "word %d (%s)" % (g + 1, zh)
        if not py.strip() or not zh.strip() or not en.strip():
            err("%s: empty line in the group" % where)
            continue
        if py != py.strip() or zh != zh.strip() or en != en.strip() or "  " in py:
            err("%s: stray blanks" % where)
        for line in (py, zh, en):
            try:
                line.encode("gbk")
            except UnicodeEncodeError:
                err("%s: %r cannot be written in code page 936" % (where, line))
        sylls = py.split()
        parsed = []
        for s in sylls:
            p, problem = check_syllable(s)
            if problem:
                err("%s: %s" % (where, problem))
            parsed.append(p)
        for ch in zh:
            if not is_han(ch):
                err("%s: %r is not a Chinese character" % (where, ch))
        if len(sylls) != len(zh):
            err("%s: %d syllables for %d characters" % (where, len(sylls), len(zh)))
        else:
            for ch, p in zip(zh, parsed):
                if ch in CITATION and p is not None and p != CITATION[ch]:
                    err("%s: %s must be spelt %s%d (citation form)" % ((where, ch) + CITATION[ch]))
        if len(sylls) == len(zh) and readings is not None:
            for ch, p in zip(zh, parsed):
                if p is None or ch not in readings:
                    continue
                letters, tone = p
                known = readings[ch]
                if (letters, tone) not in known and not (
                        tone == 0 and any(l == letters for l, _ in known)):
                    shown = ", ".join(sorted("%s%d" % r for r in known))
                    err("%s: %s read %s%d, known readings %s" % (where, ch, letters, tone, shown))
        meanings = [m.strip() for m in en.split(";")]
        if any(not m for m in meanings):
            err("%s: empty meaning in %r" % (where, en))
        if len(meanings) > 8:
            err("%s: more than eight meanings" % where)
        if re.search(r";(?! )", en):
            err("%s: meanings must be separated by '; '" % where)
        words.append((zh, en, py))
    owner = {}
    for zh, en, _ in words:
        for m in {m.strip().lower() for m in en.split(";")}:
            if m in owner and owner[m] != zh:
                err("%s and %s share the meaning %r (the vocabulary test could not tell them apart)"
                    % (owner[m], zh, m))
            owner.setdefault(m, zh)
    if not 8 <= len(words) <= 16:
        err("%d words (8 to 16 wanted)" % len(words))
    if len({en.lower() for _, en, _ in words}) < 2:
        err("fewer than two distinct meanings")
    return words


def check_syllabus(errors):
    path = HERE / "syllabus.md"
    if not path.exists():
        errors.append("missing %s" % path)
        return
    rows = re.findall(r"^\| (\d+) \| ([^|]+) \|", path.read_text(encoding="utf-8"), re.M)
    if [int(n) for n, _ in rows] != list(range(1, LESSONS + 1)):
        errors.append("syllabus.md must have one row per lesson, 1 to %d in order" % LESSONS)
    titles = [title.strip() for _, title in rows]
    for title in sorted({t for t in titles if titles.count(t) > 1}):
        errors.append("syllabus.md: the title %r stands on more than one lesson" % title)
    for n, title in rows:
        check_text_title(int(n), title.strip(), errors)


def check_text_title(n, title, errors):
    """A lesson text, once written, opens with a heading whose English line is the title."""
    path = ROOT / "content" / "Lessons" / "Script" / ("Lesson_%d" % n) / "lifr.txt"
    if not path.exists():
        return
    try:
        lines = path.read_text(encoding="utf-8").split("\n")
    except UnicodeDecodeError:
        errors.append("Lesson %d: lifr.txt is not UTF-8" % n)
        return
    for g in range(len(lines) // 3):
        if lines[3 * g + 1].startswith("#"):
            english = lines[3 * g + 2].strip()
            if english != title:
                errors.append("Lesson %d: text heading %r differs from the syllabus title %r"
                              % (n, english, title))
            return
    errors.append("Lesson %d: lifr.txt has no heading (the syllabus title %r)" % (n, title))


def main():
    verbose = "-v" in sys.argv
    readings = load_readings()
    errors = []
    seen_words = {}
    seen_chars = set()
    total = 0
    for n in range(1, LESSONS + 1):
        path = ROOT / "content" / "Lessons" / "Script" / ("Lesson_%d" % n) / "icwp.txt"
        words = check_lesson(n, path, readings, errors)
        total += len(words)
        new_chars = []
        for zh, _, py in words:
            # A character read another way is another word (种 zhòng "to plant", 种 zhǒng "kind").
            if (zh, py) in seen_words:
                errors.append("Lesson %d: %s %s was already taught in lesson %d"
                              % (n, zh, py, seen_words[zh, py]))
            else:
                seen_words[zh, py] = n
            for ch in zh:
                if ch not in seen_chars and ch not in new_chars:
                    new_chars.append(ch)
        if words and n > 1 and not new_chars:
            errors.append("Lesson %d: no new character for the typing task" % n)
        seen_chars.update(new_chars)
        if verbose:
            print("Lesson %2d: %2d words, %2d new characters: %s"
                  % (n, len(words), len(new_chars), "".join(new_chars)))
    check_syllabus(errors)
    if readings is None:
        print("note: %s not installed, readings not checked" % UNIHAN)
    for e in errors:
        print(e)
    print("%d lessons, %d words, %d characters, %d problems"
          % (LESSONS, total, len(seen_chars), len(errors)))
    return 1 if errors else 0


if __name__ == "__main__":
    sys.exit(main())
