#!/usr/bin/env bash
# Builds the formula fuzz target with clang's libFuzzer and runs it.
#   tests/formula/run_fuzz.sh OUTPUT_DIR [SECONDS]
# OUTPUT_DIR receives the binary, the corpus and any crash file; SECONDS defaults to 20.
set -euo pipefail
root="$(cd "$(dirname "$0")/../.." && pwd)"
out="${1:?usage: run_fuzz.sh OUTPUT_DIR [SECONDS]}"
seconds="${2:-20}"
mkdir -p "$out/corpus"
out="$(cd "$out" && pwd)"
flags=(-std=c++20 -O1 -g -fno-sanitize-recover=undefined -I"$root")
source "$root/tests/fuzz_cores.sh"
BuildCoreArchive "$out" "$root" formula statistics
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
    printf '%s' '1+x^2-(y)*-x/--2^-x' > "$out/corpus/variables"
    printf '%s' 'a*exp(b*x)+c-sqrt(abs(y))' > "$out/corpus/model"
fi

cd "$out"
ASAN_OPTIONS=detect_leaks=0:abort_on_error=1 UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 \
    ./fuzz_formula -max_len=200 -timeout=5 -max_total_time="$seconds" -print_final_stats=1 corpus
