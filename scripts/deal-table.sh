#!/usr/bin/env bash
# Makes the deals' table, data/deals.tkd, with Freecell Solver: for every deal
# 1..1,000,000 whether it can be won with four free cells and the length of the
# solution found, and for 1..32,000 (or --fewest-to) the fewest free cells it
# needs. See docs/deal-table.md for the format and the searches.
#
# The work is done in chunks of 1,000 deals kept under build/deal-table/; a run
# that stops (Ctrl+C, a reboot) starts again at the first chunk not done, and
# deals not done yet are written as unknown. One process under nice by
# default; --jobs 2 uses both cores.
#
#   bash scripts/deal-table.sh [--jobs N] [--to N] [--fewest-to N] [--states N] [--retry-unknown N]
#                            [--retry-states N] [--pack-only]
#   bash scripts/deal-table.sh --settle [--positions N] [--jobs N] [--commit]
#
#   --settle           settles, in the committed data/deals.tkd, the deals of
#                      1..--fewest-to whose fewest free cells are unknown and
#                      the deals undecided with four cells
#                      (tools/deal_table/settle_fewest.cpp), a chunk of 1,000
#                      deals' numbers at a time: each chunk's lines are kept in
#                      data/settled/<positions>/ and folded into the table at
#                      once (with --commit, both are committed then), so a run
#                      stopped at any point goes on from the first chunk not
#                      done. --positions caps the complete search (default
#                      20,000,000 positions, about 16 bytes each); a later run
#                      with a larger cap tries again the deals still open.
#
#   --states N         cap of the complete searches (default 200,000 states,
#                      about 140 MB); a deal that reaches it is left undecided
#   --retry-unknown N  afterwards, search again with larger limits (300,000
#                      states per fast search, --retry-states for the complete
#                      search, default 500,000) up to N deals still undecided
#                      or whose fewest free cells were sought and not found
set -euo pipefail
cd "$(dirname "$0")/.."

jobs=1
last=1000000
fewest_to=32000
retry=0
retry_states=500000
states=200000
pack_only=0
settle=0
positions=20000000
commit=0
while (($#)); do
  case "$1" in
    --jobs) jobs=$2; shift 2 ;;
    --to) last=$2; shift 2 ;;
    --fewest-to) fewest_to=$2; shift 2 ;;
    --states) states=$2; shift 2 ;;
    --retry-unknown) retry=$2; shift 2 ;;
    --retry-states) retry_states=$2; shift 2 ;;
    --pack-only) pack_only=1; shift ;;
    --settle) settle=1; shift ;;
    --positions) positions=$2; shift 2 ;;
    --commit) commit=1; shift ;;
    *) echo "usage: $0 [--jobs N] [--to N] [--fewest-to N] [--states N] [--retry-unknown N] [--retry-states N] [--pack-only]" >&2
       echo "       $0 --settle [--positions N] [--jobs N] [--commit]" >&2; exit 2 ;;
  esac
done
chunk=1000
if ((last % chunk || fewest_to % chunk)); then
  echo "deal-table: --to and --fewest-to must be multiples of $chunk" >&2
  exit 2
fi

work=build/deal-table
solver=$work/deal_table_solve

