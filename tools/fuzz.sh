#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Builds the libFuzzer targets of fuzz/ with clang and runs each for the given seconds (default
# 60), starting from its seed corpus in fuzz/corpus/<target>/. Inputs that grow coverage are kept
# in build/fuzz/corpus/<target>/; an input that crashes a target or breaks what it checks is
# written to build/fuzz/findings/<target>/ and makes the script exit non-zero.
#   tools/fuzz.sh [seconds]
set -euo pipefail
cd "$(dirname "$0")/.."

seconds="${1:-60}"
if ! [[ "$seconds" =~ ^[1-9][0-9]*$ ]]; then
  echo "usage: tools/fuzz.sh [seconds]" >&2
  exit 2
fi

bash tools/install-deps.sh clang libclang-rt-14-dev

build=build/fuzz
cmake -S fuzz -B "$build" -G Ninja -DCMAKE_CXX_COMPILER=clang++ -DWEXAL_WERROR=ON >/dev/null
cmake --build "$build" -j2

# Box texts are short, but the range limits of a double lie past 300 digits: let the number
# reader see inputs that long. A command line of a dozen arguments fits in 512 bytes; its
# option names and values come from a dictionary, as do a scenario file's keys. A results file
# has about a kilobyte, its rows' words come from a dictionary too.
targets=(fuzz_text_to_number fuzz_number_to_text fuzz_command_line fuzz_results_file fuzz_scenario)
declare -A options=(
  [fuzz_text_to_number]="-max_len=1024"
  [fuzz_number_to_text]="-max_len=64"
  [fuzz_command_line]="-max_len=512 -dict=fuzz/fuzz_command_line.dict"
  [fuzz_results_file]="-max_len=4096 -dict=fuzz/fuzz_results_file.dict"
  [fuzz_scenario]="-max_len=1024 -dict=fuzz/fuzz_scenario.dict"
)

export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
findings=0
for target in "${targets[@]}"; do
  work="$build/corpus/$target"
  artifacts="$build/findings/$target"
  log="$build/$target.log"
  mkdir -p "$work" "$artifacts"
  echo "== $target: ${seconds} s"
  # shellcheck disable=SC2086  # the options are separate words
  if "$build/$target" -max_total_time="$seconds" -print_final_stats=1 ${options[$target]} \
      -artifact_prefix="$artifacts/" "$work" "fuzz/corpus/$target" >"$log" 2>&1; then
    grep -E '^(Done|stat::number_of_executed_units|stat::new_units_added)' "$log" || true
  else
    findings=1
    echo "FINDING in $target (input in $artifacts/, full log in $log):"
    grep -vE '^(#[0-9]+|INFO:|MERGE)' "$log" | tail -n 40
  fi
done

if ((findings)); then
  echo "fuzzing found faults"
  exit 1
fi
echo "fuzzing found nothing"
