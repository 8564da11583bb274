#!/usr/bin/env bash
# Builds the libFuzzer targets (fuzz preset, clang with sanitizers) and runs each for the given seconds.
# Each starts from the kept inputs in fuzz/corpus/TARGET (seeds, and every input that once found a
# fault, so those run first as regressions) and grows its own corpus in build/fuzz/corpus/TARGET. A
# fault stops the run with the input saved as build/fuzz/TARGET-crash-...; keep it in fuzz/corpus.
# FUZZ_RUNS=N ends each target at N executions if that comes first; FUZZ_TARGETS names the targets.
# FUZZ_MAX_LEN=N caps an input's length (libFuzzer's own cap follows the longest kept input, up to 4 KB):
# for runs that need many executions more than long inputs. FUZZ_JOBS=N runs N workers on the target at
# once (libFuzzer's fork mode), one per core; the run's executions, and FUZZ_RUNS, count theirs together.
set -euo pipefail
cd "$(dirname "$0")/.."
seconds=${1:-60}
read -r -a targets <<<"${FUZZ_TARGETS:-param_strings regex scene stateful}"
runs=()
[[ -n "${FUZZ_RUNS:-}" ]] && runs=(-runs="$FUZZ_RUNS")
[[ -n "${FUZZ_MAX_LEN:-}" ]] && runs+=(-max_len="$FUZZ_MAX_LEN")
[[ -n "${FUZZ_JOBS:-}" ]] && runs+=(-fork="$FUZZ_JOBS")

cmake --preset fuzz >/dev/null
cmake --build --preset fuzz -j "$(nproc)" --target "${targets[@]/%/_fuzz}" calls_from_scene
# The stateful fuzzer starts from the example scenes, written as its calls.
build/fuzz/fuzz/calls_from_scene build/fuzz/corpus/stateful examples/*.json
for target in "${targets[@]}"; do
  mkdir -p "build/fuzz/corpus/$target"
  echo "fuzzing $target for $seconds s"
  log="build/fuzz/$target.log"
  if ! "build/fuzz/fuzz/${target}_fuzz" -max_total_time="$seconds" "${runs[@]}" -timeout=10 -rss_limit_mb=4096 \
    -artifact_prefix="build/fuzz/$target-" "build/fuzz/corpus/$target" "fuzz/corpus/$target" >"$log" 2>&1; then
    tail -n 60 "$log"
    echo "the $target fuzzer found a fault; its input is in build/fuzz/$target-*" >&2
    exit 1
  fi
  # "Done N runs in S second(s)", or in fork mode the last "#N: cov: ... time: Ss": the executions per
  # second follow from it.
  awk -v target="$target" '
    /^Done/ { runs = $2; seconds = $5 }
    /^#[0-9]+: cov:/ { runs = substr($1, 2) + 0; for (i = 1; i < NF; ++i) if ($i == "time:") seconds = $(i + 1) + 0 }
    END { printf "%s: %d executions in %d s, %d per second\n", target, runs, seconds, (seconds > 0 ? runs / seconds : runs) }' "$log"
done
echo "the fuzzers found nothing"
