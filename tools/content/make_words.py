#!/usr/bin/env python3
"""Builds the lesson new-word files and the syllabus table from the drafting list words.txt.

words.txt holds one header per lesson and one line per word:
    = <n> | <English title> | <topic> | <grammar point>
    <plain numbered pinyin, e.g. ni3 hao3> | <Chinese> | <meaning; meaning>
The tone dots are placed here, so the drafting list stays easy to write and read.
Writes content/Lessons/Script/Lesson_<n>/icwp.txt (UTF-8, three lines per word) and
tools/content/syllabus.md.
"""

import pathlib
import sys

sys.dont_write_bytecode = True  # keep the source tree free of caches
from pinyin import add_dot

HERE = pathlib.Path(__file__).resolve().parent
ROOT = HERE.parent.parent


def parse(path):
    lessons = []
    for lineno, raw in enumerate(path.read_text(encoding="utf-8").splitlines(), 1):
        line = raw.strip()
        if not line or line.startswith("#"):
            continue
        parts = [p.strip() for p in line.lstrip("=").split("|")]
        if line.startswith("="):
            if len(parts) != 4:
                sys.exit("%s:%d: lesson header needs 4 fields" % (path, lineno))
            lessons.append({"n": int(parts[0]), "title": parts[1], "topic": parts[2],
                            "grammar": parts[3], "words": []})
        else:
            if len(parts) != 3 or not lessons:
                sys.exit("%s:%d: word line needs 3 fields after a header" % (path, lineno))
            try:
                dotted = " ".join(add_dot(s) for s in parts[0].split())
            except ValueError as e:
                sys.exit("%s:%d: %s" % (path, lineno, e))
            lessons[-1]["words"].append((dotted, parts[1], parts[2]))
    return lessons


def main():
    lessons = parse(HERE / "words.txt")
    for les in lessons:
        folder = ROOT / "content" / "Lessons" / "Script" / ("Lesson_%d" % les["n"])
        folder.mkdir(parents=True, exist_ok=True)
        text = "".join("%s\n%s\n%s\n" % w for w in les["words"])
        (folder / "icwp.txt").write_text(text, encoding="utf-8")
    rows = ["# Syllabus", "",
            "One row per lesson. The English title is the heading of the lesson text.", "",
            "| Lesson | Title | Topic | Grammar point |", "|---|---|---|---|"]
    rows += ["| %d | %s | %s | %s |" % (l["n"], l["title"], l["topic"], l["grammar"])
             for l in lessons]
    (HERE / "syllabus.md").write_text("\n".join(rows) + "\n", encoding="utf-8")
    print("wrote %d lessons, %d words" % (len(lessons), sum(len(l["words"]) for l in lessons)))


if __name__ == "__main__":
    main()
