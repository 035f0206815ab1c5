#!/usr/bin/env bash
# Reads the output of a ctest run whose failed tests are run once more and
# lists every test that failed and then passed: each one hides an intermittent
# fault, a defect to fix.   report-reruns.sh CTEST_OUTPUT_FILE
set -euo pipefail
reruns=$(awk '
  /Test +#[0-9]+: / {
    name = $0
    sub(/.*Test +#[0-9]+: /, "", name)
    sub(/ .*/, "", name)
    if ($0 ~ /\*\*\*/) failed[name] = 1
    else if ($0 ~ / Passed /) passed[name] = 1
  }
  END { for (n in failed) if (n in passed) print n }
' "$1" | sort)
if [ -z "$reruns" ]; then
  echo "No test needed a second run."
else
  echo "Tests that passed only on their second run (intermittent faults, each a defect to fix):"
  printf '  %s\n' $reruns
fi
