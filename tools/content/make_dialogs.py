#!/usr/bin/env python3
"""Writes the dialogue tool's script from tools/content/dialogs.txt.

content/Spoken/Script.txt is the script as the program reads it: a number line starts each
dialogue, then the opening line and the replies, each "Chinese = English".
content/Spoken/Script.pinyin mirrors it line for line: the same number lines and empty lines,
and the numbered pinyin (with tone dots) of every text line; the sound generator and the
content check read it.

Usage: make_dialogs.py [SOURCE] [SPOKEN_FOLDER]
"""
import os
import sys

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from pinyin import add_dot, syllables  # noqa: E402


def parse(path):
    blocks, block = [], []
    with open(path, encoding="utf-8") as f:
        for raw in f:
            line = raw.rstrip("\n")
            if line.startswith("#"):
                continue
            if not line.strip():
                if block:
                    blocks.append(block)
                    block = []
                continue
            parts = [p.strip() for p in line.split("|")]
            if len(parts) != 3:
                raise SystemExit("%s: not 'pinyin | Chinese | English': %s" % (path, line))
            block.append(parts)
    if block:
        blocks.append(block)
    return blocks


def main():
    here = os.path.dirname(os.path.abspath(__file__))
    source = sys.argv[1] if len(sys.argv) > 1 else os.path.join(here, "dialogs.txt")
    spoken = sys.argv[2] if len(sys.argv) > 2 else os.path.join(here, "..", "..", "content", "Spoken")
    script, pinyin = [], []
    for n, block in enumerate(parse(source), 1):
        if n > 1:
            script.append("")
            pinyin.append("")
        script.append(str(n))
        pinyin.append(str(n))
        for plain, chinese, english in block:
            sylls, rest = syllables(plain)
            if rest:
                raise SystemExit("no tone digit after %r in %r" % (rest, plain))
            pinyin.append(" ".join(add_dot(s) for s in sylls))
            script.append("%s = %s" % (chinese, english))
    for name, lines in (("Script.txt", script), ("Script.pinyin", pinyin)):
        with open(os.path.join(spoken, name), "w", encoding="utf-8") as f:
            f.write("\n".join(lines) + "\n")
    print("%d dialogues, %d lines" % (n, sum(1 for l in script if "=" in l)))


if __name__ == "__main__":
    main()
