#!/usr/bin/env bash
# Remakes the screenshots under docs/screenshots/ that the README shows: the wizard walked
# through in English, Simplified Chinese and Traditional Chinese, each on the second run (the
# first writes the language files and shows English).
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"
for language in en_US:english zh_CN:simplified-chinese zh_TW:traditional-chinese; do
  rm -rf "docs/screenshots/${language#*:}"
  env -u DISPLAY LC_ALL="${language%%:*}.UTF-8" Q73_SECOND_RUN=1 \
    Q73_SCREENSHOTS="docs/screenshots/${language#*:}" bash tools/run.sh
done
