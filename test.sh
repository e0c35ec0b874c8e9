#!/usr/bin/env bash
# Installs what is missing, builds everything and runs every test twice:
# once as built for use, once under AddressSanitizer + UndefinedBehaviorSanitizer.
set -euo pipefail
cd "$(dirname "$0")"
cmake/deps.sh
jobs=$(nproc)
export QT_QPA_PLATFORM=offscreen

cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build build -j "$jobs"
ctest --test-dir build --output-on-failure -j "$jobs"

cmake -S . -B build-asan -G Ninja -DCMAKE_BUILD_TYPE=Debug -DTABULON_SANITIZE=ON -DTABULON_BENCH=OFF >/dev/null
cmake --build build-asan -j "$jobs"
ASAN_OPTIONS=detect_leaks=0:abort_on_error=1 UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 \
  ctest --test-dir build-asan --output-on-failure -j "$jobs"

# A short fuzzing run of the formula evaluator (libFuzzer, sanitizers on).
if [ -x tests/formula/run_fuzz.sh ]; then
  tests/formula/run_fuzz.sh build-fuzz 20
fi
# The same for the readers: the text-file reader, the Access statement checker and conditions.
if [ -x tests/data/run_fuzz_readers.sh ]; then
  tests/data/run_fuzz_readers.sh build-fuzz-readers 10
fi
# A short fuzzing run of the document reader and its staging checks.
if [ -x tests/documents/run_fuzz.sh ]; then
  tests/documents/run_fuzz.sh build-fuzz-documents 20
fi
echo "test.sh: all tests passed"
