#!/usr/bin/env bash
# Installs what is missing, checks the layering, builds everything and runs every test three times:
# as built for use, then shuffled, then under AddressSanitizer + UndefinedBehaviorSanitizer.
set -euo pipefail
cd "$(dirname "$0")"
cmake/deps.sh
jobs=$(nproc)
export QT_QPA_PLATFORM=offscreen
# A compiler cache keeps the three builds of a repeated run short; paths below the parent folder
# are hashed relative, so clones and work trees beside each other share it.
launcher=()
if command -v ccache >/dev/null; then
  export CCACHE_BASEDIR="${CCACHE_BASEDIR:-$(dirname "$PWD")}" CCACHE_NOHASHDIR=1
  launcher=(-DCMAKE_C_COMPILER_LAUNCHER=ccache -DCMAKE_CXX_COMPILER_LAUNCHER=ccache)
fi

cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo "${launcher[@]}" >/dev/null
# The Qt-free cores stay free of Qt and platform/ and include only downwards in their declared
# order (CMakeLists.txt); nothing below app/ includes app/.
/usr/bin/python3 tests/check_layers.py . build/core_sources.txt
cmake --build build -j "$jobs"
ctest --test-dir build --output-on-failure -j "$jobs"

# Every test binary once more in shuffled order: tests must not depend on each other. The seed
# is printed so a failure can be repeated (TABULON_SHUFFLE_SEED=<seed> ./test.sh).
seed=${TABULON_SHUFFLE_SEED:-$(( $(date +%s) % 100000 + 1 ))}
echo "test.sh: shuffled run, --gtest_random_seed=$seed"
while IFS= read -r binary; do
  (cd "$(dirname "$binary")" && "$binary" --gtest_shuffle --gtest_random_seed="$seed" --gtest_brief=1) ||
    { echo "test.sh: $binary failed in shuffled order (seed $seed)"; exit 1; }
done < <(find "$PWD/build/tests" -type f -executable -name '*_test*' | sort)

cmake -S . -B build-asan -G Ninja -DCMAKE_BUILD_TYPE=Debug -DTABULON_SANITIZE=ON -DTABULON_BENCH=OFF "${launcher[@]}" >/dev/null
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
