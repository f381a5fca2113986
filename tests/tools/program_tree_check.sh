#!/usr/bin/env bash
# Every file the build lays out in the data tree is built by the `program` target, the one
# ./run builds: a generator that only the full build runs leaves the program without its data
# (silent dialogues after ./run, until ./test happened to build them). Reads the build's own
# graph, so it builds nothing. Exits 77 (skipped) for a build that is not Ninja's.
# program_tree_check.sh <ninja> <build folder> <data tree, relative to the build folder>
set -uo pipefail
ninja=$1
build=$2
tree=${3%/}/
[ -f "$build/build.ninja" ] || { echo "not a Ninja build: $build"; exit 77; }

# Outputs of every build statement that lie in the tree.
all=$("$ninja" -C "$build" -t targets all | sed -n "s|^\(${tree//./\\.}[^:]*\): .*|\1|p" | sort -u)
# Every file the program target depends on, however deep.
program=$("$ninja" -C "$build" -t graph program | grep -o "label=\"${tree//./\\.}[^\"]*\"" \
  | sed 's/^label="//; s/"$//' | sort -u)
[ -n "$all" ] || { echo "the build lays out nothing in $tree"; exit 1; }
missing=$(comm -23 <(printf '%s\n' "$all") <(printf '%s\n' "$program"))
if [ -n "$missing" ]; then
  echo "built into the data tree, but not by the program target:"
  printf '%s\n' "$missing" | sed 's/^/  /'
  exit 1
fi
echo "program target builds all $(printf '%s\n' "$all" | wc -l) files of $tree"
