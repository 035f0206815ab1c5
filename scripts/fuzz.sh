#!/usr/bin/env bash
# Fuzzes the portable parsers with libFuzzer from Debian's clang, each target
# for a bounded time, and prints executions and findings per target:
#   number_text      text to number and back (common/number_text)
#   settings_values  the settings values read, saved and read again (records/settings)
#   ini_path         the settings path beside an executable (records/settings)
#   pass_list        passing a number and taking a slot back (records/pass_list)
#   results_log      the log's reader on what spreadsheets save back (records/results_log_reader)
#   fuzz.sh [seconds per target, default 60] [target ...]
# Inputs that fail are copied to tests/fuzz/regressions/<target>/, where the
# host unit tests replay them. The corpus grows under build/fuzz/corpus/.
# Not part of the test command.
set -euo pipefail
cd "$(dirname "$0")/.."
root=$PWD
seconds=${1:-60}
shift || true
targets=("$@")
((${#targets[@]})) || targets=(number_text settings_values ini_path pass_list results_log)

need=()
for p in clang libclang-rt-14-dev; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || need+=("$p")
done
if ((${#need[@]})); then
  export DEBIAN_FRONTEND=noninteractive
  apt-get update -q && apt-get install -y -q --no-install-recommends "${need[@]}"
fi

out=$root/build/fuzz
mkdir -p "$out"
flags=(-std=c++17 -g -O1 -I"$root" -fsanitize=fuzzer,address,undefined -fno-sanitize-recover=undefined)
common=(common/number_text.cpp records/pass_list.cpp records/settings.cpp records/results_log.cpp
        records/results_log_reader.cpp records/tally.cpp records/score_ledger.cpp tests/fuzz/fuzz_checks.cpp)

seed() {  # seed TARGET NAME BYTES...
  mkdir -p "$out/corpus/$1"
  printf '%b' "$3" > "$out/corpus/$1/seed-$2"
}
seed number_text dec '  -2147483648'
seed number_text hex '0x7FFFFFFF'
seed number_text dollar '$ffffffff'
seed number_text plus '+007'
seed settings_values full '\x05123\n1\n10\n3\n2\n1\n0\n1\n2\n1\n0\n5 \x8f\x9f\x82\xbf\n4711\n4 \x95\x89\x82\xaf\n\n$10\n0x1F'
seed ini_path plain 'C:\\Program Files\\Tallykeep\\Tallykeep.exe'
seed ini_path dbcs 'C:\\\x95\x5c\\a.b\\\x83\x5c\x83\x74\x83\x67'
seed ini_path nodot 'D:\\games.d\\tallykeep'
seed pass_list half '\x03900\n800\n\n700\nabc\n\n\n\n\n\n\n750'
seed pass_list full '\x0a1\n2\n3\n4\n5\n6\n7\n8\n9\n10\n11'
# What Tallykeep writes, and what Excel and LibreOffice save back: dates and
# times reformatted, fields quoted, blank rows, UTF-8 with its mark, columns
# dropped or added, lines sorted.
seed results_log written '\x93\xfa\x95t,\x8e\x9e\x8d\x8f,\x83Q\x81[\x83\x80\x94\xd4\x8d\x86,\x89\xf1\x96\xda,\x8c\x8b\x89\xca,\x8fW\x8cv,\x92\xca\x94\xd4\r\n2026/12/07,18:36:39,4711,1,\x8f\x9f\x82\xbf,1,981\r\n2026/12/07,18:40:02,4712,1,\x95\x89\x82\xaf,1,982\r\n'
seed results_log excel '2026/12/7,18:36,4711,1,\x8f\x9f\x82\xbf,1,981\r\n,,,,,,\r\n"2026/12/07","18:40:02","4712","1","\x83p\x83X","0",""\r\n2026/3/9,7:05:03,5,2,\x95\x89\x82\xaf,0\r\n'
seed results_log utf8 '\xef\xbb\xbf\xe6\x97\xa5\xe4\xbb\x98,\xe6\x99\x82\xe5\x88\xbb\n2026-12-07,18:36:39,4711,1,\xe5\x8b\x9d\xe3\x81\xa1,1,981\n2026-12-07,18:40:02,4712,1,\xe8\xb2\xa0\xe3\x81\x91,1,982,,,\n'
seed results_log torn '2026/12/07,18:36:39,4711,1,\x8f\x9f\x82\xbf,1,981\r\n2026/12/07,18:4'

total_failures=0
for target in "${targets[@]}"; do
  echo "== $target: building"
  clang++ "${flags[@]}" "${common[@]}" "tests/fuzz/${target}_fuzz.cpp" -o "$out/$target"
  mkdir -p "$out/corpus/$target" "$out/artifacts/$target"
  echo "== $target: fuzzing for $seconds s"
  set +e
  "$out/$target" "$out/corpus/$target" -max_total_time="$seconds" -print_final_stats=1 -max_len=4096 \
    -artifact_prefix="$out/artifacts/$target/" > "$out/$target.log" 2>&1
  status=$?
  set -e
  runs=$(grep -o 'stat::number_of_executed_units: *[0-9]*' "$out/$target.log" | grep -o '[0-9]*$' | tail -n 1)
  found=$(find "$out/artifacts/$target" -type f | wc -l)
  echo "   executions: ${runs:-?}, exit status $status, failing inputs: $found, corpus: $(ls "$out/corpus/$target" | wc -l)"
  if ((found)); then
    mkdir -p "tests/fuzz/regressions/$target"
    for f in "$out/artifacts/$target"/*; do
      cp "$f" "tests/fuzz/regressions/$target/"
      echo "   kept $(basename "$f") in tests/fuzz/regressions/$target/"
    done
    grep -m 3 -E "^$target: |ERROR: |runtime error" "$out/$target.log" | sed 's/^/   /' || true
    total_failures=$((total_failures + found))
  fi
done
echo "fuzz.sh: $total_failures failing inputs"
((total_failures == 0))
