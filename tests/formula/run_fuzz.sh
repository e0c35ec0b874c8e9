#!/usr/bin/env bash
# Builds the formula fuzz target with clang's libFuzzer and runs it.
#   tests/formula/run_fuzz.sh OUTPUT_DIR [SECONDS]
# OUTPUT_DIR receives the binary, the corpus and any crash file; SECONDS defaults to 20.
set -euo pipefail
root="$(cd "$(dirname "$0")/../.." && pwd)"
out="${1:?usage: run_fuzz.sh OUTPUT_DIR [SECONDS]}"
seconds="${2:-20}"
mkdir -p "$out/corpus" "$out/obj"
out="$(cd "$out" && pwd)"
flags=(-std=c++20 -O1 -g -fno-sanitize-recover=undefined -I"$root")

# The Qt-free sources of the formula and statistics cores. A file that needs Qt or
# the platform layer, directly or through its headers, is left out.
cores=()
for f in "$root"/formula/*.cpp "$root"/statistics/*.cpp; do
    [ -e "$f" ] || continue
    deps="$(clang++ "${flags[@]}" -MM "$f" 2>/dev/null)" || continue
    if ! grep -q 'platform/' <<< "$deps"; then
        cores+=("$f")
    fi
done

# The cores go into an archive, so that the link takes only the objects it needs.
rm -f "$out"/obj/*.o "$out/libcores.a"
running=0
for f in "${cores[@]}"; do
    name="$(basename "$(dirname "$f")")_$(basename "${f%.cpp}").o"
    # A file that does not compile here is left out; the link shows whether it was needed.
    { clang++ "${flags[@]}" -fsanitize=fuzzer-no-link,address,undefined -c "$f" \
          -o "$out/obj/$name" || echo "run_fuzz.sh: left out $f" >&2; } &
    running=$((running + 1))
    if [ "$running" -ge 4 ]; then
        wait -n
        running=$((running - 1))
    fi
done
while [ "$running" -gt 0 ]; do
    wait -n
    running=$((running - 1))
done
ar rcs "$out/libcores.a" "$out"/obj/*.o
clang++ "${flags[@]}" -fsanitize=fuzzer,address,undefined \
    "$root/tests/formula/fuzz_formula.cpp" "$out/libcores.a" -o "$out/fuzz_formula"

# Seeds: formulas of the oracle table and a few shapes that stress the passes.
if [ -z "$(ls -A "$out/corpus")" ]; then
    n=0
    while IFS=$'\t' read -r kind formula _; do
        [ "$kind" = "int" ] || [ "$kind" = "real" ] || continue
        printf '%s' "$formula" > "$out/corpus/seed$n"
        n=$((n + 1))
        [ $n -lt 60 ] || break
    done < "$root/tests/formula/formula_oracle.tsv"
    printf '%s' '-2^2*3--4^-1/0.5e-3' > "$out/corpus/signs"
    printf '%s' 'if(x,sum(1,,3),a[1],pow(-2,0.5))' > "$out/corpus/calls"
fi

cd "$out"
ASAN_OPTIONS=detect_leaks=0:abort_on_error=1 UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 \
    ./fuzz_formula -max_len=200 -timeout=5 -max_total_time="$seconds" -print_final_stats=1 corpus