if ((settle)); then
  mkdir -p "$work"
  settler=$work/settle_fewest
  sources=(tools/deal_table/settle_fewest.cpp tools/deal_table/cell_search.cpp tools/deal_table/deal_solver.cpp
    freecell/cards.cpp freecell/rules.cpp)
  if [ ! -x "$settler" ] || [ -n "$(find "${sources[@]}" tools/deal_table/*.h freecell/*.h -newer "$settler")" ]; then
    nice -n 10 g++ -O2 -std=c++17 -Wall -Wextra -I. "${sources[@]}" -lfreecell-solver -o "$settler"
  fi
  folder=data/settled/$positions
  mkdir -p "$folder"
  fold() {
    # Smaller caps first: a later folder only adds to what an earlier one settled.
    python3 tools/deal_table/fold_settled.py --table data/deals.tkd \
      $(find data/settled -name '*.txt' | sort -t/ -k3,3n -k4,4)
  }
  declare -A chunks=()
  while read -r deal kind; do
    chunks[$(((deal - 1) / chunk * chunk + 1))]+=" $kind:$deal"
  done < <(python3 tools/deal_table/fold_settled.py --table data/deals.tkd --open "$fewest_to")
  echo "deal-table: ${#chunks[@]} chunks with open deals"
  for from in $(printf '%s\n' "${!chunks[@]}" | sort -n); do
    file=$(printf '%s/%07d.txt' "$folder" "$from")
    # Done already, with this cap or a larger one.
    done=0
    for other in data/settled/*/; do
      other=${other%/}
      ((${other##*/} >= positions)) && [ -f "$other/${file##*/}" ] && done=1
    done
    ((done)) && continue
    began=$SECONDS
    fewest=() four=()
    for entry in ${chunks[$from]}; do
      if [ "${entry%%:*}" = four ]; then four+=("${entry#*:}"); else fewest+=("${entry#*:}"); fi
    done
    : >"$file.part"
    # The chunk's deals shared out between the processes, each writing its own part.
    pids=()
    for ((j = 0; j < jobs; j++)); do
      mine=()
      for ((i = j; i < ${#fewest[@]}; i += jobs)); do mine+=("${fewest[i]}"); done
      ((${#mine[@]})) || continue
      nice -n 19 "$settler" --positions "$positions" "${mine[@]}" >"$file.part$j" &
      pids+=($!)
    done
    for pid in "${pids[@]}"; do wait "$pid"; done
    ((${#four[@]})) && nice -n 19 "$settler" --four --positions "$positions" "${four[@]}" >>"$file.part"
    { cat "$file.part"? 2>/dev/null || true; } | sort -n >>"$file.part"
    rm -f "$file.part"?
    mv "$file.part" "$file"
    settled=$(grep -vc ' open ' "$file" || true)
    echo "$(date -u +%H:%M:%S) deal-table: chunk $from: $settled of $(wc -l <"$file") settled ($((SECONDS - began)) s); $(fold)"
    if ((commit)); then
      # Another git command of the worktree may hold its lock for a moment.
      for try in 1 2 3 4 5 6; do
        git add "$file" data/deals.tkd && git commit -q -m "Deals' table: chunk $from settled by the retries with $positions positions ($settled of $(wc -l <"$file") deals)" \
          -- "$file" data/deals.tkd && break
        ((try < 6)) || exit 1
        sleep 5
      done
    fi
  done
  echo "deal-table: settle done; $(fold)"
  exit 0
fi
retried=$work/retry-$retry_states
mkdir -p "$work/fewest" "$work/four" "$retried"

# Runs one chunk: "<kind> <first deal>"; the file appears only when complete.
run_chunk() {
  local kind=$1 from=$2 to=$(($2 + chunk - 1)) file
  file=$(printf '%s/%s/%07d.txt' "$work" "$kind" "$from")
  local flags=()
  [ "$kind" = fewest ] && flags=(--fewest --more-presets)
  local began=$SECONDS
  nice -n 19 "$solver" --from "$from" --to "$to" --states "$states" "${flags[@]}" >"$file.part" 2>"$file.log"
  mv "$file.part" "$file"
  echo "$(date -u +%H:%M:%S) $kind: $(cat "$file.log") (wall $((SECONDS - began)) s)"
}
export -f run_chunk

run_retry() {
  local file=$retried/$1.txt flags=()
  (($1 <= fewest_to)) && flags=(--fewest --more-presets)
  nice -n 19 "$solver" --from "$1" --to "$1" "${flags[@]}" --iterations 300000 --states "$retry_states" \
    >"$file.part" 2>/dev/null
  mv "$file.part" "$file"
  echo "$(date -u +%H:%M:%S) retry: $(cat "$file")"
}
export -f run_retry
export retried retry_states fewest_to
export work chunk solver states

if ((!pack_only)); then
  if [ "$(dpkg-query -W -f='${Status}\n' freecell-solver-bin libfreecell-solver-dev 2>/dev/null |
      grep -c 'install ok installed')" != 2 ]; then
    if [ "$(id -u)" != 0 ]; then
      echo "deal-table: Freecell Solver is not installed and this is not root" >&2
      exit 1
    fi
    DEBIAN_FRONTEND=noninteractive apt-get install -y -q --no-install-recommends \
      freecell-solver-bin libfreecell-solver-dev
  fi

  sources=(tools/deal_table/deal_table_solve.cpp tools/deal_table/deal_solver.cpp freecell/cards.cpp)
  if [ ! -x "$solver" ] || [ -n "$(find "${sources[@]}" tools/deal_table/deal_solver.h -newer "$solver")" ]; then
    nice -n 10 g++ -O2 -std=c++17 -Wall -Wextra -I. "${sources[@]}" -lfreecell-solver -o "$solver"
  fi

  todo=()
  for ((from = 1; from <= fewest_to && from <= last; from += chunk)); do
    [ -f "$(printf '%s/fewest/%07d.txt' "$work" "$from")" ] || todo+=("fewest $from")
  done
  for ((from = fewest_to + 1; from <= last; from += chunk)); do
    [ -f "$(printf '%s/four/%07d.txt' "$work" "$from")" ] || todo+=("four $from")
  done
  echo "deal-table: ${#todo[@]} chunks of $chunk deals to do, $jobs at a time"
  began=$SECONDS
  if ((${#todo[@]})); then
    printf '%s\n' "${todo[@]}" | xargs -P "$jobs" -L 1 bash -c 'run_chunk $0 $1'
  fi
  echo "deal-table: chunks done in $((SECONDS - began)) s"

  if ((retry)); then
    began=$SECONDS
    # Deals undecided, or won with four cells with their fewest cells not
    # found, by every search so far.
    mapfile -t open < <(python3 tools/deal_table/pack_table.py --open --limit "$retry" \
      "$work"/four "$work"/fewest $(ls -d "$work"/retry-* | sort -V))
    # Not again with a cap already tried, or a smaller one than tried.
    tried=()
    for folder in "$work"/retry-*; do
      ((${folder##*-} >= retry_states)) && tried+=("$folder")
    done
    todo=()
    for deal in "${open[@]}"; do
      seen=0
      for folder in "${tried[@]}"; do [ -f "$folder/$deal.txt" ] && seen=1; done
      ((seen)) || todo+=("$deal")
    done
    echo "deal-table: ${#todo[@]} deals to search again, $jobs at a time"
    if ((${#todo[@]})); then
      printf '%s\n' "${todo[@]}" | xargs -P "$jobs" -L 1 bash -c 'run_retry $0'
    fi
    echo "deal-table: retries done in $((SECONDS - began)) s"
  fi
fi

mkdir -p data
# Later folders replace earlier ones: the retries with the largest cap last.
python3 tools/deal_table/pack_table.py --count "$last" --out data/deals.tkd \
  "$work"/four "$work"/fewest $(ls -d "$work"/retry-* | sort -V)
