#!/usr/bin/env bash
# Installs what is missing, builds the piece and its tests, and runs them all:
# the picture decoder under libFuzzer for a minute, every test under
# AddressSanitizer and UndefinedBehaviorSanitizer with leak checking, then
# every test on the optimised build.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
jobs="$(nproc)"
bash "$root/scripts/install-deps.sh" test

echo "== fuzzing the picture decoder"
cmake -S "$root/fuzz" -B "$root/build-fuzz" -G Ninja -DCMAKE_CXX_COMPILER=clang++ >/dev/null
cmake --build "$root/build-fuzz"
corpus="$(mktemp -d)"
trap 'rm -rf "$corpus"' EXIT
"$root/build-fuzz/fuzz_picture" -max_total_time="${FUZZ_SECONDS:-60}" -rss_limit_mb=1024 -max_len=8192 \
  -print_final_stats=1 "$corpus" "$root/fuzz/corpus" 2>&1 | tail -n 12

echo "== tests under AddressSanitizer and UndefinedBehaviorSanitizer"
# libfaketime is preloaded ahead of the sanitizer runtime in the frozen-clock tests.
cmake -S "$root" -B "$root/build-sanitize" -G Ninja -DCMAKE_BUILD_TYPE=Debug -DSKETCH_SANITIZE=ON >/dev/null
cmake --build "$root/build-sanitize" -j"$jobs"
ASAN_OPTIONS="detect_leaks=1:allocator_may_return_null=1:verify_asan_link_order=0" \
LSAN_OPTIONS="suppressions=$root/tests/sanitizer-suppressions.txt:print_suppressions=0" \
UBSAN_OPTIONS="print_stacktrace=1:halt_on_error=1" \
  ctest --test-dir "$root/build-sanitize" --output-on-failure -j"$jobs" -LE install

echo "== tests on the optimised build"
cmake -S "$root" -B "$root/build-check" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build "$root/build-check" -j"$jobs"
ctest --test-dir "$root/build-check" --output-on-failure -j"$jobs"
