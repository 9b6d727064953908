#!/usr/bin/env bash
# Builds the libFuzzer targets (preset "fuzz": clang, ASan + UBSan) and runs
# each for SECONDS (default 25), starting from the seed corpora in
# fuzz/corpus/. The seeds are only read: what a run finds goes to a scratch
# corpus, and a crash leaves its reproducer in build/fuzz/findings/.
#
#   scripts/fuzz.sh [SECONDS] [TARGET...]
#
# TARGET is config-session, event-sequence or rcon-bytes (default: all three).
# Each target's closing statistics (inputs tried, corpus size) are printed.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/setup.sh build fuzz

seconds=${1:-25}
shift || true
targets=("$@")
((${#targets[@]})) || targets=(config-session event-sequence rcon-bytes)

cmake --preset fuzz >/dev/null
cmake --build --preset fuzz

findings=build/fuzz/findings
mkdir -p "$findings"
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT

# Leaks inside the run's own process are the sanitizers' business; the engine
# allocator's blocks are checked by the targets themselves after every input.
export ASAN_OPTIONS=detect_leaks=1:abort_on_error=1
export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1

# Each target is one process: as many run at once as there are cores.
fuzz_target() {  # fuzz_target TARGET: its output in $scratch/TARGET.log, its status in .status
  local target=$1 dictionary=() status=0
  mkdir -p "$scratch/$target"
  # A target's dictionary (its commands' words) beside its seeds, if it has one.
  [ -f "fuzz/corpus/$target.dict" ] && dictionary=(-dict="fuzz/corpus/$target.dict")
  build/fuzz/bin/fuzz-"$target" "${dictionary[@]}" -max_total_time="$seconds" -print_final_stats=1 \
    -timeout=10 -rss_limit_mb=2048 -artifact_prefix="$findings/$target-" \
    "$scratch/$target" "fuzz/corpus/$target" 2>"$scratch/$target.log" || status=$?
  echo "$status" >"$scratch/$target.status"
}
cores=$(nproc)
for target in "${targets[@]}"; do
  while (($(jobs -rp | wc -l) >= cores)); do wait -n; done
  echo "fuzz: $target for ${seconds}s"
  fuzz_target "$target" &
done
wait

failed=0
failures=0
for target in "${targets[@]}"; do
  if [ "$(cat "$scratch/$target.status")" != 0 ]; then
    failed=1
    failures=$((failures + 1))
    tail -n 60 "$scratch/$target.log"
  fi
  grep -E '^(stat::(number_of_executed_units|peak_rss_mb|new_units_added)|fuzz: )' \
    "$scratch/$target.log" |
    sed -e 's/^fuzz: //' -e "s/^/fuzz: $target /" || true
done
if ((failed)); then
  echo "fuzz: a target failed; reproducers are in $findings"
fi
echo "fuzz: $((${#targets[@]} - failures)) passed, $failures failed"
exit $failed
