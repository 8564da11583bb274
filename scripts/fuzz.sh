#!/usr/bin/env bash
# Builds the libFuzzer targets (fuzz preset, clang with sanitizers) and runs each for the given seconds.
# Each starts from the kept inputs in fuzz/corpus/TARGET (seeds, and every input that once found a
# fault, so those run first as regressions) and grows its own corpus in build/fuzz/corpus/TARGET. A
# fault stops the run with the input saved as build/fuzz/TARGET-crash-...; keep it in fuzz/corpus.
set -euo pipefail
cd "$(dirname "$0")/.."
seconds=${1:-60}
targets=(param_strings regex scene)

cmake --preset fuzz >/dev/null
cmake --build --preset fuzz -j "$(nproc)" --target "${targets[@]/%/_fuzz}"
for target in "${targets[@]}"; do
  mkdir -p "build/fuzz/corpus/$target"
  echo "fuzzing $target for $seconds s"
  log="build/fuzz/$target.log"
  if ! "build/fuzz/fuzz/${target}_fuzz" -max_total_time="$seconds" -timeout=10 -rss_limit_mb=4096 \
    -artifact_prefix="build/fuzz/$target-" "build/fuzz/corpus/$target" "fuzz/corpus/$target" >"$log" 2>&1; then
    tail -n 60 "$log"
    echo "the $target fuzzer found a fault; its input is in build/fuzz/$target-*" >&2
    exit 1
  fi
  grep -E "^Done" "$log"
done
echo "the fuzzers found nothing"
