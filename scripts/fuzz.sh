#!/usr/bin/env bash
# Fuzzes the file readers and the string helpers: builds the libFuzzer
# targets with the "fuzz" preset (Clang) into build-fuzz/, makes the seed
# corpora from nothing (fuzz/make-seeds.sh), adds the regression inputs of
# tests/data/regress/ and runs every target for the given number of seconds
# (default 60), two at a time. The sound target runs twice: on OpenAL Soft's
# silent device and with no audio device at all. Any crash, sanitizer
# report, broken check, leak or limit overrun fails the run; the input is
# kept in build-fuzz/run/<run>/ and its log printed.
#   scripts/fuzz.sh [seconds]
set -euo pipefail
cd "$(dirname "$0")/.."
seconds=${1:-60}

scripts/packages.sh fuzz
cmake --preset fuzz >/dev/null
cmake --build --preset fuzz -j"$(nproc)"
fuzz/make-seeds.sh build-fuzz/fuzz/fuzz_seed_writer build-fuzz/seeds

# run name, target, OpenAL Soft driver list
runs=(
  "sound-null sound null"
  "sound-no-device sound no-such-backend"
  "music music null"
  "images images null"
  "strings strings null"
  "recording recording null"
)

run_one() {
  local name=$1 target=$2 drivers=$3
  local work="$PWD/build-fuzz/run/$name"
  rm -rf "$work"
  mkdir -p "$work/corpus"
  cp build-fuzz/seeds/"$target"/* "$work/corpus/"
  if [ -d "tests/data/regress/$target" ]; then cp tests/data/regress/"$target"/* "$work/corpus/"; fi
  local seeds
  seeds=$(find "$work/corpus" -type f | wc -l)
  # A smaller quarantine of freed memory keeps long runs well inside the
  # 512 MB limit (with the default 256 MB the string target reached 485 MB in
  # ten minutes).
  if (cd "$work" && ALSOFT_DRIVERS=$drivers ASAN_OPTIONS=quarantine_size_mb=64 \
        "$OLDPWD/build-fuzz/fuzz/fuzz_$target" \
        -max_total_time="$seconds" -rss_limit_mb=512 -malloc_limit_mb=256 -close_fd_mask=1 \
        -print_final_stats=1 -artifact_prefix="$work/" corpus >"$work/log" 2>&1); then
    local runs_done speed corpus
    runs_done=$(sed -n 's/^stat::number_of_executed_units: *//p' "$work/log")
    speed=$(sed -n 's/^stat::average_exec_per_sec: *//p' "$work/log")
    corpus=$(find "$work/corpus" -type f | wc -l)
    printf '%-16s clean: %10s executions, %6s per second, corpus %d -> %d inputs\n' \
      "$name" "$runs_done" "$speed" "$seeds" "$corpus"
  else
    echo "$name FAILED; log build-fuzz/run/$name/log, input(s):"
    find "$work" -maxdepth 1 \( -name 'crash-*' -o -name 'leak-*' -o -name 'oom-*' \
      -o -name 'timeout-*' \)
    tail -n 60 "$work/log"
    return 1
  fi
}

status=0
pids=()
for i in "${!runs[@]}"; do
  # shellcheck disable=SC2086
  run_one ${runs[$i]} &
  pids+=($!)
  if [ ${#pids[@]} -eq 2 ] || [ "$i" -eq $((${#runs[@]} - 1)) ]; then
    for pid in "${pids[@]}"; do wait "$pid" || status=1; done
    pids=()
  fi
done
exit $status
