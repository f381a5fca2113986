#!/usr/bin/env bash
# Builds the stroke files of the data tree: Characters/<n>.vmq for every character of the
# course's character lists that the pinned hanzi-writer-data package covers, the package's
# licence ARPHICPL.TXT, and NOTICE-strokes.txt last (the build treats that file as the sign
# that the stroke files are complete).
#
# make_strokes.sh <data tree> <stroke_convert tool>
set -euo pipefail
tree=$1
convert=$2
root=$(cd "$(dirname "$0")/.." && pwd)
# The setup script installs the pinned package into tools/.cache/npm when it is missing or
# another version.
"$root/tools/setup.sh" >/dev/null
"$convert" "$root/tools/.cache/npm/node_modules/hanzi-writer-data" "$root/content" "$tree"
